#pragma once

#include "render/painter.h"

#include <cstdint>
#include <memory>
#include <string>

// The image layer: the program's small image library. It knows the image
// formats by name, saves a bitmap in any known format and puts one on the
// clipboard. The image commands (export/imageexport.h) talk to it through
// ImageLayer; each platform provides one over its own image I/O, tests a
// fake. Every call reports an ImageError; None means success.

enum class ImageError : std::uint16_t {
    None = 0,
    Unavailable = 1,   // the layer cannot start: no JPEG or BMP writer
    UnknownFormat = 2, // no format has that index
    NoBitmap = 3,      // nothing to convert or save
    CannotWrite = 4,   // the file could not be created or written
    FileExists = 5,    // the file exists and replacing was not asked for
    NoClipboard = 6,   // the clipboard did not take the image
};

// The layer's own bitmap: the pixels, and the plan they were painted from for
// formats that draw the figure as vectors.
struct ImageBitmap {
    Canvas pixels;
    FigurePlan plan;
};

// Makes a layer bitmap from a rendered figure; the pixels are shared, not
// copied. NoBitmap when the figure has no pixels.
ImageError ConvertToImageBitmap(const FigureBitmap& rendered, std::unique_ptr<ImageBitmap>& bitmap);

// Releases the bitmap's pixel data, then the bitmap itself.
void FreeImageBitmap(std::unique_ptr<ImageBitmap>& bitmap);

// Save parameters. The byte offsets of the first fields are part of the
// layer's contract.
constexpr std::uint32_t kSaveReplaceExisting = 4; // an existing file may be replaced

struct ImageSaveParams {
    std::uint32_t flags;       // offset 0: kSaveReplaceExisting or 0
    std::int32_t formatIndex;  // offset 4: from FormatIndexByName
    std::uint16_t compression; // offset 8: 0 for the format's default
    std::uint16_t quality;     // offset 10: 0..100 for lossy formats
    std::uint8_t reserved[3];  // offsets 12 to 14
    std::uint8_t baseline;     // offset 15: 1 writes JPEG as baseline, 0 as progressive
    std::uint8_t atomicWrite;  // offset 16: 1 writes a temporary file and renames it into place only when
                               // complete, so a failed save never harms an existing file
};

// The image library as the image commands use it.
class ImageLayer {
public:
    virtual ~ImageLayer() = default;

    // The format with this exact name ("jpeg", "bmp", ..., and "svg", which
    // draws the figure as vectors at true scale from the bitmap's plan): an
    // index of 1 or more, or 0 when no format bears that name.
    virtual std::int32_t FormatIndexByName(const char* name) = 0;

    // The layer's defaults for every field of the save parameters.
    virtual void GetDefaultSaveParams(ImageSaveParams& params) = 0;

    // Writes the bitmap to path in the format of params.formatIndex. Image
    // files carry kFigureDotsPerMeter.
    virtual ImageError SaveBitmap(const std::string& path, const ImageBitmap& bitmap,
                                  const ImageSaveParams& params) = 0;

    // Puts the bitmap's pixels on the system clipboard as an image.
    virtual ImageError ExportToClipboard(const ImageBitmap& bitmap) = 0;
};
