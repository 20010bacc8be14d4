#include "win32/win32imagelayer.h"

#include "render/svg.h"
#include "settings/filereplace.h"
#include "win32/wicimage.h"
#include "win32/wintext.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <fcntl.h>
#include <io.h>
#include <wincodec.h>

namespace {

enum class Writer { Jpeg, Bmp, Wic, Svg };

struct Format {
    std::string name;
    Writer writer;
    GUID container;
};

std::vector<Format> formats;
bool started = false;
bool lzwEnabled = false;

// The names in index order: "jpeg" and "bmp" first, then every name the
// imaging component's encoders list (those of its JPEG and BMP encoders
// written by the program's own writers), then "svg".
void ListFormats()
{
    formats.clear();
    formats.push_back({"jpeg", Writer::Jpeg, GUID{}});
    formats.push_back({"bmp", Writer::Bmp, GUID{}});
    for (const WicFormat& encoder : WicEncoderFormats()) {
        bool known = encoder.name == "svg";
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
    formats.push_back({"svg", Writer::Svg, GUID{}});
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

// Bytes on their way into a file, gathered into large writes.
class FileSink : public ByteSink {
public:
    explicit FileSink(int fd) : fd_(fd), buffer_(new (std::nothrow) char[kSize]) {}
    bool Write(const void* bytes, std::size_t count) override
    {
        if (!buffer_)
            return false;
        const auto* at = static_cast<const char*>(bytes);
        while (count > 0) {
            if (used_ == kSize && !Flush())
                return false;
            const std::size_t part = std::min(count, kSize - used_);
            std::memcpy(buffer_.get() + used_, at, part);
            used_ += part;
            at += part;
            count -= part;
        }
        return true;
    }
    bool Flush()
    {
        if (used_ > 0 && WriteAllBytes(fd_, buffer_.get(), used_) == 0)
            return false;
        used_ = 0;
        return true;
    }

private:
    static constexpr std::size_t kSize = std::size_t{1} << 20;
    int fd_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

bool Encode(const Format& format, const ImageBitmap& bitmap, const ImageSaveParams& params, ByteSink& sink)
{
    const PixelRows rows = RowsOf(bitmap.pixels);
    switch (format.writer) {
    case Writer::Jpeg:
        return WriteJpeg(rows, params.quality, sink);
    case Writer::Bmp:
        return WriteBmp(rows, sink);
    case Writer::Wic:
        return WriteWic(rows, format.container, lzwEnabled, sink);
    case Writer::Svg: {
        std::string text;
        return FigureSvgText(bitmap.plan, text) != 0 && sink.Write(text.data(), text.size());
    }
    }
    return false;
}

// Writes the file: through a temporary that replaces path only when complete,
// or, without atomicWrite, straight into path.
ImageError WriteFile(const std::string& path, const Format& format, const ImageBitmap& bitmap,
                     const ImageSaveParams& params)
{
    if (params.atomicWrite != 0) {
        PendingFile pending;
        if (!BeginReplace(pending, path))
            return ImageError::CannotWrite;
        FileSink sink(pending.fd);
        if (!Encode(format, bitmap, params, sink) || !sink.Flush()) {
            AbortReplace(pending);
            return ImageError::CannotWrite;
        }
        return CommitReplace(pending) ? ImageError::None : ImageError::CannotWrite;
    }
    const std::wstring wide = WideOfAnsi(path);
    const HANDLE file = wide.empty() ? INVALID_HANDLE_VALUE
                                     : CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ImageError::CannotWrite;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(file);
        return ImageError::CannotWrite;
    }
    FileSink sink(fd);
    const bool written = Encode(format, bitmap, params, sink) && sink.Flush();
    const bool closed = _close(fd) == 0;
    return written && closed ? ImageError::None : ImageError::CannotWrite;
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

bool PutOnClipboard(HWND owner, const std::string& dib, const std::string& png)
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

PixelRows RowsOf(const Canvas& canvas)
{
    if (!HasPixels(canvas))
        return {};
    return {canvas.width, canvas.height, canvas.stride, canvas.Row(0)};
}

std::int32_t Win32ImageLayer::FormatIndexByName(const char* name)
{
    if (name == nullptr || *name == '\0')
        return 0;
    ReadyFormats();
    for (std::size_t i = 0; i < formats.size(); ++i)
        if (formats[i].name == name)
            return static_cast<std::int32_t>(i + 1);
    return 0;
}

void Win32ImageLayer::GetDefaultSaveParams(ImageSaveParams& params)
{
    params = ImageSaveParams{};
    params.quality = 75;
}

ImageError Win32ImageLayer::SaveBitmap(const std::string& path, const ImageBitmap& bitmap,
                                       const ImageSaveParams& params)
{
    if (!HasPixels(bitmap.pixels))
        return ImageError::NoBitmap;
    ReadyFormats();
    if (params.formatIndex < 1 || static_cast<std::size_t>(params.formatIndex) > formats.size())
        return ImageError::UnknownFormat;
    const Format& format = formats[static_cast<std::size_t>(params.formatIndex - 1)];
    if (format.writer == Writer::Svg && bitmap.plan.elements.empty())
        return ImageError::NoBitmap;
    if ((params.flags & kSaveReplaceExisting) == 0) {
        const std::wstring wide = WideOfAnsi(path);
        if (!wide.empty() && GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES)
            return ImageError::FileExists;
    }
    return WriteFile(path, format, bitmap, params);
}

ImageError Win32ImageLayer::ExportToClipboard(const ImageBitmap& bitmap)
{
    if (!HasPixels(bitmap.pixels))
        return ImageError::NoBitmap;
    ReadyFormats();
    const PixelRows rows = RowsOf(bitmap.pixels);
    StringSink dib;
    if (!WriteDib(rows, dib))
        return ImageError::NoClipboard;
    // The PNG is offered besides, for programs that prefer it; without the
    // imaging component the bitmap alone goes.
    StringSink png;
    if (!WriteWic(rows, GUID_ContainerFormatPng, false, png))
        png.bytes.clear();

    HWND owner = clipboardOwner_;
    HWND madeOwner = nullptr;
    if (owner == nullptr) {
        madeOwner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        owner = madeOwner;
    }
    const bool placed = PutOnClipboard(owner, dib.bytes, png.bytes);
    if (madeOwner != nullptr)
        DestroyWindow(madeOwner);
    return placed ? ImageError::None : ImageError::NoClipboard;
}
