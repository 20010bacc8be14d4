#include "win32/wicimage.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include <objbase.h>
#include <ocidl.h>
#include <wincodec.h>

namespace {

IWICImagingFactory* factory = nullptr;
bool comStarted = false;

// Releases a COM object when it goes out of scope.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr()
    {
        if (object_ != nullptr)
            object_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return object_; }
    T* get() const { return object_; }
    T** put() { return &object_; }

private:
    T* object_ = nullptr;
};

std::string AsciiLower(const std::wstring& text)
{
    std::string lower;
    for (const wchar_t c : text) {
        if (c > 127)
            return {};
        lower += static_cast<char>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
    }
    return lower;
}

// Rows [from, from + count) as 24-bit blue, green, red, each row padded to 4
// bytes, the layout WIC calls 24bppBGR.
void ToBgr(const PixelRows& pixels, std::int32_t from, std::int32_t count, std::size_t stride, unsigned char* out)
{
    for (std::int32_t y = 0; y < count; ++y, out += stride) {
        const std::uint32_t* source = pixels.Row(from + y);
        unsigned char* at = out;
        for (std::int32_t x = 0; x < pixels.width; ++x, at += 3) {
            at[0] = static_cast<unsigned char>(source[x]);
            at[1] = static_cast<unsigned char>(source[x] >> 8);
            at[2] = static_cast<unsigned char>(source[x] >> 16);
        }
    }
}

bool WritePixelsInBands(const PixelRows& pixels, IWICBitmapFrameEncode* frame)
{
    const std::size_t stride = (static_cast<std::size_t>(pixels.width) * 3 + 3) & ~std::size_t{3};
    if (stride > 0xFFFFFFFFu)
        return false;
    // Bands of about 4 MiB, so that the copy stays small whatever the size.
    const std::size_t perBand = std::max<std::size_t>(1, (std::size_t{4} << 20) / stride);
    const auto rows =
        static_cast<std::int32_t>(std::min<std::size_t>(perBand, static_cast<std::size_t>(pixels.height)));
    std::unique_ptr<unsigned char[]> band(new (std::nothrow) unsigned char[stride * static_cast<std::size_t>(rows)]);
    if (!band)
        return false;
    for (std::int32_t from = 0; from < pixels.height; from += rows) {
        const std::int32_t count = std::min(rows, pixels.height - from);
        ToBgr(pixels, from, count, stride, band.get());
        if (FAILED(frame->WritePixels(static_cast<UINT>(count), static_cast<UINT>(stride),
                                      static_cast<UINT>(stride * static_cast<std::size_t>(count)), band.get())))
            return false;
    }
    return true;
}

// The pixels handed over as a bitmap that WIC converts to the frame's own
// format (indexed colours for GIF, for example).
bool WriteConverted(const PixelRows& pixels, IWICBitmapFrameEncode* frame, const GUID& frameFormat)
{
    const auto stride = static_cast<UINT>(pixels.stride);
    const std::uint64_t size = static_cast<std::uint64_t>(pixels.stride) * static_cast<std::uint64_t>(pixels.height);
    if (pixels.stride <= 0 || size > 0xFFFFFFFFu)
        return false;
    ComPtr<IWICBitmap> source;
    if (FAILED(factory->CreateBitmapFromMemory(
            static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height), GUID_WICPixelFormat32bppBGR, stride,
            static_cast<UINT>(size), reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels.first)), source.put())))
        return false;
    // An indexed frame needs a palette. The figure has few colours: a palette
    // of exactly those keeps every pixel; only a picture of more colours than
    // the format holds is approximated.
    struct Indexed {
        GUID format;
        std::size_t colors;
    };
    const Indexed indexedFormats[] = {{GUID_WICPixelFormat8bppIndexed, 256},
                                      {GUID_WICPixelFormat4bppIndexed, 16},
                                      {GUID_WICPixelFormat2bppIndexed, 4},
                                      {GUID_WICPixelFormat1bppIndexed, 2}};
    std::size_t paletteSize = 0;
    for (const Indexed& indexed : indexedFormats)
        if (IsEqualGUID(indexed.format, frameFormat))
            paletteSize = indexed.colors;
    ComPtr<IWICPalette> palette;
    if (paletteSize > 0) {
        std::vector<WICColor> colors;
        WICColor last = 0;
        for (std::int32_t y = 0; y < pixels.height && colors.size() <= paletteSize; ++y) {
            const std::uint32_t* row = pixels.Row(y);
            for (std::int32_t x = 0; x < pixels.width && colors.size() <= paletteSize; ++x) {
                const WICColor color = row[x] | 0xFF000000u;
                if ((colors.empty() || color != last) && std::find(colors.begin(), colors.end(), color) == colors.end())
                    colors.push_back(color);
                last = color;
            }
        }
        if (FAILED(factory->CreatePalette(palette.put())))
            return false;
        const HRESULT made = colors.size() <= paletteSize
                                 ? palette->InitializeCustom(colors.data(), static_cast<UINT>(colors.size()))
                                 : palette->InitializeFromBitmap(source.get(), static_cast<UINT>(paletteSize), FALSE);
        if (FAILED(made) || FAILED(frame->SetPalette(palette.get())))
            return false;
    }
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(source.get(), frameFormat, WICBitmapDitherTypeNone, palette.get(), 0.0,
                                     paletteSize > 0 ? WICBitmapPaletteTypeCustom : WICBitmapPaletteTypeMedianCut)))
        return false;
    return SUCCEEDED(frame->WriteSource(converter.get(), nullptr));
}

} // namespace

