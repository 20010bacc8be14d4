// Puts the default figure on the clipboard of a real X server through the
// image export's clipboard command, writes the same figure to a PNG file for
// comparison, says "ready" and then serves the clipboard until it is told to
// quit (SIGTERM) or a minute has passed.
#include "export/imageexport.h"
#include "tests/render/fakedialog.h"
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
    FakeDialog dialog;
    dialog.record = &record;
    dialog.checked = {kExternalCircleYesId, kInternalCircleYesId};
    dialog.selectedDiagonal = 1;
    DecagonRecord copy = record;
    RenderFigureBitmap(dialog, &copy)->image.save(QString::fromLocal8Bit(argv[1]), "png");

    PrintingPrompts prompts;
    SystemImageClipboard clipboard;
    if (CopyImageToClipboard(dialog, prompts, clipboard) != 1)
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}
