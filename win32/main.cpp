// The program's entry point on Windows: start-up runs the main dialog over
// the Windows image layer. The program reads no command-line options.
#include "win32/startup.h"
#include "win32/win32imagelayer.h"

namespace {
// The image layer, started on the first image command instead of before the
// window shows: starting it brings up the system's imaging component, which
// takes longer than opening the whole dialog. Its start cannot fail (its own
// JPEG and BMP writers need nothing of the system), so asking later loses
// nothing. Every image command begins by naming its format, so the calls
// below are the ones that start it; whatever else the layer answers comes
// from Win32ImageLayer unchanged.
class OnDemandImageLayer : public Win32ImageLayer {
public:
    ~OnDemandImageLayer() override { Stop(); }

    void Stop()
    {
        if (started_)
            StopImageLayer();
        started_ = false;
    }

    std::int32_t FormatIndexByName(const char* name) override
    {
        Ready();
        return Win32ImageLayer::FormatIndexByName(name);
    }
    void GetDefaultSaveParams(ImageSaveParams& params) override
    {
        Ready();
        Win32ImageLayer::GetDefaultSaveParams(params);
    }
    ImageError SaveBitmap(const std::string& path, const FigureBitmap& bitmap, const ImageSaveParams& params) override
    {
        Ready();
        return Win32ImageLayer::SaveBitmap(path, bitmap, params);
    }
    ImageError ExportToClipboard(const FigureBitmap& bitmap) override
    {
        Ready();
        return Win32ImageLayer::ExportToClipboard(bitmap);
    }

private:
    void Ready()
    {
        if (!started_)
            started_ = StartImageLayer() == ImageError::None;
    }

    bool started_ = false;
};

// The image layer as start-up drives it. Its encoders are compiled in or the
// system's own, so it has no plug-in folder to be told about.
class WindowsImageLibrary : public ImageLibrary {
public:
    void SetPluginFolder(const std::string&) override {}
    bool Start() override { return true; }
    void EnableLzwCompression(bool enabled) override { ::EnableLzwCompression(enabled); }
    void Stop() override { layer_.Stop(); }
    ImageLayer* Layer() override { return &layer_; }

private:
    OnDemandImageLayer layer_;
};
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WindowsImageLibrary images;
    return RunProgram(instance, images);
}
