// The program's entry point: the Qt application, the desktop's services and
// start-up. The program reads no command-line options.
#include "app/startup.h"
#include "resources/artwork.h"
#include "resources/dialogtemplate.h"
#include "settings/settings.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("decagon"));
    QApplication::setDesktopFileName(QStringLiteral("decagon"));
    QApplication::setWindowIcon(QIcon(IconResourcePath(kProgramIconId))); // the error box's too

    DesktopUrlOpener urlOpener;
    SystemImageClipboard clipboard;
    return RunProgram(ExecutablePath(), {&urlOpener, &clipboard, nullptr});
}
