#include "qt/qtimagelayer.h"

#include "export/jpegencoder.h"
#include "qt/qtcanvas.h"
#include "render/svg.h"
#include "settings/filereplace.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageIOPlugin>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonObject>
#include <QMimeData>
#include <QPluginLoader>
#include <QStringList>
#include <QVariant>

#include <algorithm>
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

// Whether one of Qt's image plug-ins writes JPEG, as FormatNames() would
// find it, but loading that plug-in alone: the plug-ins are told apart by the
// names their metadata declares, and only the one that names "jpeg" is asked.
// (Qt's own writers, BMP among them, are built into Qt.)
bool IsJpegPlugin(const QJsonObject& metaData)
{
    return metaData.value(QStringLiteral("IID")).toString() == QLatin1String(QImageIOHandlerFactoryInterface_iid) &&
           metaData.value(QStringLiteral("MetaData"))
               .toObject()
               .value(QStringLiteral("Keys"))
               .toArray()
               .contains(QStringLiteral("jpeg"));
}

bool WritesJpeg(QObject* instance)
{
    const auto* plugin = qobject_cast<QImageIOPlugin*>(instance);
    return plugin != nullptr && (plugin->capabilities(nullptr, "jpeg") & QImageIOPlugin::CanWrite) != 0;
}

bool JpegPluginWrites()
{
    for (const QStaticPlugin& plugin : QPluginLoader::staticPlugins())
        if (IsJpegPlugin(plugin.metaData()) && WritesJpeg(plugin.instance()))
            return true;
    for (const QString& folder : QCoreApplication::libraryPaths()) {
        const QDir formats(folder + QStringLiteral("/imageformats"));
        for (const QString& name : formats.entryList(QDir::Files)) {
            QPluginLoader loader(formats.absoluteFilePath(name));
            if (IsJpegPlugin(loader.metaData()) && WritesJpeg(loader.instance()))
                return true;
        }
    }
    return false;
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

bool IsJpeg(const QByteArray& format) { return format == "jpeg" || format == "jpg"; }

// JPEG is written by the layer's own encoder: full-resolution colour, which
// Qt's writer cannot be asked for, and straight from the pixels. The whole
// file is made in memory before anything is written, so a picture that
// cannot be encoded leaves the path untouched.
int EncodeJpegImage(const QImage& image, int quality, bool progressive, JpegBytes& bytes)
{
    const bool direct = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
    const QImage pixels = direct ? image : image.convertToFormat(QImage::Format_RGB32);
    JpegSettings settings;
    settings.quality = quality;
    settings.progressive = progressive;
    settings.dotsPerInchX = DotsPerInchOf(pixels.dotsPerMeterX());
    settings.dotsPerInchY = DotsPerInchOf(pixels.dotsPerMeterY());
    return EncodeJpeg(reinterpret_cast<const std::uint32_t*>(pixels.constBits()), pixels.width(), pixels.height(),
                      pixels.bytesPerLine(), settings, bytes);
}

ImageError WriteJpeg(const std::string& path, const QImage& pixels, const ImageSaveParams& params)
{
    JpegBytes bytes;
    if (!EncodeJpegImage(pixels, params.quality, params.baseline == 0, bytes))
        return ImageError::CannotWrite;
    const auto size = static_cast<qint64>(bytes.size);
    return WriteFile(path, params, [&](QFile& file) {
        return file.write(reinterpret_cast<const char*>(bytes.data.get()), size) == size;
    });
}

// The quality of the JPEG that the clipboard offers.
constexpr int kClipboardJpegQuality = 95;
// The JPEG types, and the one that is always offered; Qt offers "image/jpg"
// too, after the name of its writer.
bool IsJpegMimeType(const QString& mimeType) { return mimeType == "image/jpeg" || mimeType == "image/jpg"; }
const QString kJpegMimeType = QStringLiteral("image/jpeg");

// The clipboard's data: the image, from which the clipboard makes every image
// type that a pasting program asks for, except JPEG (under either type name),
// which is encoded here, by the same rule as a saved file, when it is first
// asked for. Where the window system's clipboard encodes images itself
// (Wayland), it uses Qt's writer instead.
class FigureMimeData : public QMimeData {
public:
    explicit FigureMimeData(const QImage& image) { setImageData(image); }

    QStringList formats() const override
    {
        QStringList list = QMimeData::formats();
        if (!list.contains(kJpegMimeType))
            list.append(kJpegMimeType);
        return list;
    }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override
    {
        if (!IsJpegMimeType(mimeType))
            return QMimeData::retrieveData(mimeType, type);
        if (jpeg_.isEmpty()) {
            JpegBytes bytes;
            if (EncodeJpegImage(qvariant_cast<QImage>(imageData()), kClipboardJpegQuality, false, bytes))
                jpeg_ = QByteArray(reinterpret_cast<const char*>(bytes.data.get()), static_cast<qsizetype>(bytes.size));
        }
        return jpeg_;
    }

private:
    mutable QByteArray jpeg_;
};

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
    // The same answer as the list of formats, which loads every image
    // plug-in to ask it what it writes; that list waits until a command
    // needs it.
#if QT_CONFIG(imageformat_bmp)
    return JpegPluginWrites() ? ImageError::None : ImageError::Unavailable;
#else
    return ImageError::Unavailable;
#endif
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

bool ImageFormatHoldsSize(std::int32_t formatIndex, std::int32_t width, std::int32_t height)
{
    const auto& names = FormatNames();
    if (formatIndex < 1 || static_cast<std::size_t>(formatIndex) > names.size() || width < 0 || height < 0)
        return false;
    const QByteArray& name = names[static_cast<std::size_t>(formatIndex - 1)];
    const std::int32_t longest = std::max(width, height);
    // Icons and cursors keep a side of at most 256 in one byte.
    if (name == "ico" || name == "cur")
        return longest <= 256;
    // Apple icons come in a few square sizes only.
    if (name == "icns")
        return width == height && width >= 16 && width <= 1024 && (width & (width - 1)) == 0;
    if (name == "webp")
        return longest <= 16383;
    if (name == "jpeg" || name == "jpg")
        return longest <= 65500;
    return true;
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
    if (!ImageFormatHoldsSize(params.formatIndex, bitmap.pixels.width, bitmap.pixels.height))
        return ImageError::TooLarge;
    const QByteArray& format = names[static_cast<std::size_t>(params.formatIndex - 1)];
    if (format == kSvgFormat)
        return WriteSvg(path, bitmap.plan, params);
    if (IsJpeg(format))
        return WriteJpeg(path, FigureImage(bitmap.pixels), params);
    return WritePixels(path, FigureImage(bitmap.pixels), format, params);
}

bool SystemImageClipboard::PutImage(const QImage& image)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return false;
    clipboard->setMimeData(new FigureMimeData(image), QClipboard::Clipboard);
    const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
    return data != nullptr && data->hasImage();
}

ImageError ExportImageToClipboard(const ImageBitmap& bitmap, ImageClipboard& clipboard)
{
    if (!HasPixels(bitmap.pixels))
        return ImageError::NoBitmap;
    return clipboard.PutImage(FigureImage(bitmap.pixels)) ? ImageError::None : ImageError::NoClipboard;
}
