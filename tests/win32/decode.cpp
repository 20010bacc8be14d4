#include "tests/win32/decode.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#include <stb_image.h>

#include <objbase.h>
#include <wincodec.h>

bool DecodeImage(const std::string& bytes, DecodedImage& image)
{
    int channels = 0;
    unsigned char* rgb =
        stbi_load_from_memory(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()),
                              &image.width, &image.height, &channels, 3);
    if (rgb == nullptr)
        return false;
    const std::size_t count = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    image.pixels.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        image.pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(rgb[3 * i]) << 16 |
                          static_cast<std::uint32_t>(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    stbi_image_free(rgb);
    return true;
}

std::vector<JpegSegment> JpegSegments(const std::string& bytes)
{
    std::vector<JpegSegment> segments;
    std::size_t at = 2; // after the start of image
    while (at + 4 <= bytes.size() && static_cast<unsigned char>(bytes[at]) == 0xFF) {
        const int marker = static_cast<unsigned char>(bytes[at + 1]);
        const std::size_t length = static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
                                   static_cast<unsigned char>(bytes[at + 3]);
        if (length < 2 || at + 2 + length > bytes.size())
            break;
        segments.push_back({marker, bytes.substr(at + 4, length - 2)});
        if (marker == 0xDA) // the scan follows
            break;
        at += 2 + length;
    }
    return segments;
}

bool DecodeWithWic(const std::string& bytes, DecodedImage& image)
{
    image = DecodedImage{};
    const HRESULT started = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICBitmapSource* converted = nullptr;
    UINT width = 0, height = 0;
    bool ok =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                               static_cast<DWORD>(bytes.size()))) &&
        SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame, &converted)) &&
        SUCCEEDED(converted->GetSize(&width, &height));
    if (ok) {
        image.width = static_cast<int>(width);
        image.height = static_cast<int>(height);
        image.pixels.resize(static_cast<std::size_t>(width) * height);
        ok = SUCCEEDED(converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(image.pixels.size() * 4),
                                             reinterpret_cast<BYTE*>(image.pixels.data())));
        for (std::uint32_t& pixel : image.pixels)
            pixel |= 0xFF000000u;
    }
    for (IUnknown* object :
         {static_cast<IUnknown*>(converted), static_cast<IUnknown*>(frame), static_cast<IUnknown*>(decoder),
          static_cast<IUnknown*>(stream), static_cast<IUnknown*>(factory)})
        if (object != nullptr)
            object->Release();
    if (SUCCEEDED(started))
        CoUninitialize();
    return ok;
}
