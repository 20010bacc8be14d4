#!/usr/bin/env python3
"""Wraps PNG images into a Windows icon file holding them, in the given order.

The program's icon is drawn as resources/decagon.png (48 x 48) and, for
screens scaled to 150 % and 200 %, resources/decagon-72.png and
resources/decagon-96.png; the Windows resource script needs them as one icon
file, from which the system picks the size it shows. To make win32/decagon.ico
again:
    python3 win32/tools/pngtoico.py resources/decagon.png resources/decagon-72.png \\
        resources/decagon-96.png win32/decagon.ico
"""
import struct
import sys


def read_png(source):
    with open(source, "rb") as png_file:
        png = png_file.read()
    if png[:8] != b"\x89PNG\r\n\x1a\n" or png[12:16] != b"IHDR":
        sys.exit(f"{source}: not a PNG image")
    width, height = struct.unpack(">II", png[16:24])
    if not (0 < width <= 256 and 0 < height <= 256):
        sys.exit(f"{source}: an icon is at most 256 x 256 pixels")
    return width, height, png


def main(sources, target):
    images = [read_png(source) for source in sources]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for width, height, png in images:
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png), offset)
        offset += len(png)
    with open(target, "wb") as ico_file:
        ico_file.write(header + entries + b"".join(png for _, _, png in images))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit("usage: pngtoico.py image.png [image.png...] icon.ico")
    main(sys.argv[1:-1], sys.argv[-1])
