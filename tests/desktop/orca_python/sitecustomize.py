"""Loaded into the check's Orca only (orca_check.py puts this folder on its
PYTHONPATH). Speech-dispatcher's Python client drops every event of a message
that arrives before speak() has registered the message's callback (its own
comment in speak() says so). The check's speech module writes a line in a few
milliseconds, so on a loaded machine a say-all chunk's END can come first, and
Orca's say-all then waits for it for ever. Events that come early are kept
here and handed over when the callback is registered.

Also, speech-dispatcher 0.12's generic module (Debian 13) writes heap bytes
for a character or key message, ASCII or not, and at times nothing at all
when those bytes break its shell command; Orca sends any one-character text
and the name of a key so. They are sent as text messages instead, which the
module of either release writes as the same text."""

import sys

from speechd import client

Handler = client._CallbackHandler
_ENDS = (client.CallbackType.END, client.CallbackType.CANCEL)
_KEPT = 16  # messages spoken without a callback never collect theirs
_call = Handler.__call__


def _early_call(self, msg_id, client_id, type, **kwargs):
    with self._lock:
        if msg_id not in self._callbacks and client_id == self._client_id:
            early = self.__dict__.setdefault("_early", {})
            early.setdefault(msg_id, []).append((type, kwargs))
            for old in sorted(early)[:-_KEPT]:
                del early[old]
            return
    _call(self, msg_id, client_id, type, **kwargs)


def _add_callback(self, msg_id, callback, event_types):
    with self._lock:
        self._callbacks[msg_id] = (callback, event_types)
        early = self.__dict__.get("_early", {}).pop(msg_id, [])
        if early:  # in orca.log: how often the client would have lost them
            print("speechd: message %d's early events %s handed over" % (msg_id, [t for t, _ in early]),
                  file=sys.stderr, flush=True)
        for type, kwargs in early:
            if event_types is None or type in event_types:
                callback(type, **kwargs)
            if type in _ENDS:
                del self._callbacks[msg_id]
                break


Handler.__call__, Handler.add_callback = _early_call, _add_callback


def _as_text(text):
    # CHAR takes "space" for a space, as the client's char() sends it.
    def send(self, what):
        what = what.decode("utf-8") if isinstance(what, bytes) else what
        return client.SSIPClient.speak(self, text(what))
    return send


client.SSIPClient.char = _as_text(lambda char: char.replace(" ", "space"))
client.SSIPClient.key = _as_text(lambda key: key)
