#!/usr/bin/env python3
"""Wraps a PNG image into a Windows icon file holding that one image.

The program's icon is drawn as resources/decagon.png; the Windows resource
script needs it as an icon file. To make win32/decagon.ico again:
    python3 win32/tools/pngtoico.py resources/decagon.png win32/decagon.ico
"""
import struct
import sys


def main(source, target):
    with open(source, "rb") as png_file:
        png = png_file.read()
    if png[:8] != b"\x89PNG\r\n\x1a\n" or png[12:16] != b"IHDR":
        sys.exit(f"{source}: not a PNG image")
    width, height = struct.unpack(">II", png[16:24])
    if not (0 < width <= 256 and 0 < height <= 256):
        sys.exit(f"{source}: an icon is at most 256 x 256 pixels")
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png), 6 + 16)
    with open(target, "wb") as ico_file:
        ico_file.write(header + entry + png)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: pngtoico.py image.png icon.ico")
    main(sys.argv[1], sys.argv[2])
