#include "qt/qtimagemodule.h"

#include "qt/qtimagelayer.h"

#include <QCoreApplication>

#include <new>

namespace {

int applicationArgc = 1;
char applicationName[] = "decagon-cli";
char* applicationArgv[] = {applicationName, nullptr};

// The encoders with the application object they live in.
class ModuleEncoders : public QtImageEncoders {
public:
    explicit ModuleEncoders(const char* pluginFolder)
        : QtImageEncoders(nullptr), application_(applicationArgc, applicationArgv)
    {
        // Without a JPEG or BMP writer in Qt the layer still writes those
        // itself; only Qt's own formats may then be missing.
        StartImageExport(pluginFolder != nullptr ? pluginFolder : "");
    }

private:
    QCoreApplication application_;
};

} // namespace

extern "C" __attribute__((visibility("default"))) PixelEncoders* DecagonQtImageEncoders(const char* pluginFolder)
{
    // The entry's type, checked where it is defined.
    [[maybe_unused]] const QtImageModuleEntry entry = DecagonQtImageEncoders;
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    return new (std::nothrow) ModuleEncoders(pluginFolder);
}
