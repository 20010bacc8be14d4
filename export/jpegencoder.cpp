#include "export/jpegencoder.h"

#include <turbojpeg.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

// The largest side the JPEG format's encoder accepts.
constexpr std::int32_t kLargestSide = 65500;

// The JFIF header that libjpeg-turbo writes first: SOI, then APP0 with
// "JFIF\0", the version, the density unit and the two densities.
constexpr std::size_t kJfifUnitAt = 13;
constexpr std::size_t kJfifHeaderEnd = 18;

bool HasJfifHeader(const unsigned char* data, std::size_t size)
{
    static const unsigned char kStart[] = {0xFF, 0xD8, 0xFF, 0xE0};
    return size >= kJfifHeaderEnd && std::memcmp(data, kStart, sizeof kStart) == 0 &&
           std::memcmp(data + 6, "JFIF", 5) == 0;
}

void PutBigEndian16(unsigned char* at, int value)
{
    at[0] = static_cast<unsigned char>((value >> 8) & 0xFF);
    at[1] = static_cast<unsigned char>(value & 0xFF);
}

// TurboJPEG has no setting for the resolution: it writes an aspect ratio of
// 1:1 without unit, so the header is set to dots per inch afterwards.
void SetResolution(unsigned char* data, std::size_t size, int dotsPerInchX, int dotsPerInchY)
{
    if (dotsPerInchX <= 0 || dotsPerInchY <= 0 || !HasJfifHeader(data, size))
        return;
    data[kJfifUnitAt] = 1; // dots per inch
    PutBigEndian16(data + kJfifUnitAt + 1, std::min(dotsPerInchX, 0xFFFF));
    PutBigEndian16(data + kJfifUnitAt + 3, std::min(dotsPerInchY, 0xFFFF));
}

// 0xXXRRGGBB words lie in memory as B, G, R, X on a little-endian machine.
constexpr int kPixelFormat = std::endian::native == std::endian::little ? TJPF_BGRX : TJPF_XRGB;

} // namespace

void JpegBytesRelease::operator()(unsigned char* bytes) const { tjFree(bytes); }

int EncodeJpeg(const std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::ptrdiff_t strideBytes,
               const JpegSettings& settings, JpegBytes& bytes)
{
    bytes = JpegBytes{};
    if (pixels == nullptr || width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide ||
        strideBytes < std::ptrdiff_t{width} * 4 || strideBytes > INT_MAX)
        return 0;
    tjhandle encoder = tjInitCompress();
    if (encoder == nullptr)
        return 0;
    unsigned char* data = nullptr;
    unsigned long size = 0;
    // The accurate DCT, as the reference encoder uses, rather than the fast
    // one that TurboJPEG would take below quality 96.
    int flags = TJFLAG_ACCURATEDCT;
    if (settings.progressive)
        flags |= TJFLAG_PROGRESSIVE;
    const int quality = std::clamp(settings.quality, 1, 100);
    const int result =
        tjCompress2(encoder, reinterpret_cast<const unsigned char*>(pixels), width, static_cast<int>(strideBytes),
                    height, kPixelFormat, &data, &size, TJSAMP_444, quality, flags);
    tjDestroy(encoder);
    bytes.data.reset(data);
    if (result != 0 || data == nullptr || size == 0) {
        bytes = JpegBytes{};
        return 0;
    }
    bytes.size = size;
    SetResolution(data, bytes.size, settings.dotsPerInchX, settings.dotsPerInchY);
    return 1;
}

int DotsPerInchOf(int dotsPerMeter)
{
    if (dotsPerMeter <= 0)
        return 0;
    return static_cast<int>(std::lround(dotsPerMeter * 0.0254));
}
