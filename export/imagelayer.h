#pragma once

#include "export/pngencoder.h"
#include "render/painter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The image layer: the program's small image library. It knows the image
// formats by name, saves a figure in any known format and puts one on the
// clipboard. The image commands (export/imageexport.h) talk to it through
// ImageLayer; the program's layer is EncoderImageLayer over the platform's
// PixelEncoders, tests use a fake. Every call reports an ImageError; None
// means success.

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

// How a figure is saved. The defaults are the layer's: no replacing, no
// format, quality 75, everything else off.
struct ImageSaveParams {
    bool replaceExisting = false; // an existing file may be replaced
    std::int32_t formatIndex = 0; // from FormatIndexByName
    std::int32_t compression = 0; // 0 for the format's default
    std::int32_t quality = 75;    // 0..100 for lossy formats
    bool baseline = false;        // JPEG written as baseline rather than progressive
    bool atomicWrite = false;     // written through a temporary file renamed into place only when complete, so
                                  // a failed save never harms an existing file
};

// The image library as the image commands use it.
class ImageLayer {
public:
    virtual ~ImageLayer() = default;

    // The format with this exact name ("jpeg", "bmp", ..., and "svg", which
    // draws the figure as vectors at true scale from its plan): an index of 1
    // or more, or 0 when no format bears that name.
    virtual std::int32_t FormatIndexByName(const char* name) = 0;

    // Whether the format can hold a width x height image whole. A layer
    // whose writer would shrink or crop a larger image refuses it here, so
    // that the command says so before anything is rendered or written.
    virtual bool FormatHoldsSize(std::int32_t formatIndex, std::int32_t width, std::int32_t height)
    {
        (void)formatIndex;
        (void)width;
        (void)height;
        return true;
    }

    // The layer's defaults for every field of the save parameters.
    virtual void GetDefaultSaveParams(ImageSaveParams& params) { params = ImageSaveParams{}; }

    // Writes the figure to path in the format of params.formatIndex. Image
    // files carry kFigureDotsPerMeter.
    virtual ImageError SaveBitmap(const std::string& path, const FigureBitmap& figure,
                                  const ImageSaveParams& params) = 0;

    // Puts the figure's pixels on the system clipboard as an image.
    virtual ImageError ExportToClipboard(const FigureBitmap& figure) = 0;
};

// The PNG settings of every figure the program writes or offers: compressed,
// exact, 96 dots per inch.
PngSettings FigurePngSettings();

// Where encoded bytes go: a file being written, or memory.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // False when the bytes could not all be taken; the encoder then stops.
    virtual bool Write(const void* bytes, std::size_t count) = 0;
    // The open file the bytes go to, for an encoder that must write (and
    // seek) through the system itself; -1 for memory. Nothing may have been
    // written through Write before.
    virtual int Descriptor() const { return -1; }
};

class StringSink : public ByteSink {
public:
    bool Write(const void* bytes, std::size_t count) override;
    std::string bytes;
};

// What a platform's image library brings: encoders, which take pixels and
// give bytes, and the clipboard.
class PixelEncoders {
public:
    virtual ~PixelEncoders() = default;
    // The names of the pixel formats it writes, in its own order.
    virtual std::vector<std::string> FormatNames() = 0;
    // Whether the format holds a width x height image whole.
    virtual bool HoldsSize(const std::string& format, std::int32_t width, std::int32_t height)
    {
        (void)format;
        (void)width;
        (void)height;
        return true;
    }
    // Encodes the pixels in the named format.
    virtual bool Encode(const std::string& format, const Canvas& pixels, const ImageSaveParams& params,
                        ByteSink& sink) = 0;
    virtual ImageError PutOnClipboard(const Canvas& pixels) = 0;
};

// The image layer over a platform's encoders. Its formats are those it
// encodes itself on every system ("jpeg", export/jpegwriter.h; "bmp",
// export/bmpencoder.h; "png", "tif" and "tiff", export/pngencoder.h and
// tiffencoder.h), then the formats drawn from the figure's plan ("svg",
// "pdf", "dxf"), then the platform encoders' other names in their order; index =
// position + 1. Its own formats are known, sized and written without asking
// the platform's encoders anything, so that a program which loads its image
// library only when needed never loads it for them. It decides for every
// format alike: the existing-file rule, the size a format holds, and the
// write, through a temporary file or straight into the file.
class EncoderImageLayer : public ImageLayer {
public:
    explicit EncoderImageLayer(PixelEncoders& encoders) : encoders_(encoders) {}

    std::int32_t FormatIndexByName(const char* name) override;
    bool FormatHoldsSize(std::int32_t formatIndex, std::int32_t width, std::int32_t height) override;
    ImageError SaveBitmap(const std::string& path, const FigureBitmap& figure, const ImageSaveParams& params) override;
    ImageError ExportToClipboard(const FigureBitmap& figure) override;

    // Every format name, in index order.
    std::vector<std::string> FormatNames();

private:
    // The platform's names that are not the layer's own, in its order.
    std::vector<std::string> PlatformFormatNames();
    // The name of the format at that index, or an empty text for none.
    std::string FormatNameOf(std::int32_t formatIndex);

    PixelEncoders& encoders_;
};
