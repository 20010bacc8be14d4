#include "qt/urlopener.h"

#include <QDesktopServices>
#include <QUrl>

void DesktopUrlOpener::OpenUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }
