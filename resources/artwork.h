#pragma once

#include <QString>

// Where the compiled-in artwork lies in Qt's resource system.
QString BitmapResourcePath(int bitmapId); // ":/bitmap/1000"
QString IconResourcePath(int iconId);     // ":/icon/1071"
