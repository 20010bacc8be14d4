// Puts the default figure on the clipboard of a real X server through the
// image export's clipboard command, writes the same figure to a PNG file for
// comparison, says "ready" and then serves the clipboard until it is told to
// quit (SIGTERM) or a minute has passed.
#include "export/imageexport.h"
#include "qt/qtcanvas.h"
#include "qt/qtimagelayer.h"
#include "tests/support/testsupport.h"

#include <QGuiApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <string>

namespace {

class PrintingPrompts : public UserPrompts {
public:
    bool PromptSaveFile(const SaveFileRequest&, std::string&) override { return false; }
    void ShowError(const std::string& text) override { std::printf("error: %s\n", text.c_str()); }
    void ShowInformation(const std::string& text) override { std::printf("information: %s\n", text.c_str()); }
};

void Quit(int) { QCoreApplication::quit(); }

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: clipboard_probe EXPECTED.png\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    std::signal(SIGTERM, Quit);

    // The dialog as it starts: both circles and all diagonals.
    DecagonRecord record = RecordWithHeight(kDefaultExpectedHeight);
    FigureOptions shown = FigureOptionsOf(record);
    shown.showExternalCircle = 1;
    shown.showInternalCircle = 1;
    shown.diagonalChoice = 1;
    DecagonRecord copy = record;
    FigureImage(RenderFigureBitmap(&copy, shown)->canvas).save(QString::fromLocal8Bit(argv[1]), "png");

    PrintingPrompts prompts;
    SystemImageClipboard clipboard;
    QtImageLayer layer(&clipboard);
    if (CopyImageToClipboard(&record, shown, prompts, layer) != 1)
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}