bool StartWic()
{
    if (factory != nullptr)
        return true;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comStarted = SUCCEEDED(com); // S_FALSE: already started here, still to be balanced
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)))) {
        factory = nullptr;
        StopWic();
        return false;
    }
    return true;
}

void StopWic()
{
    if (factory != nullptr)
        factory->Release();
    factory = nullptr;
    if (comStarted)
        CoUninitialize();
    comStarted = false;
}

std::vector<WicFormat> WicEncoderFormats()
{
    std::vector<WicFormat> formats;
    ComPtr<IEnumUnknown> encoders;
    if (factory == nullptr ||
        FAILED(factory->CreateComponentEnumerator(WICEncoder, WICComponentEnumerateDefault, encoders.put())))
        return formats;
    for (;;) {
        ComPtr<IUnknown> item;
        ULONG fetched = 0;
        if (encoders->Next(1, item.put(), &fetched) != S_OK || fetched != 1)
            break;
        ComPtr<IWICBitmapEncoderInfo> info;
        GUID container{};
        if (FAILED(item->QueryInterface(IID_PPV_ARGS(info.put()))) || FAILED(info->GetContainerFormat(&container)))
            continue;
        UINT length = 0;
        if (FAILED(info->GetFileExtensions(0, nullptr, &length)) || length == 0)
            continue;
        std::wstring extensions(length, L'\0');
        if (FAILED(info->GetFileExtensions(length, extensions.data(), &length)))
            continue;
        extensions.resize(wcsnlen(extensions.c_str(), extensions.size()));
        // ".tiff,.tif" (or with ";" as wine lists them): each name without its
        // full stop.
        std::size_t start = 0;
        while (start <= extensions.size()) {
            std::size_t end = extensions.find_first_of(L",;", start);
            if (end == std::wstring::npos)
                end = extensions.size();
            std::wstring one = extensions.substr(start, end - start);
            while (!one.empty() && (one.front() == L' ' || one.front() == L'.'))
                one.erase(0, 1);
            const std::string name = AsciiLower(one);
            if (!name.empty())
                formats.push_back({name, container});
            start = end + 1;
        }
    }
    return formats;
}

bool WriteWic(const PixelRows& pixels, const GUID& container, bool lzw, ByteSink& sink)
{
    if (factory == nullptr || pixels.first == nullptr || pixels.width <= 0 || pixels.height <= 0)
        return false;
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) ||
        FAILED(factory->CreateEncoder(container, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put())))
        return false;
    if (lzw && IsEqualGUID(container, GUID_ContainerFormatTiff) && options.get() != nullptr) {
        PROPBAG2 option{};
        option.pstrName = const_cast<LPOLESTR>(L"TiffCompressionMethod");
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_UI1;
        value.bVal = WICTiffCompressionLZW;
        options->Write(1, &option, &value);
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->Initialize(options.get())) ||
        FAILED(frame->SetSize(static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height))) ||
        FAILED(frame->SetResolution(kDotsPerInch, kDotsPerInch)) || FAILED(frame->SetPixelFormat(&format)))
        return false;
    const bool written = IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) ? WritePixelsInBands(pixels, frame.get())
                                                                          : WriteConverted(pixels, frame.get(), format);
    if (!written || FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return false;

    // The encoded file, from the start of the memory stream.
    STATSTG status{};
    if (FAILED(stream->Stat(&status, STATFLAG_NONAME)))
        return false;
    LARGE_INTEGER start{};
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)))
        return false;
    std::uint64_t left = status.cbSize.QuadPart;
    std::unique_ptr<unsigned char[]> chunk(new (std::nothrow) unsigned char[1 << 20]);
    if (!chunk)
        return false;
    while (left > 0) {
        const ULONG want = left > (1u << 20) ? (1u << 20) : static_cast<ULONG>(left);
        ULONG got = 0;
        if (FAILED(stream->Read(chunk.get(), want, &got)) || got == 0 || !sink.Write(chunk.get(), got))
            return false;
        left -= got;
    }
    return true;
}
