#pragma once

#include "export/imagelayer.h"

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

// The image layer over Qt's image I/O (Qt Gui only, no widgets).

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
// with LZW compression. Returns the layer's start result. The command line
// starts through here, with the steps of the dialog's start-up
// (dialog/startup.h), so their files stay alike.
ImageError StartImageExport(const std::string& pluginFolder);

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

// Qt's image writers as the layer's encoders: JPEG by the program's own
// encoder (export/jpegencoder.h), every other format that Qt can write by
// Qt. Icons and cursors hold at most 256 x 256, Apple icons only squares of
// 16, 32, 64, ..., 1024, WebP at most 16383 and JPEG 65500 a side; Qt's
// writers would shrink the first two to fit without a word. Pixel files
// carry kFigureDotsPerMeter. Without a clipboard, clipboard exports fail
// with NoClipboard.
class QtImageEncoders : public PixelEncoders {
public:
    explicit QtImageEncoders(ImageClipboard* clipboard) : clipboard_(clipboard) {}
    std::vector<std::string> FormatNames() override;
    bool HoldsSize(const std::string& format, std::int32_t width, std::int32_t height) override;
    bool Encode(const std::string& format, const Canvas& pixels, const ImageSaveParams& params,
                ByteSink& sink) override;
    ImageError PutOnClipboard(const Canvas& pixels) override;

private:
    ImageClipboard* clipboard_;
};

// The layer behind the image commands: the core's JPEG, BMP and "svg"
// first, then every other format Qt can write.
class QtImageLayer : public EncoderImageLayer {
public:
    explicit QtImageLayer(ImageClipboard* clipboard = nullptr) : EncoderImageLayer(encoders_), encoders_(clipboard) {}

private:
    QtImageEncoders encoders_;
};
