#include "qt/urlopener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

void DesktopUrlOpener::OpenUrl(const std::string& url)
{
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(url.data(), static_cast<qsizetype>(url.size()))));
}
