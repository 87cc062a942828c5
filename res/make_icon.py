#!/usr/bin/env python3
"""Turns the character grid of icon.txt into a 16 x 16, 16-colour .ico file.

Usage: make_icon.py icon.txt morlo.ico
"""
import struct
import sys

SIZE = 16
# The standard 16-colour palette, in its usual order.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
# Grid character: palette index; None is transparent.
COLOURS = {".": None, "K": 0, "D": 8, "L": 7, "W": 15}


def read_grid(path):
    with open(path, encoding="ascii") as source:
        rows = [line.rstrip("\n") for line in source if line.strip() and not line.startswith("#")]
    if len(rows) != SIZE or any(len(row) != SIZE for row in rows):
        sys.exit(f"{path}: expected {SIZE} rows of {SIZE} characters")
    unknown = {ch for row in rows for ch in row} - COLOURS.keys()
    if unknown:
        sys.exit(f"{path}: unknown characters {''.join(sorted(unknown))}")
    return rows


def image_bytes(rows):
    # Bitmap rows are stored bottom row first: the 4-bit colour plane, then the 1-bit mask
    # (1 = transparent), each row padded to 4 bytes.
    colour_plane = bytearray()
    mask_plane = bytearray()
    for row in reversed(rows):
        indices = [COLOURS[ch] or 0 for ch in row]
        colour_plane += bytes((indices[i] << 4) | indices[i + 1] for i in range(0, SIZE, 2))
        mask = 0
        for ch in row:
            mask = (mask << 1) | (COLOURS[ch] is None)
        mask_plane += mask.to_bytes(SIZE // 8, "big") + bytes(4 - SIZE // 8)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0,
                         len(colour_plane) + len(mask_plane), 0, 0, len(PALETTE), 0)
    palette = b"".join(struct.pack("<BBBB", blue, green, red, 0) for red, green, blue in PALETTE)
    return header + palette + bytes(colour_plane) + bytes(mask_plane)


def icon_file(image):
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, len(PALETTE), 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[2], "wb") as target:
        target.write(icon_file(image_bytes(read_grid(sys.argv[1]))))


if __name__ == "__main__":
    main()
