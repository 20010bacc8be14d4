#pragma once

#include "render/painter.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <string>

// The image layer: the program's small image library over Qt's image I/O. It
// knows the image formats by name, turns a rendered figure into its own
// bitmap, saves a bitmap in any known format and puts one on the clipboard.
// Every call reports an ImageError; None means success.

enum class ImageError : std::uint16_t {
    None = 0,
    Unavailable = 1,   // the layer cannot start: no JPEG or BMP writer
    UnknownFormat = 2, // no format has that index
    NoBitmap = 3,      // nothing to convert or save
    CannotWrite = 4,   // the file could not be created or written
    FileExists = 5,    // the file exists and replacing was not asked for
    NoClipboard = 6,   // the clipboard did not take the image
    TooLarge = 7,      // the format cannot hold an image of that size
};

// Starts the layer: fails unless writers for "jpeg" and "bmp" are available.
ImageError StartImageLayer();
void StopImageLayer();

// Adds a folder where image-format plug-ins are looked for (in its
// "imageformats" subfolder), before the system's own.
void SetImagePluginFolder(const std::string& folder);

// Lets TIFF files use LZW compression.
void EnableLzwCompression(bool enabled);

// The format with this exact name ("jpeg", "bmp", "png", ..., and "svg",
// which draws the figure as vectors at true scale from the bitmap's plan):
// an index of 1 or more, or 0 when no format bears that name.
std::int32_t ImageFormatIndexByName(const char* name);

// Whether the format can hold a width x height image whole. Icons and
// cursors hold at most 256 x 256, Apple icons only squares of 16, 32, 64,
// ..., 1024, WebP at most 16383 and JPEG 65500 a side; Qt's writers would
// shrink the first two to fit without a word. A bitmap that the format
// cannot hold is refused (TooLarge), never shrunk.
bool ImageFormatHoldsSize(std::int32_t formatIndex, std::int32_t width, std::int32_t height);

// The layer's own bitmap: the pixels, and the plan they were painted from for
// formats that draw the figure as vectors.
struct ImageBitmap {
    QImage pixels;
    FigurePlan plan;
};

// Makes a layer bitmap from a rendered figure; the pixel data is shared, not
// copied. NoBitmap when the figure has no pixels.
ImageError ConvertToImageBitmap(const FigureBitmap& rendered, std::unique_ptr<ImageBitmap>& bitmap);

// Releases the bitmap's pixel data, then the bitmap itself.
void FreeImageBitmap(std::unique_ptr<ImageBitmap>& bitmap);

// Save parameters. The byte offsets of the first fields are part of the
// layer's contract.
constexpr std::uint32_t kSaveReplaceExisting = 4; // an existing file may be replaced

struct ImageSaveParams {
    std::uint32_t flags;       // offset 0: kSaveReplaceExisting or 0
    std::int32_t formatIndex;  // offset 4: from ImageFormatIndexByName
    std::uint16_t compression; // offset 8: 0 for the format's default
    std::uint16_t quality;     // offset 10: 0..100 for lossy formats
    std::uint8_t reserved[3];  // offsets 12 to 14
    std::uint8_t baseline;     // offset 15: 1 writes JPEG as baseline, 0 as progressive
    std::uint8_t atomicWrite;  // offset 16: 1 writes a temporary file and renames it into place only when
                               // complete, so a failed save never harms an existing file
};

// The layer's defaults: no replacing, no format, quality 75, everything else
// off.
void GetDefaultSaveParams(ImageSaveParams& params);

// Writes the bitmap to path in the format of params.formatIndex. The "svg"
// format writes the plan (render/svg.h) instead of the pixels; NoBitmap when
// the plan has nothing to draw. TooLarge, before anything is written, for a
// bitmap that the format cannot hold (ImageFormatHoldsSize).
ImageError SaveImageBitmap(const std::string& path, const ImageBitmap& bitmap, const ImageSaveParams& params);

// Where clipboard images go: the system clipboard in the program, a fake in
// tests.
class ImageClipboard {
public:
    virtual ~ImageClipboard() = default;
    // True when the clipboard now holds the image.
    virtual bool PutImage(const QImage& image) = 0;
};

// The system clipboard through Qt; needs a QGuiApplication.
class SystemImageClipboard : public ImageClipboard {
public:
    bool PutImage(const QImage& image) override;
};

ImageError ExportImageToClipboard(const ImageBitmap& bitmap, ImageClipboard& clipboard);
