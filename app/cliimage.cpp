#include "app/cliimage.h"

#include "export/imageexport.h"
#include "export/imagelayer.h"
#include "render/dialogview.h"
#include "settings/settings.h"

#include <QCoreApplication>

namespace {

// The dialog's controls as the command line set them: the record's own
// options, which the export copies back into the record unchanged.
class OptionsView : public DialogView {
public:
    explicit OptionsView(DecagonRecord& record) : record_(record) {}
    DecagonRecord* AttachedRecord() override { return &record_; }
    bool IsButtonChecked(int controlId) const override
    {
        return (controlId == kExternalCircleYesId && record_.showExternalCircle == 1) ||
               (controlId == kInternalCircleYesId && record_.showInternalCircle == 1);
    }
    std::int32_t SelectedItemData(int controlId) const override
    {
        return controlId == kDiagonalListId ? record_.diagonalChoice : -1;
    }
    QRect ClientRect() const override { return {}; }
    void PresentPreview(const QImage&, QPoint) override {}

private:
    DecagonRecord& record_;
};

} // namespace

int CliExportImage(DecagonRecord& record, const std::string& path, UserPrompts& prompts)
{
    // The core application object lets Qt find its image plug-ins beside the
    // program too; it needs no display.
    static int argc = 1;
    static char name[] = "decagon-cli";
    static char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    // The layer as the dialog's start-up readies it. Without a JPEG or BMP
    // writer the export itself says which type is not known.
    StartImageExport(ProgramFolder);
    OptionsView view(record);
    return ExportImageFileTo(view, path, prompts);
}
