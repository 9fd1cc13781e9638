#!/usr/bin/env python3
"""Writes the flag bitmaps 161 (German) and 162 (British), 16 x 12 pixels, as PNG files next
to this script. Flags this small read better as hand-set pixels than as a scaled drawing."""

import pathlib
import struct
import zlib

COLOURS = {
    "K": (0, 0, 0),  # black
    "R": (221, 0, 0),  # red of the German flag
    "G": (255, 206, 0),  # gold
    "B": (1, 33, 105),  # blue of the Union Flag
    "W": (255, 255, 255),
    "r": (200, 16, 46),  # red of the Union Flag
}

GERMAN = ["K" * 16] * 4 + ["R" * 16] * 4 + ["G" * 16] * 4

# The top left quarter of the Union Flag without the cross; the rest is the cross and mirrors.
UNION_QUARTER = [
    "rWBBBB",
    "WrrWBB",
    "BBWrrW",
    "BBBBWr",
]


def union_flag():
    top = [row + "WrrW" + row[::-1] for row in UNION_QUARTER]
    cross = ["WWWWWWWrrWWWWWWW", "r" * 16, "r" * 16, "WWWWWWWrrWWWWWWW"]
    return top + cross + top[::-1]


def png(grid):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\x00" + bytes(c for letter in row for c in COLOURS[letter]) for row in grid)
    header = struct.pack(">IIBBBBB", len(grid[0]), len(grid), 8, 2, 0, 0, 0)  # 8-bit RGB
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def main():
    here = pathlib.Path(__file__).resolve().parent
    (here / "161.png").write_bytes(png(GERMAN))
    (here / "162.png").write_bytes(png(union_flag()))


if __name__ == "__main__":
    main()
