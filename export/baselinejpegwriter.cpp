#include "export/baselinejpeg.h"
#include "export/jpegwriter.h"

#include <climits>

// The JPEG writer of the Windows program and the page: the baseline encoder
// of export/baselinejpeg.h.

// The sizes the Windows program has always written: at most 65535 a side and
// below 2 GiB of 3-byte pixels.
bool JpegCanHold(std::int32_t width, std::int32_t height)
{
    return width > 0 && height > 0 && width <= 65535 && height <= 65535 &&
           static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3 <= INT_MAX;
}

// Baseline files only: progressive is not honoured.
bool WriteJpeg(const PixelRows& pixels, int quality, ByteSink& sink, bool /*progressive*/)
{
    return HasPixels(pixels) && JpegCanHold(pixels.width, pixels.height) && WriteBaselineJpeg(pixels, quality, sink);
}
