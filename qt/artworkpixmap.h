#pragma once

#include <QIcon>
#include <QPixmap>

// The compiled-in picture and icon, read with their own format's reader
// only. Qt, given a path without a suffix or even a format name, loads each
// of its image plug-ins to ask whether it reads the data, before it tries
// its own readers: a dozen libraries at every start for two small images.
QPixmap ArtworkBitmap(int bitmapId);
QIcon ArtworkIcon(int iconId);
