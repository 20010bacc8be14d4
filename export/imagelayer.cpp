#include "export/imagelayer.h"

#include "export/bmpencoder.h"
#include "export/jpegwriter.h"
#include "export/tiffencoder.h"
#include "export/truescalefile.h"
#include "fileio/filereplace.h"
#include "render/dxf.h"
#include "render/pdf.h"
#include "render/svg.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>

namespace {

// The formats the layer draws itself from the figure's plan, at true scale:
// one unit of the height to the millimetre.
struct PlanFormat {
    const char* name;
    int (*draw)(const FigurePlan& plan, std::string& bytes);
    bool (*holds)(std::int32_t side);
};

bool AnySide(std::int32_t) { return true; }

// A printable PDF on the system's paper, tiled when the figure is larger.
int DrawPdf(const FigurePlan& plan, std::string& bytes) { return FigurePdfBytes(plan, SystemPdfOptions(), bytes); }

// A figure that needs more pages than a person would print is refused.
bool PdfHolds(std::int32_t side)
{
    PdfLayout layout;
    return PlanPdfLayout(side, SystemPdfOptions(), layout) != 0;
}

int DrawDxf(const FigurePlan& plan, std::string& bytes) { return FigureDxfText(plan, LengthUnit::Millimetre, bytes); }

const PlanFormat kPlanFormats[] = {
    {"svg", FigureSvgText, AnySide},
    {"pdf", DrawPdf, PdfHolds},
    {"dxf", DrawDxf, AnySide},
};

// The row of a table of formats that bears the name, or null.
template <typename Row, std::size_t Count> const Row* RowNamed(const Row (&table)[Count], const std::string& name)
{
    for (const Row& row : table)
        if (name == row.name)
            return &row;
    return nullptr;
}

const PlanFormat* PlanFormatNamed(const std::string& name) { return RowNamed(kPlanFormats, name); }

bool IsPlanFormat(const std::string& name) { return PlanFormatNamed(name) != nullptr; }

// The pixel formats the layer encodes itself, the same on every system.
struct CoreEncoder {
    const char* name;
    bool (*holds)(std::int32_t width, std::int32_t height);
    bool (*encode)(const Canvas& pixels, const ImageSaveParams& params, ByteSink& sink);
};

bool EncodeJpeg(const Canvas& pixels, const ImageSaveParams& params, ByteSink& sink)
{
    return WriteJpeg(RowsOf(pixels), params.quality, sink, !params.baseline);
}

bool EncodeBmp(const Canvas& pixels, const ImageSaveParams&, ByteSink& sink) { return WriteBmp(RowsOf(pixels), sink); }

#if DECAGON_ZLIB_ENCODERS
bool AnySize(std::int32_t, std::int32_t) { return true; }

bool EncodePngFile(const Canvas& pixels, const ImageSaveParams&, ByteSink& sink)
{
    return WritePng(pixels.Row(0), pixels.width, pixels.height, pixels.stride, FigurePngSettings(),
                    [&](const unsigned char* data, std::size_t size) { return sink.Write(data, size); }) != 0;
}

bool EncodeTiffFile(const Canvas& pixels, const ImageSaveParams&, ByteSink& sink)
{
    TiffSettings settings;
    settings.dotsPerInch = kDotsPerInch;
    std::string bytes;
    return EncodeTiff(pixels.Row(0), pixels.width, pixels.height, pixels.stride, settings, bytes) != 0 &&
           sink.Write(bytes.data(), bytes.size());
}
#endif

const CoreEncoder kCoreEncoders[] = {
    {"jpeg", JpegCanHold, EncodeJpeg}, {"bmp", BmpCanHold, EncodeBmp},
#if DECAGON_ZLIB_ENCODERS
    {"png", AnySize, EncodePngFile},   {"tif", AnySize, EncodeTiffFile}, {"tiff", AnySize, EncodeTiffFile},
#endif
};

const CoreEncoder* CoreEncoderNamed(const std::string& name) { return RowNamed(kCoreEncoders, name); }

// The formats the layer writes without asking the platform: its encoders',
// then those drawn from the plan. They come first, so that naming one of them
// never starts the platform's image library.
constexpr std::size_t kOwnFormatCount = std::size(kCoreEncoders) + std::size(kPlanFormats);

const char* OwnFormatName(std::size_t position)
{
    constexpr std::size_t kEncoded = std::size(kCoreEncoders);
    return position < kEncoded ? kCoreEncoders[position].name : kPlanFormats[position - kEncoded].name;
}

bool IsOwnFormat(const std::string& name) { return IsPlanFormat(name) || CoreEncoderNamed(name) != nullptr; }

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
    int Descriptor() const override { return fd_; }
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

} // namespace

