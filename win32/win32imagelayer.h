#pragma once

#include "export/imagelayer.h"
#include "win32/imagecodecs.h"

#include <cstdint>
#include <string>

#include <windows.h>

// The image layer of the Windows programs. JPEG and BMP are written by the
// program itself (win32/imagecodecs.h), PNG, TIFF, GIF and whatever else the
// system's imaging component can encode through it, "svg" from the figure's
// plan. Every pixel file carries 96 dots per inch. The clipboard receives a
// device-independent bitmap (CF_DIB) and a PNG (the registered format "PNG").

// Starts the layer on this thread: the imaging component and the format
// names. JPEG and BMP need nothing of the system, so it always starts; without
// the imaging component only its formats are missing.
ImageError StartImageLayer();
void StopImageLayer();

// Lets TIFF files use LZW compression.
void EnableLzwCompression(bool enabled);

// Readies the layer as both programs use it: started, then TIFF with LZW
// compression. Returns the start result.
ImageError StartImageExport();

// The canvas's pixels as the encoders read them, without a copy.
PixelRows RowsOf(const Canvas& canvas);

class Win32ImageLayer : public ImageLayer {
public:
    // The clipboard's owner: the dialog's window; without one, a hidden
    // window made for the copy.
    explicit Win32ImageLayer(HWND clipboardOwner = nullptr) : clipboardOwner_(clipboardOwner) {}

    std::int32_t FormatIndexByName(const char* name) override;
    void GetDefaultSaveParams(ImageSaveParams& params) override;
    ImageError SaveBitmap(const std::string& path, const ImageBitmap& bitmap, const ImageSaveParams& params) override;
    ImageError ExportToClipboard(const ImageBitmap& bitmap) override;

private:
    HWND clipboardOwner_;
};
