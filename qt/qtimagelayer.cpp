#include "qt/qtimagelayer.h"

#include "export/formatquality.h"
#include "export/jpegencoder.h"
#include "export/pngencoder.h"
#include "qt/qtcanvas.h"

#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
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

namespace {

bool lzwEnabled = false;

// Whether one of Qt's image plug-ins writes JPEG, as WritableFormats() would
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

// Every format that Qt can write, in Qt's order. Asking loads every image
// plug-in, so the answer is kept.
const std::vector<std::string>& WritableFormats()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const QByteArray& name : QImageWriter::supportedImageFormats())
            list.push_back(name.toStdString());
        return list;
    }();
    return names;
}

// Configures a writer for the format and parameters.
void Configure(QImageWriter& writer, const QByteArray& format, const ImageSaveParams& params)
{
    writer.setFormat(format);
    writer.setQuality(QualityForFormat(format.constData(), params.quality));
    if ((format == "tiff" || format == "tif") && lzwEnabled)
        writer.setCompression(1);
    else if (params.compression != 0)
        writer.setCompression(params.compression);
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

// The quality of the JPEG that the clipboard offers.
constexpr int kClipboardJpegQuality = 95;

QByteArray ClipboardJpeg(const QImage& image)
{
    JpegBytes bytes;
    if (!EncodeJpegImage(image, kClipboardJpegQuality, false, bytes))
        return {};
    return QByteArray(reinterpret_cast<const char*>(bytes.data.get()), static_cast<qsizetype>(bytes.size));
}

QByteArray ClipboardPng(const QImage& image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    std::string bytes;
    if (!EncodePng(reinterpret_cast<const std::uint32_t*>(pixels.constBits()), pixels.width(), pixels.height(),
                   pixels.bytesPerLine(), FigurePngSettings(), bytes))
        return {};
    return QByteArray::fromStdString(bytes);
}

// The image types encoded here, by the same rules as a saved file, when first
// asked for; Qt offers "image/jpg" too, after the name of its writer.
struct OfferedType {
    const char* mimeType;
    QByteArray (*encode)(const QImage& image);
    bool listed; // named among the data's formats
};
const OfferedType kOfferedTypes[] = {
    {"image/png", ClipboardPng, true},
    {"image/jpeg", ClipboardJpeg, true},
    {"image/jpg", ClipboardJpeg, false},
};

// The clipboard's data: the image, from which the clipboard makes every other
// image type that a pasting program asks for. Where the window system's
// clipboard encodes images itself (Wayland), it uses Qt's writers instead.
class FigureMimeData : public QMimeData {
public:
    explicit FigureMimeData(const QImage& image) { setImageData(image); }

    QStringList formats() const override
    {
        QStringList list = QMimeData::formats();
        for (const OfferedType& offered : kOfferedTypes)
            if (offered.listed && !list.contains(QLatin1String(offered.mimeType)))
                list.append(QLatin1String(offered.mimeType));
        return list;
    }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override
    {
        for (const OfferedType& offered : kOfferedTypes) {
            if (mimeType != QLatin1String(offered.mimeType))
                continue;
            QByteArray& bytes = encoded_[mimeType];
            if (bytes.isEmpty())
                bytes = offered.encode(qvariant_cast<QImage>(imageData()));
            return bytes;
        }
        return QMimeData::retrieveData(mimeType, type);
    }

private:
    mutable QHash<QString, QByteArray> encoded_;
};

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

std::vector<std::string> QtImageEncoders::FormatNames() { return WritableFormats(); }

bool QtImageEncoders::HoldsSize(const std::string& name, std::int32_t width, std::int32_t height)
{
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

bool QtImageEncoders::Encode(const std::string& name, const Canvas& pixels, const ImageSaveParams& params,
                             ByteSink& sink)
{
    const QByteArray format = QByteArray::fromStdString(name);
    const QImage image = FigureImage(pixels);
    if (IsJpeg(format)) {
        JpegBytes bytes;
        return EncodeJpegImage(image, params.quality, !params.baseline, bytes) &&
               sink.Write(bytes.data.get(), bytes.size);
    }
    // Qt's writers write, and some seek, through a device of their own: the
    // file itself where there is one, else memory.
    if (sink.Descriptor() >= 0) {
        QFile file;
        if (!file.open(sink.Descriptor(), QIODevice::WriteOnly, QFile::DontCloseHandle))
            return false;
        QImageWriter writer(&file, format);
        Configure(writer, format, params);
        return writer.write(image) && file.flush();
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    Configure(writer, format, params);
    return writer.write(image) && sink.Write(buffer.data().constData(), static_cast<std::size_t>(buffer.size()));
}

ImageError QtImageEncoders::PutOnClipboard(const Canvas& pixels)
{
    return clipboard_ != nullptr && clipboard_->PutImage(FigureImage(pixels)) ? ImageError::None
                                                                              : ImageError::NoClipboard;
}
