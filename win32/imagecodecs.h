#pragma once

#include "export/bmpencoder.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The JPEG encoder of the Windows image layer: the stb writer compiled into
// the program (the system's own JPEG encoder cannot
// be trusted with the quality: some ignore it).

// Whether a JPEG of this size can be written: at most 65535 pixels a side,
// and within what the encoder can address (3 bytes a pixel below 2 GiB).
bool JpegCanHold(std::int32_t width, std::int32_t height);

// A baseline JFIF file at the quality (1 to 100) with the standard tables
// scaled to it, colour at full resolution (no chroma subsampling) from
// quality 91 up, and a density of 96 dots per inch. False for no pixels, a
// size JpegCanHold refuses, no memory, or a sink that fails.
bool WriteJpeg(const PixelRows& pixels, int quality, ByteSink& sink);