PngSettings FigurePngSettings()
{
    PngSettings settings;
    settings.dotsPerMeter = kFigureDotsPerMeter;
    return settings;
}

bool StringSink::Write(const void* data, std::size_t count)
{
    bytes.append(static_cast<const char*>(data), count);
    return true;
}

std::vector<std::string> EncoderImageLayer::PlatformFormatNames()
{
    std::vector<std::string> names;
    for (const std::string& name : encoders_.FormatNames())
        if (!name.empty() && !IsOwnFormat(name) && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    return names;
}

std::vector<std::string> EncoderImageLayer::FormatNames()
{
    std::vector<std::string> names;
    for (std::size_t position = 0; position < kOwnFormatCount; ++position)
        names.emplace_back(OwnFormatName(position));
    const std::vector<std::string> platform = PlatformFormatNames();
    names.insert(names.end(), platform.begin(), platform.end());
    return names;
}

std::string EncoderImageLayer::FormatNameOf(std::int32_t formatIndex)
{
    if (formatIndex < 1)
        return {};
    const auto position = static_cast<std::size_t>(formatIndex - 1);
    if (position < kOwnFormatCount)
        return OwnFormatName(position);
    const std::vector<std::string> platform = PlatformFormatNames();
    return position - kOwnFormatCount < platform.size() ? platform[position - kOwnFormatCount] : std::string();
}

std::int32_t EncoderImageLayer::FormatIndexByName(const char* name)
{
    if (name == nullptr || *name == '\0')
        return 0;
    for (std::size_t position = 0; position < kOwnFormatCount; ++position)
        if (std::strcmp(name, OwnFormatName(position)) == 0)
            return static_cast<std::int32_t>(position + 1);
    const std::vector<std::string> platform = PlatformFormatNames();
    const auto found = std::find(platform.begin(), platform.end(), name);
    return found == platform.end() ? 0 : static_cast<std::int32_t>(kOwnFormatCount + (found - platform.begin()) + 1);
}

bool EncoderImageLayer::FormatHoldsSize(std::int32_t formatIndex, std::int32_t width, std::int32_t height)
{
    const std::string name = FormatNameOf(formatIndex);
    if (name.empty() || width < 0 || height < 0)
        return false;
    if (const CoreEncoder* own = CoreEncoderNamed(name))
        return own->holds(width, height);
    if (const PlanFormat* drawing = PlanFormatNamed(name))
        return width == height && drawing->holds(width);
    return encoders_.HoldsSize(name, width, height);
}

ImageError EncoderImageLayer::SaveBitmap(const std::string& path, const FigureBitmap& figure,
                                         const ImageSaveParams& params)
{
    if (!HasPixels(figure.canvas))
        return ImageError::NoBitmap;
    const std::string format = FormatNameOf(params.formatIndex);
    if (format.empty())
        return ImageError::UnknownFormat;
    if (!params.replaceExisting && PathExists(path))
        return ImageError::FileExists;
    if (!FormatHoldsSize(params.formatIndex, figure.canvas.width, figure.canvas.height))
        return ImageError::TooLarge;

    // The figure drawn from its plan is made whole before anything is written.
    const PlanFormat* drawing = PlanFormatNamed(format);
    std::string drawn;
    if (drawing != nullptr && !drawing->draw(figure.plan, drawn))
        return ImageError::NoBitmap;
    const CoreEncoder* own = CoreEncoderNamed(format);
    const auto encode = [&](FileSink& sink) {
        const bool encoded = drawing != nullptr ? sink.Write(drawn.data(), drawn.size())
                             : own != nullptr   ? own->encode(figure.canvas, params, sink)
                                                : encoders_.Encode(format, figure.canvas, params, sink);
        return encoded && sink.Flush();
    };

    if (!params.atomicWrite) {
        const int fd = CreateForWrite(path);
        if (fd < 0)
            return ImageError::CannotWrite;
        FileSink sink(fd);
        const bool written = encode(sink);
        return CloseWritten(fd) && written ? ImageError::None : ImageError::CannotWrite;
    }
    PendingFile pending;
    if (!BeginReplace(pending, path))
        return ImageError::CannotWrite;
    FileSink sink(pending.fd);
    if (!encode(sink)) {
        AbortReplace(pending);
        return ImageError::CannotWrite;
    }
    return CommitReplace(pending) ? ImageError::None : ImageError::CannotWrite;
}

ImageError EncoderImageLayer::ExportToClipboard(const FigureBitmap& figure)
{
    if (!HasPixels(figure.canvas))
        return ImageError::NoBitmap;
    return encoders_.PutOnClipboard(figure.canvas);
}
