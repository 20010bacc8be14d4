// The program's entry point on Windows: start-up runs the main dialog. The
// program reads no command-line options.
#include "win32/startup.h"

namespace {
// Until the Windows image layer is wired in: the image commands do nothing.
class NoImageLibrary : public ImageLibrary {
public:
    void SetPluginFolder(const std::string&) override {}
    bool Start() override { return true; }
    void EnableLzwCompression(bool) override {}
    void Stop() override {}
    ImageLayer* Layer() override { return nullptr; }
};
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    NoImageLibrary images;
    return RunProgram(instance, images);
}
