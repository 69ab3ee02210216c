#!/usr/bin/env python3
"""Writes CAMERA.WAV, the capture control's shutter sound: two short clicks of
decaying noise (the blades closing and opening), 16-bit mono at 22050 Hz.
Run: python3 skin/sound/make_shutter.py skin/sound/CAMERA.WAV"""
import math
import random
import struct
import sys
import wave

RATE = 22050


def click(length_s, decay, gain):
    rnd = random.Random(7)
    n = int(RATE * length_s)
    return [gain * rnd.uniform(-1, 1) * math.exp(-decay * i / RATE) for i in range(n)]


def main(path):
    samples = click(0.05, 90, 0.8) + [0.0] * int(RATE * 0.06) + click(0.07, 60, 0.6)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(s * 32767)) for s in samples))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "CAMERA.WAV")
