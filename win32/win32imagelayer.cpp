#include "win32/win32imagelayer.h"

#include "export/jpegwriter.h"
#include "win32/wicimage.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <wincodec.h>

namespace {

enum class Writer { Jpeg, Bmp, Wic };

struct Format {
    std::string name;
    Writer writer;
    GUID container;
};

std::vector<Format> formats;
bool started = false;
bool lzwEnabled = false;

// The names: "jpeg" and "bmp", then every name the imaging component's
// encoders list (those of its JPEG and BMP encoders written by the program's
// own writers).
void ListFormats()
{
    formats.clear();
    formats.push_back({"jpeg", Writer::Jpeg, GUID{}});
    formats.push_back({"bmp", Writer::Bmp, GUID{}});
    for (const WicFormat& encoder : WicEncoderFormats()) {
        bool known = false;
        for (const Format& format : formats)
            known = known || format.name == encoder.name;
        if (known)
            continue;
        Writer writer = Writer::Wic;
        if (IsEqualGUID(encoder.container, GUID_ContainerFormatJpeg))
            writer = Writer::Jpeg;
        else if (IsEqualGUID(encoder.container, GUID_ContainerFormatBmp))
            writer = Writer::Bmp;
        formats.push_back({encoder.name, writer, encoder.container});
    }
}

// The imaging component is started, and the names listed, at the first
// image command rather than at start-up: loading it would make every start
// of the program slower for the few runs that export an image.
void ReadyFormats()
{
    if (started && formats.empty()) {
        StartWic();
        ListFormats();
    }
}

const Format* FormatNamed(const std::string& name)
{
    for (const Format& format : formats)
        if (format.name == name)
            return &format;
    return nullptr;
}

// Moves bytes into movable global memory, as the clipboard takes them.
HGLOBAL GlobalCopy(const std::string& bytes)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (memory == nullptr)
        return nullptr;
    void* at = GlobalLock(memory);
    if (at == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(at, bytes.data(), bytes.size());
    GlobalUnlock(memory);
    return memory;
}

// Another program may hold the clipboard for a moment.
bool OpenClipboardPatiently(HWND owner)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (OpenClipboard(owner))
            return true;
        Sleep(25);
    }
    return false;
}

bool PlaceOnClipboard(HWND owner, const std::string& dib, const std::string& png)
{
    HGLOBAL dibMemory = GlobalCopy(dib);
    if (dibMemory == nullptr)
        return false;
    if (!OpenClipboardPatiently(owner)) {
        GlobalFree(dibMemory);
        return false;
    }
    bool placed = false;
    if (EmptyClipboard()) {
        // The clipboard owns the memory once it took it.
        placed = SetClipboardData(CF_DIB, dibMemory) != nullptr;
        if (!placed)
            GlobalFree(dibMemory);
        const UINT pngFormat = RegisterClipboardFormatA("PNG");
        HGLOBAL pngMemory = placed && pngFormat != 0 && !png.empty() ? GlobalCopy(png) : nullptr;
        if (pngMemory != nullptr && SetClipboardData(pngFormat, pngMemory) == nullptr)
            GlobalFree(pngMemory);
    } else {
        GlobalFree(dibMemory);
    }
    CloseClipboard();
    return placed;
}

} // namespace

ImageError StartImageLayer()
{
    started = true;
    formats.clear();
    return ImageError::None;
}

void StopImageLayer()
{
    started = false;
    formats.clear();
    StopWic();
}

void EnableLzwCompression(bool enabled) { lzwEnabled = enabled; }

ImageError StartImageExport()
{
    const ImageError started = StartImageLayer();
    if (started == ImageError::None)
        EnableLzwCompression(true);
    return started;
}

std::vector<std::string> Win32ImageEncoders::FormatNames()
{
    ReadyFormats();
    std::vector<std::string> names;
    for (const Format& format : formats)
        names.push_back(format.name);
    return names;
}

bool Win32ImageEncoders::Encode(const std::string& name, const Canvas& pixels, const ImageSaveParams& params,
                                ByteSink& sink)
{
    ReadyFormats();
    const Format* format = FormatNamed(name);
    if (format == nullptr)
        return false;
    const PixelRows rows = RowsOf(pixels);
    switch (format->writer) {
    case Writer::Jpeg:
        return WriteJpeg(rows, params.quality, sink);
    case Writer::Bmp:
        return WriteBmp(rows, sink);
    case Writer::Wic:
        return WriteWic(rows, format->container, lzwEnabled, sink);
    }
    return false;
}

ImageError Win32ImageEncoders::PutOnClipboard(const Canvas& pixels)
{
    ReadyFormats();
    const PixelRows rows = RowsOf(pixels);
    StringSink dib;
    if (!WriteDib(rows, dib))
        return ImageError::NoClipboard;
    // The PNG is offered besides, for programs that prefer it, made as a
    // saved PNG file is.
    StringSink png;
    if (!EncodePng(rows.first, rows.width, rows.height, rows.stride, FigurePngSettings(), png.bytes))
        png.bytes.clear();

    HWND owner = clipboardOwner_;
    HWND madeOwner = nullptr;
    if (owner == nullptr) {
        madeOwner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        owner = madeOwner;
    }
    const bool placed = PlaceOnClipboard(owner, dib.bytes, png.bytes);
    if (madeOwner != nullptr)
        DestroyWindow(madeOwner);
    return placed ? ImageError::None : ImageError::NoClipboard;
}
