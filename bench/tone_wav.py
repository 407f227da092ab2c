"""Writes a WAV file of one second of a 440 Hz tone (mono, 16-bit, 44.1 kHz),
the sound effect the benchmarks play: python3 bench/tone_wav.py PATH"""
import math
import struct
import sys
import wave

RATE = 44100

with wave.open(sys.argv[1], "wb") as out:
    out.setnchannels(1)
    out.setsampwidth(2)
    out.setframerate(RATE)
    out.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / RATE)))
                             for i in range(RATE)))
