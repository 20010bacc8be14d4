// The program's entry point on Windows: start-up runs the main dialog over
// the Windows image layer. The program reads no command-line options.
#include "win32/startup.h"
#include "win32/win32imagelayer.h"

namespace {
// The image layer as start-up drives it. Its encoders are compiled in or the
// system's own, so it has no plug-in folder to be told about.
class WindowsImageLibrary : public ImageLibrary {
public:
    void SetPluginFolder(const std::string&) override {}
    bool Start() override { return StartImageLayer() == ImageError::None; }
    void EnableLzwCompression(bool enabled) override { ::EnableLzwCompression(enabled); }
    void Stop() override { StopImageLayer(); }
    ImageLayer* Layer() override { return &layer_; }

private:
    Win32ImageLayer layer_;
};
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WindowsImageLibrary images;
    return RunProgram(instance, images);
}
