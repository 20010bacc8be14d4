#include "qt/artworkpixmap.h"

#include "resources/artwork.h"

#include <QImageReader>

namespace {
QPixmap ReadWithBuiltInReader(const QString& path, const char* format)
{
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}
} // namespace

QPixmap ArtworkBitmap(int bitmapId) { return ReadWithBuiltInReader(BitmapResourcePath(bitmapId), "bmp"); }

QIcon ArtworkIcon(int iconId) { return QIcon(ReadWithBuiltInReader(IconResourcePath(iconId), "png")); }
