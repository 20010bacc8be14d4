#include "resources/artwork.h"

QString BitmapResourcePath(int bitmapId) { return QStringLiteral(":/bitmap/%1").arg(bitmapId); }

QString IconResourcePath(int iconId) { return QStringLiteral(":/icon/%1").arg(iconId); }
