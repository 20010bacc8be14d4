// decagon-cli: the command-line companion of the dialog.
#include "cli/cli.h"
#include "export/imageexport.h"
#include "qt/qtimagemodule.h"
#include "settings/settings.h"
#include "settings/settingslocation.h"

#include <dlfcn.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Qt's image writers, loaded from their module (qt/qtimagemodule.h) the
// first time a format the core does not write is asked for: a run that
// writes text, SVG, JPEG or BMP never loads Qt. The module lies beside the
// program (the build folder) or in the installed library folder. Without it
// Qt's formats are not known, as when one of Qt's plug-ins is missing.
class QtModuleEncoders : public PixelEncoders {
public:
    QtModuleEncoders() = default;
    QtModuleEncoders(const QtModuleEncoders&) = delete;
    QtModuleEncoders& operator=(const QtModuleEncoders&) = delete;
    // The module stays loaded: Qt leaves handlers behind that run at exit.
    ~QtModuleEncoders() override { delete loaded_; }

    std::vector<std::string> FormatNames() override
    {
        return Loaded() != nullptr ? loaded_->FormatNames() : std::vector<std::string>{};
    }
    bool HoldsSize(const std::string& format, std::int32_t width, std::int32_t height) override
    {
        return Loaded() != nullptr && loaded_->HoldsSize(format, width, height);
    }
    bool Encode(const std::string& format, const Canvas& pixels, const ImageSaveParams& params, ByteSink& sink) override
    {
        return Loaded() != nullptr && loaded_->Encode(format, pixels, params, sink);
    }
    ImageError PutOnClipboard(const Canvas&) override { return ImageError::NoClipboard; }

private:
    PixelEncoders* Loaded()
    {
        if (tried_)
            return loaded_;
        tried_ = true;
        for (const std::string& folder : {ProgramFolder, ProgramFolder + "/" DECAGON_QT_IMAGE_MODULE_FROM_PROGRAM}) {
            void* module = dlopen((folder + "/" DECAGON_QT_IMAGE_MODULE).c_str(), RTLD_LAZY | RTLD_LOCAL);
            if (module == nullptr)
                continue;
            const auto entry = reinterpret_cast<QtImageModuleEntry>(dlsym(module, kQtImageModuleEntry));
            loaded_ = entry != nullptr ? entry(ProgramFolder.c_str()) : nullptr;
            return loaded_;
        }
        return nullptr;
    }

    bool tried_ = false;
    PixelEncoders* loaded_ = nullptr;
};

// The image output through the image layer: JPEG, BMP and SVG by the core,
// every other format by Qt's writers once loaded. Needs no display: Qt's
// core application object is made only with the writers, and ends with the
// image.
int WriteImage(DecagonRecord& record, const FigureOptions& shown, const std::string& path, UserPrompts& prompts)
{
    QtModuleEncoders encoders;
    EncoderImageLayer layer(encoders);
    return ExportImageFileTo(&record, shown, path, prompts, layer);
}

} // namespace

int main(int argc, char** argv)
{
    LocateUserSettingsFile(ExecutablePath());
    return RunCli(argc, argv, stdout, stderr, WriteImage);
}
