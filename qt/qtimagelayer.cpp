#include "qt/qtimagelayer.h"

#include "qt/qtcanvas.h"
#include "render/svg.h"
#include "settings/filereplace.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QMimeData>

#include <cstddef>
#include <sys/stat.h>
#include <vector>

static_assert(offsetof(ImageSaveParams, flags) == 0);
static_assert(offsetof(ImageSaveParams, formatIndex) == 4);
static_assert(offsetof(ImageSaveParams, quality) == 10);
static_assert(offsetof(ImageSaveParams, baseline) == 15);
static_assert(offsetof(ImageSaveParams, atomicWrite) == 16);

namespace {

bool lzwEnabled = false;

// The layer's own vector format: the figure drawn from the bitmap's plan.
constexpr char kSvgFormat[] = "svg";

// The format names, JPEG and BMP first, then every other format that Qt can
// write, in Qt's order, then the layer's own "svg". Index = position + 1.
const std::vector<QByteArray>& FormatNames()
{
    static const std::vector<QByteArray> names = [] {
        std::vector<QByteArray> list;
        const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
        for (const char* first : {"jpeg", "bmp"})
            if (writable.contains(first))
                list.emplace_back(first);
        for (const QByteArray& name : writable)
            if (name != "jpeg" && name != "bmp" && name != kSvgFormat)
                list.push_back(name);
        list.emplace_back(kSvgFormat);
        return list;
    }();
    return names;
}

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// Configures a writer for the format and parameters.
void Configure(QImageWriter& writer, const QByteArray& format, const ImageSaveParams& params)
{
    writer.setFormat(format);
    writer.setQuality(params.quality);
    if (format == "jpeg" || format == "jpg")
        writer.setProgressiveScanWrite(params.baseline == 0);
    if ((format == "tiff" || format == "tif") && lzwEnabled)
        writer.setCompression(1);
    else if (params.compression != 0)
        writer.setCompression(params.compression);
}

// Opens a file for write to fill and closes it: with atomicWrite a temporary
// beside path that replaces it only once complete, else path itself.
template <typename Write> ImageError WriteFile(const std::string& path, const ImageSaveParams& params, Write write)
{
    if (params.atomicWrite == 0) {
        QFile file(QFile::decodeName(path.c_str()));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return ImageError::CannotWrite;
        const bool written = write(file) && file.flush();
        file.close();
        return written ? ImageError::None : ImageError::CannotWrite;
    }
    PendingFile pending;
    if (!BeginReplace(pending, path))
        return ImageError::CannotWrite;
    bool written = false;
    {
        QFile file;
        if (file.open(pending.fd, QIODevice::WriteOnly, QFile::DontCloseHandle)) {
            written = write(file) && file.flush();
            file.close();
        }
    }
    if (!written) {
        AbortReplace(pending);
        return ImageError::CannotWrite;
    }
    return CommitReplace(pending) ? ImageError::None : ImageError::CannotWrite;
}

ImageError WritePixels(const std::string& path, const QImage& pixels, const QByteArray& format,
                       const ImageSaveParams& params)
{
    return WriteFile(path, params, [&](QFile& file) {
        QImageWriter writer(&file, format);
        Configure(writer, format, params);
        return writer.write(pixels);
    });
}

ImageError WriteSvg(const std::string& path, const FigurePlan& plan, const ImageSaveParams& params)
{
    std::string text;
    if (!FigureSvgText(plan, text))
        return ImageError::NoBitmap;
    const auto size = static_cast<qint64>(text.size());
    return WriteFile(path, params, [&](QFile& file) { return file.write(text.data(), size) == size; });
}

} // namespace

ImageError StartImageLayer()
{
    const auto& names = FormatNames();
    const bool jpeg = !names.empty() && names[0] == "jpeg";
    const bool bmp = names.size() > 1 && names[1] == "bmp";
    return jpeg && bmp ? ImageError::None : ImageError::Unavailable;
}

void StopImageLayer() {}

void SetImagePluginFolder(const std::string& folder)
{
    if (!folder.empty())
        QCoreApplication::addLibraryPath(QFile::decodeName(folder.c_str()));
}

void EnableLzwCompression(bool enabled) { lzwEnabled = enabled; }

ImageError StartImageExport(const std::string& pluginFolder)
{
    SetImagePluginFolder(pluginFolder);
    const ImageError started = StartImageLayer();
    if (started == ImageError::None)
        EnableLzwCompression(true);
    return started;
}

std::int32_t ImageFormatIndexByName(const char* name)
{
    if (name == nullptr || *name == '\0')
        return 0;
    const auto& names = FormatNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<std::int32_t>(i + 1);
    return 0;
}

void GetDefaultSaveParams(ImageSaveParams& params)
{
    params = ImageSaveParams{};
    params.quality = 75;
}

ImageError SaveImageBitmap(const std::string& path, const ImageBitmap& bitmap, const ImageSaveParams& params)
{
    if (!HasPixels(bitmap.pixels))
        return ImageError::NoBitmap;
    const auto& names = FormatNames();
    if (params.formatIndex < 1 || static_cast<std::size_t>(params.formatIndex) > names.size())
        return ImageError::UnknownFormat;
    if ((params.flags & kSaveReplaceExisting) == 0 && Exists(path))
        return ImageError::FileExists;
    const QByteArray& format = names[static_cast<std::size_t>(params.formatIndex - 1)];
    if (format == kSvgFormat)
        return WriteSvg(path, bitmap.plan, params);
    return WritePixels(path, FigureImage(bitmap.pixels), format, params);
}

bool SystemImageClipboard::PutImage(const QImage& image)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return false;
    clipboard->setImage(image, QClipboard::Clipboard);
    const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
    return data != nullptr && data->hasImage();
}

ImageError ExportImageToClipboard(const ImageBitmap& bitmap, ImageClipboard& clipboard)
{
    if (!HasPixels(bitmap.pixels))
        return ImageError::NoBitmap;
    return clipboard.PutImage(FigureImage(bitmap.pixels)) ? ImageError::None : ImageError::NoClipboard;
}
