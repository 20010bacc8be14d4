#pragma once

#include "export/imagelayer.h"

#include <QImage>

#include <cstdint>
#include <string>

// The image layer over Qt's image I/O (Qt Gui only, no widgets): JPEG and
// BMP first, then every format Qt can write, then the layer's own "svg".

// Starts the layer: fails unless writers for "jpeg" and "bmp" are available.
ImageError StartImageLayer();
void StopImageLayer();

// Adds a folder where image-format plug-ins are looked for (in its
// "imageformats" subfolder), before the system's own.
void SetImagePluginFolder(const std::string& folder);

// Lets TIFF files use LZW compression.
void EnableLzwCompression(bool enabled);

// Readies the layer as the program uses it: plug-ins looked for in
// pluginFolder too, the layer started, and, once it has started, TIFF files
// with LZW compression. Returns the layer's start result. The dialog and the
// command line both start through here, so their files stay alike.
ImageError StartImageExport(const std::string& pluginFolder);

// The format with this exact name ("jpeg", "bmp", "png", ..., and "svg",
// which draws the figure as vectors at true scale from the bitmap's plan):
// an index of 1 or more, or 0 when no format bears that name.
std::int32_t ImageFormatIndexByName(const char* name);

// The layer's defaults: no replacing, no format, quality 75, everything else
// off.
void GetDefaultSaveParams(ImageSaveParams& params);

// Writes the bitmap to path in the format of params.formatIndex. The "svg"
// format writes the plan (render/svg.h) instead of the pixels; NoBitmap when
// the plan has nothing to draw. Pixel files carry kFigureDotsPerMeter.
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

// The layer behind the image commands. Without a clipboard, clipboard
// exports fail with NoClipboard.
class QtImageLayer : public ImageLayer {
public:
    explicit QtImageLayer(ImageClipboard* clipboard = nullptr) : clipboard_(clipboard) {}
    std::int32_t FormatIndexByName(const char* name) override { return ImageFormatIndexByName(name); }
    void GetDefaultSaveParams(ImageSaveParams& params) override { ::GetDefaultSaveParams(params); }
    ImageError SaveBitmap(const std::string& path, const ImageBitmap& bitmap, const ImageSaveParams& params) override
    {
        return SaveImageBitmap(path, bitmap, params);
    }
    ImageError ExportToClipboard(const ImageBitmap& bitmap) override
    {
        return clipboard_ != nullptr ? ExportImageToClipboard(bitmap, *clipboard_) : ImageError::NoClipboard;
    }

private:
    ImageClipboard* clipboard_;
};
