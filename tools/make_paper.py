#!/usr/bin/env python3
"""Write the question paper assets/00Vardo.tx from its editable source.

The source tools/paper/paper.html is kept in UTF-8 so it can be edited with
any editor; the program's document pane expects the file in Shift-JIS
(code page 932), as its <meta> declaration says.  Characters that code page
932 cannot hold stop the script with the line and column, so nothing
lossy is ever written.

Usage: python3 tools/make_paper.py
"""
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
SOURCE = ROOT / "tools" / "paper" / "paper.html"
TARGET = ROOT / "assets" / "00Vardo.tx"
DECLARATION = '<meta http-equiv="Content-Type" content="text/html; charset=Shift_JIS">'


def encode(text):
    """Encode to cp932, naming every character that does not fit."""
    bad = []
    for lineno, line in enumerate(text.split("\n"), 1):
        for col, ch in enumerate(line, 1):
            try:
                ch.encode("cp932")
            except UnicodeEncodeError:
                bad.append(f"{SOURCE.name}:{lineno}:{col}: U+{ord(ch):04X} {ch!r} is not in cp932")
    if bad:
        raise SystemExit("\n".join(bad))
    data = text.encode("cp932")
    if data.decode("cp932") != text:
        raise SystemExit("cp932 round trip changed the text")
    return data


def main():
    text = SOURCE.read_text(encoding="utf-8")
    if DECLARATION not in text:
        raise SystemExit(f"{SOURCE}: the Shift_JIS <meta> declaration is missing")
    # Windows line ends: the file is read on Windows machines too.
    text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    data = encode(text)
    TARGET.parent.mkdir(parents=True, exist_ok=True)
    TARGET.write_bytes(data)
    print(f"wrote {TARGET.relative_to(ROOT)} ({len(data)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
