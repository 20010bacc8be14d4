#include "export/jpegwriter.h"

#include <climits>
#include <cstring>
#include <memory>
#include <new>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace {

// stb calls this with every piece of the file in order. The JFIF header's
// density (bytes 13 to 17: units, then the two densities) says "no unit,
// 1:1" as stb writes it; it is set to 96 dots per inch on the way out.
struct JpegOutput {
    ByteSink* sink;
    std::uint64_t offset = 0;
    bool ok = true;
};

void JpegWrite(void* context, void* data, int size)
{
    auto* output = static_cast<JpegOutput*>(context);
    if (!output->ok || size <= 0)
        return;
    const auto count = static_cast<std::size_t>(size);
    constexpr std::uint64_t kDensityStart = 13;
    constexpr unsigned char kDensity[5] = {1, 0, kDotsPerInch, 0, kDotsPerInch};
    if (output->offset < kDensityStart + sizeof kDensity && output->offset + count > kDensityStart) {
        std::unique_ptr<unsigned char[]> copy(new (std::nothrow) unsigned char[count]);
        if (!copy) {
            output->ok = false;
            return;
        }
        std::memcpy(copy.get(), data, count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint64_t at = output->offset + i;
            if (at >= kDensityStart && at < kDensityStart + sizeof kDensity)
                copy[i] = kDensity[at - kDensityStart];
        }
        output->ok = output->sink->Write(copy.get(), count);
    } else {
        output->ok = output->sink->Write(data, count);
    }
    output->offset += count;
}

} // namespace

bool JpegCanHold(std::int32_t width, std::int32_t height)
{
    return width > 0 && height > 0 && width <= 65535 && height <= 65535 &&
           static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3 <= INT_MAX;
}

// stb writes baseline files only: progressive is not honoured.
bool WriteJpeg(const PixelRows& pixels, int quality, ByteSink& sink, bool /*progressive*/)
{
    if (!HasPixels(pixels) || !JpegCanHold(pixels.width, pixels.height))
        return false;
    const auto width = static_cast<std::size_t>(pixels.width);
    std::unique_ptr<unsigned char[]> rgb(
        new (std::nothrow) unsigned char[width * static_cast<std::size_t>(pixels.height) * 3]);
    if (!rgb)
        return false;
    unsigned char* out = rgb.get();
    for (std::int32_t y = 0; y < pixels.height; ++y) {
        const std::uint32_t* source = pixels.Row(y);
        for (std::size_t x = 0; x < width; ++x, out += 3) {
            out[0] = static_cast<unsigned char>(source[x] >> 16);
            out[1] = static_cast<unsigned char>(source[x] >> 8);
            out[2] = static_cast<unsigned char>(source[x]);
        }
    }
    JpegOutput output{&sink};
    const int clamped = quality < 1 ? 1 : quality > 100 ? 100 : quality;
    const int written = stbi_write_jpg_to_func(JpegWrite, &output, pixels.width, pixels.height, 3, rgb.get(), clamped);
    return written != 0 && output.ok;
}
