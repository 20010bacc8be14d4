#include "qt/startup.h"

#include "dialog/startup.h"
#include "qt/maindialog.h"
#include "qt/qtprompts.h"

namespace {
// Qt's image layer as start-up drives it.
class QtImageLibrary : public ImageLibrary {
public:
    explicit QtImageLibrary(ImageClipboard* clipboard) : layer_(clipboard) {}
    void SetPluginFolder(const std::string& folder) override { SetImagePluginFolder(folder); }
    bool Start() override { return StartImageLayer() == ImageError::None; }
    void EnableLzwCompression(bool enabled) override { ::EnableLzwCompression(enabled); }
    void Stop() override { StopImageLayer(); }
    ImageLayer* Layer() override { return &layer_; }

private:
    QtImageLayer layer_;
};
} // namespace

int RunProgram(const std::string& executablePath, const ProgramServices& services)
{
    QtUserPrompts errorPrompts;
    QtImageLibrary images(services.clipboard);
    return RunProgramSequence(executablePath, images, services.prompts != nullptr ? *services.prompts : errorPrompts,
                              [&services](DecagonRecord* record, ImageLibrary& library) {
                                  MainDialog dialog(record, *services.urlOpener, services.prompts, library.Layer());
                                  RunUnowned(dialog);
                              });
}
