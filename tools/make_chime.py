#!/usr/bin/env python3
"""Writes assets/Zarod.wav: the time-up chime, a two-note bell of about two
seconds, 16-bit mono PCM. Deterministic, so regenerating gives the same bytes.

Usage: tools/make_chime.py [output.wav]
"""
import math
import struct
import sys
import wave
from pathlib import Path

RATE = 44100
SECONDS = 2.0
PEAK = 0.7  # headroom below full scale

# (start in seconds, fundamental in Hz): a falling major third, "ding-dong".
NOTES = [(0.0, 1318.51), (0.45, 1046.50)]
# Bell partials: (frequency ratio, relative amplitude, decay per second).
PARTIALS = [(1.0, 1.0, 3.0), (2.0, 0.45, 5.0), (3.01, 0.25, 7.0), (4.2, 0.12, 9.0)]
ATTACK = 0.004  # seconds; a short ramp avoids a click at each onset
FADE_OUT = 0.05  # seconds of linear fade at the very end


def bell(t, freq):
    if t < 0:
        return 0.0
    attack = min(1.0, t / ATTACK)
    return attack * sum(amp * math.exp(-decay * t) * math.sin(2 * math.pi * ratio * freq * t)
                        for ratio, amp, decay in PARTIALS)


def sample(t, total):
    value = sum(bell(t - start, freq) for start, freq in NOTES)
    tail = total - t
    if tail < FADE_OUT:
        value *= tail / FADE_OUT
    return value


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "assets" / "Zarod.wav"
    count = int(RATE * SECONDS)
    raw = [sample(i / RATE, SECONDS) for i in range(count)]
    scale = PEAK / max(abs(v) for v in raw)
    frames = b"".join(struct.pack("<h", round(v * scale * 32767)) for v in raw)
    with wave.open(str(out), "wb") as wav:
        wav.setnchannels(1)
        wav.setsampwidth(2)
        wav.setframerate(RATE)
        wav.writeframes(frames)
    print(f"{out}: {count} frames, {SECONDS} s at {RATE} Hz")


if __name__ == "__main__":
    main()
