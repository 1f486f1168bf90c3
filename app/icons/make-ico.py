#!/usr/bin/env python3
"""Writes quorvel.ico with the 16x16, 32x32 and 48x48 images Windows picks from.

The 32x32 16-colour image is the original and is kept byte for byte. The 48x48 one is it
enlarged without blending (every other pixel doubled), so it keeps its 16 colours; the 16x16
one is drawn below, as halving would blur the card outlines and the 0 away. All three share
the original's palette. Run it from anywhere; it reads and rewrites quorvel.ico beside it.
"""

import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
ICON = HERE / "quorvel.ico"

# In quorvel.xpm's colour keys; a space is transparent.
SMALL = [
    "S..........     ",
    "sGGGGGGGGG.     ",
    "sgggccccgl.     ",
    "cgggccccgg.     ",
    "sgggccccgg.     ",
    "sggS..........  ",
    "s..sGGGGGGGGG.  ",
    "S  sgggccccgl.  ",
    "   cgggcccnnnn  ",
    "   sgggccnBwwbn ",
    "   sggggnBwbbwbn",
    "   s....nbwbbwbn",
    "   S  yYnbwbbwbn",
    "        nbwbbwbn",
    "         nbwwbn ",
    "          nnnn  ",
]


class Image:
    """A 16-colour icon image as palette indices (top row first) and a transparency mask."""

    def __init__(self, size, palette, pixels, transparent):
        self.size, self.palette, self.pixels, self.transparent = size, palette, pixels, transparent

    def entry(self):
        """The image as an icon file holds it: a DIB of XOR rows and AND rows, bottom up."""
        size = self.size
        xor_stride = (size // 2 + 3) // 4 * 4
        and_stride = ((size + 7) // 8 + 3) // 4 * 4
        xor_rows, and_rows = [], []
        for y in reversed(range(size)):
            row = bytes((self.pixels[y][x] << 4) | self.pixels[y][x + 1] for x in range(0, size, 2))
            xor_rows.append(row.ljust(xor_stride, b"\0"))
            bits = 0
            for x in range(size):
                bits = bits << 1 | self.transparent[y][x]
            pad = -size % 8
            mask = (bits << pad).to_bytes((size + pad) // 8, "big")
            and_rows.append(mask.ljust(and_stride, b"\0"))
        image = b"".join(xor_rows) + b"".join(and_rows)
        header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0,
                             xor_stride * size, 0, 0, 16, 0)
        return header + self.palette + image


def read_entries(data):
    """The (width, height, bit count, bytes) of each image in an icon file."""
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    if kind != 1:
        raise SystemExit(f"{ICON} is not an icon file")
    entries = []
    for i in range(count):
        width, height, _, _, _, bits, length, offset = struct.unpack_from("<BBBBHHII", data,
                                                                          6 + 16 * i)
        entries.append((width or 256, height or 256, bits, data[offset:offset + length]))
    return entries


def decode_original(entry):
    """The 32x32 4-bit image as palette indices and mask, top row first."""
    size = 32
    palette = entry[40:40 + 64]
    xor = entry[40 + 64:40 + 64 + size * size // 2]
    and_mask = entry[40 + 64 + size * size // 2:]
    pixels, transparent = [], []
    for y in reversed(range(size)):
        row = xor[y * 16:(y + 1) * 16]
        pixels.append([row[x // 2] >> 4 if x % 2 == 0 else row[x // 2] & 15 for x in range(size)])
        mask = int.from_bytes(and_mask[y * 4:(y + 1) * 4], "big")
        transparent.append([mask >> (31 - x) & 1 for x in range(size)])
    return Image(size, palette, pixels, transparent)


def enlarged(image, size):
    source = [x * image.size // size for x in range(size)]
    return Image(size, image.palette,
                 [[image.pixels[sy][sx] for sx in source] for sy in source],
                 [[image.transparent[sy][sx] for sx in source] for sy in source])


def drawn(image, rows):
    colours = {}
    for line in (HERE / "quorvel.xpm").read_text().splitlines():
        # Colour lines look like: "G c #3FA35E",
        if len(line) > 6 and line[0] == '"' and line[2:5] == " c ":
            colours[line[1]] = line[5:].split('"')[0]
    index = {}
    for key, colour in colours.items():
        if colour != "None":
            rgb = bytes.fromhex(colour[1:])
            bgr = bytes(reversed(rgb))
            index[key] = next(i for i in range(16) if image.palette[4 * i:4 * i + 3] == bgr)
    blank = next(image.pixels[y][x] for y in range(image.size) for x in range(image.size)
                 if image.transparent[y][x])
    return Image(len(rows), image.palette,
                 [[index.get(key, blank) for key in row] for row in rows],
                 [[int(key == " ") for key in row] for row in rows])


def main():
    original = next(data for width, height, bits, data in read_entries(ICON.read_bytes())
                    if (width, height, bits) == (32, 32, 4))
    base = decode_original(original)
    entries = [drawn(base, SMALL).entry(), original, enlarged(base, 48).entry()]
    sizes = [16, 32, 48]
    offset = 6 + 16 * len(entries)
    directory = struct.pack("<HHH", 0, 1, len(entries))
    for size, entry in zip(sizes, entries):
        directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(entry), offset)
        offset += len(entry)
    ICON.write_bytes(directory + b"".join(entries))


if __name__ == "__main__":
    main()
