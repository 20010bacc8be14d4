#pragma once

#include "tests/support/testsupport.h"

#include <QImage>

#include <cstdint>

// The peak signal-to-noise ratio of a decoded picture against the original,
// over the three colour channels, in decibels; 0 when their sizes differ.
inline double ImagePsnr(const QImage& original, const QImage& decoded)
{
    const QImage a = original.convertToFormat(QImage::Format_RGB32);
    const QImage b = decoded.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size())
        return 0.0;
    return Psnr(reinterpret_cast<const std::uint32_t*>(a.constBits()), static_cast<std::size_t>(a.bytesPerLine() / 4),
                reinterpret_cast<const std::uint32_t*>(b.constBits()), static_cast<std::size_t>(b.bytesPerLine() / 4),
                a.width(), a.height());
}
