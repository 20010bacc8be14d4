// The program's entry point: the Qt application, the desktop's services and
// start-up. The program reads no command-line options.
#include "qt/artworkpixmap.h"
#include "qt/startup.h"
#include "qt/urlopener.h"
#include "resources/dialogtemplate.h"
#include "settings/settings.h"

#include <QApplication>
#include <QIcon>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {
QtMessageHandler defaultHandler = nullptr;

// While the application starts, a fatal error means there is no window
// system to show anything on: like a dialog that cannot be created, that
// ends the program with status 0, after Qt's own message.
void EndQuietlyOnFatalStart(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        if (defaultHandler != nullptr)
            defaultHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(message));
    std::fflush(stderr);
    std::_Exit(0);
}
} // namespace

int main(int argc, char** argv)
{
    int qtArgc = argc > 0 ? 1 : 0;
    defaultHandler = qInstallMessageHandler(EndQuietlyOnFatalStart);
    QApplication application(qtArgc, argv);
    qInstallMessageHandler(defaultHandler);
    QApplication::setApplicationName(QStringLiteral("decagon"));
    QApplication::setDesktopFileName(QStringLiteral("decagon"));
    QApplication::setWindowIcon(ArtworkIcon(kProgramIconId)); // the error box's too

    // A FIFO whose reader goes away in the middle of an export must fail
    // that export with its message, not end the program.
    std::signal(SIGPIPE, SIG_IGN);

    DesktopUrlOpener urlOpener;
    SystemImageClipboard clipboard;
    return RunProgram(ExecutablePath(), {&urlOpener, &clipboard, nullptr});
}
