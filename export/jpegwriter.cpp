#include "export/jpegwriter.h"

#include "export/jpegencoder.h"

namespace {
// The largest side that libjpeg-turbo's encoder accepts.
constexpr std::int32_t kLargestSide = 65500;
} // namespace

bool JpegCanHold(std::int32_t width, std::int32_t height)
{
    return width > 0 && height > 0 && width <= kLargestSide && height <= kLargestSide;
}

// The whole file is made in memory before anything is written, so a picture
// that cannot be encoded leaves the sink untouched.
bool WriteJpeg(const PixelRows& pixels, int quality, ByteSink& sink, bool progressive)
{
    if (!HasPixels(pixels) || !JpegCanHold(pixels.width, pixels.height))
        return false;
    JpegSettings settings;
    settings.quality = quality;
    settings.progressive = progressive;
    settings.dotsPerInchX = kDotsPerInch;
    settings.dotsPerInchY = kDotsPerInch;
    JpegBytes bytes;
    return EncodeJpeg(pixels.first, pixels.width, pixels.height, pixels.stride, settings, bytes) != 0 &&
           sink.Write(bytes.data.get(), bytes.size);
}
