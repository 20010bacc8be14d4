#pragma once

#include "export/bmpencoder.h"

#include <cstdint>

// The program's own JPEG writer, one on each system: libjpeg-turbo on Linux
// (export/jpegwriter.cpp), the baseline encoder of export/baselinejpeg.h on
// Windows and in the page (export/baselinejpegwriter.cpp), where the system's
// own encoder cannot be trusted with the quality. Both write baseline JFIF files at the quality
// with the standard tables scaled to it, the colour at full resolution (no
// chroma subsampling) at quality 95, and a density of 96 dots per inch.

// Whether a JPEG of this size can be written: both sides at least 1 and at
// most what the system's writer takes (65500 with libjpeg-turbo; 65535 and
// below 2 GiB of 3-byte pixels on Windows and in the page).
bool JpegCanHold(std::int32_t width, std::int32_t height);

// Writes the pixels as a JPEG file at the quality (clamped to 1 to 100).
// progressive asks for progressive scans where the writer makes them
// (libjpeg-turbo); the baseline encoder writes a single scan. False for no pixels, a size
// JpegCanHold refuses, no memory, or a sink that fails.
bool WriteJpeg(const PixelRows& pixels, int quality, ByteSink& sink, bool progressive = false);
