#!/usr/bin/env python3
"""Writes the sound 178 next to this script: a two-tone chime of 0.3 s, 16-bit mono at
22.05 kHz, played after each picture the patrol has the camera take."""

import math
import pathlib
import struct
import wave

RATE = 22050
LENGTH = 0.3  # seconds
# (start in seconds, frequency in Hz, loudness): a major third down, like a door chime
TONES = [(0.0, 1318.5, 0.45), (0.11, 1046.5, 0.45)]
DECAY = 14.0  # per second
ATTACK = 0.004  # seconds, so that no tone starts with a click
RELEASE = 0.03  # seconds of fade at the end


def sample(t):
    value = 0.0
    for start, frequency, loudness in TONES:
        age = t - start
        if age < 0:
            continue
        envelope = loudness * min(1.0, age / ATTACK) * math.exp(-DECAY * age)
        # A little of the octave gives the tone a bell's brightness.
        value += envelope * (math.sin(2 * math.pi * frequency * age) + 0.25 * math.sin(4 * math.pi * frequency * age))
    fade = min(1.0, (LENGTH - t) / RELEASE)
    return value * fade


def main():
    count = int(RATE * LENGTH)
    frames = b"".join(struct.pack("<h", round(32767 * max(-1.0, min(1.0, sample(i / RATE))))) for i in range(count))
    with wave.open(str(pathlib.Path(__file__).resolve().parent / "178.wav"), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


if __name__ == "__main__":
    main()
