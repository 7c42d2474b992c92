#!/usr/bin/env python3
"""Writes QvnRemove.ico (one 32 x 32 image in 16 colours) from icon.txt."""
import struct
import sys
from pathlib import Path

# The standard 16-colour VGA palette, as blue, green, red, reserved.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]  # listed as red, green, blue
SIZE = 32


def read_map(path):
    rows = [line.rstrip("\n") for line in path.read_text().splitlines() if not line.startswith("#")]
    if len(rows) != SIZE or any(len(row) != SIZE for row in rows):
        sys.exit(f"{path}: the map must be {SIZE} rows of {SIZE} characters")
    return rows


def image_bytes(rows):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour, mask = b"", b""
    for row in reversed(rows):  # bitmaps run bottom-up
        nibbles = [0 if c == "." else int(c, 16) for c in row]
        colour += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2))
        bits = "".join("1" if c == "." else "0" for c in row)
        mask += int(bits, 2).to_bytes(SIZE // 8, "big")  # 32 bits: already a whole number of 4-byte words
    return header + palette + colour + mask


def main():
    here = Path(__file__).resolve().parent
    image = image_bytes(read_map(here / "icon.txt"))
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 22)
    (here / "QvnRemove.ico").write_bytes(directory + image)


if __name__ == "__main__":
    main()
