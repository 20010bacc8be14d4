#pragma once

#include "export/imagelayer.h"

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

// The image layer of the Windows programs. JPEG and BMP are written by the
// program itself (the core's export/jpegwriter.h and export/bmpencoder.h),
// PNG, TIFF, GIF and whatever else the system's imaging component can encode
// through it, "svg" from the figure's plan. Every pixel file carries 96 dots
// per inch. The clipboard receives a device-independent bitmap (CF_DIB) and
// a PNG (the registered format "PNG").

// Starts the layer on this thread. JPEG and BMP need nothing of the system,
// so it always starts; the imaging component is loaded at the first image
// command, and without it only its formats are missing.
ImageError StartImageLayer();
void StopImageLayer();

// Lets TIFF files use LZW compression.
void EnableLzwCompression(bool enabled);

// Readies the layer as both programs use it: started, then TIFF with LZW
// compression. Returns the start result.
ImageError StartImageExport();

// The encoders and the clipboard of the Windows layer.
class Win32ImageEncoders : public PixelEncoders {
public:
    explicit Win32ImageEncoders(HWND clipboardOwner) : clipboardOwner_(clipboardOwner) {}
    std::vector<std::string> FormatNames() override;
    bool Encode(const std::string& format, const Canvas& pixels, const ImageSaveParams& params,
                ByteSink& sink) override;
    ImageError PutOnClipboard(const Canvas& pixels) override;

private:
    HWND clipboardOwner_;
};

class Win32ImageLayer : public EncoderImageLayer {
public:
    // The clipboard's owner: the dialog's window; without one, a hidden
    // window made for the copy.
    explicit Win32ImageLayer(HWND clipboardOwner = nullptr) : EncoderImageLayer(encoders_), encoders_(clipboardOwner) {}

private:
    Win32ImageEncoders encoders_;
};
