#pragma once

// The quality an image format is asked to write at, for a toolkit's writer
// that reads one number for every format. WebP takes 100: Qt's WebP writer
// (qt6-image-formats-plugins) writes lossless WebP at a quality of 100 or
// more and lossy WebP, with half-resolution colour, below it. Every other
// format keeps the requested value. The format is a name such as "webp" or
// "PNG", in any case; null is no format.
int QualityForFormat(const char* format, int requested);
