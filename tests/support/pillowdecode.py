# Decodes an image file with Pillow (Debian's python3-pil) for the tests:
# prints "FORMAT WIDTH HEIGHT" and writes the pixels as RGB bytes, row 0
# first, to the second argument.
import sys

from PIL import Image

Image.MAX_IMAGE_PIXELS = None
with Image.open(sys.argv[1]) as image:
    rgb = image.convert("RGB")
    with open(sys.argv[2], "wb") as out:
        out.write(rgb.tobytes())
    print(image.format, rgb.width, rgb.height)
