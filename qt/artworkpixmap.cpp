#include "qt/artworkpixmap.h"

#include "resources/artwork.h"

#include <QImageReader>
#include <QPixmapCache>

namespace {
// Each picture is decoded once: the program's icon serves the application,
// the dialog and the picture in it.
QPixmap ReadWithBuiltInReader(const QString& path, const char* format)
{
    QPixmap pixmap;
    if (QPixmapCache::find(path, &pixmap))
        return pixmap;
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    pixmap = QPixmap::fromImage(reader.read());
    if (!pixmap.isNull())
        QPixmapCache::insert(path, pixmap);
    return pixmap;
}
} // namespace

QPixmap ArtworkBitmap(int bitmapId) { return ReadWithBuiltInReader(BitmapResourcePath(bitmapId), "bmp"); }

QIcon ArtworkIcon(int iconId) { return QIcon(ReadWithBuiltInReader(IconResourcePath(iconId), "png")); }
