#pragma once

#include "export/bmpencoder.h"

// The JPEG encoder of the Windows program and the page: baseline JFIF with
// the standard tables scaled to the quality, a float DCT, the colour at full
// resolution above quality 90 and halved both ways at 90 and below, and a
// density of 96 dots per inch. It writes, byte for byte, what stb's
// stb_image_write 1.16 writes for the same pixels (the density aside, which
// stb leaves at "no unit"), whose tables and arithmetic it follows; it reads
// the pixels in place, and blocks of a single colour, most of a figure, cost
// a look-up instead of a transform.

// Writes the pixels at the quality (clamped to 1 to 100). False for no
// pixels, a side over 65535, no memory, or a sink that fails.
bool WriteBaselineJpeg(const PixelRows& pixels, int quality, ByteSink& sink);
