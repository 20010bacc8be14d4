#include "export/imageexport.h"

#include "render/painter.h"

#include <string>

const FileFilter ImageFileFilters[3] = {
    {"JPeg files (*.jpg)", "*.jpg"},
    {"Bitmap Files (*.bmp)", "*.bmp"},
    {"All Files (*.*)", "*.*"},
};

namespace {

constexpr std::uint16_t kJpegQuality = 95;

std::string AsciiLower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The figure as the image layer's bitmap, painted with the dialog's current
// options; null when there is nothing to draw or it cannot be converted. The
// rendered figure is released here; the layer's bitmap shares its pixels.
std::unique_ptr<ImageBitmap> RenderImageBitmap(DialogView& dialog, DecagonRecord* record)
{
    const std::unique_ptr<FigureBitmap> rendered = RenderFigureBitmap(dialog, record);
    std::unique_ptr<ImageBitmap> bitmap;
    if (!rendered || ConvertToImageBitmap(*rendered, bitmap) != ImageError::None)
        return nullptr;
    return bitmap;
}

} // namespace

ImageError StartImageExport(const std::string& pluginFolder)
{
    SetImagePluginFolder(pluginFolder);
    const ImageError started = StartImageLayer();
    if (started == ImageError::None)
        EnableLzwCompression(true);
    return started;
}

ImageSaveParams ExportSaveParams(std::int32_t formatIndex)
{
    ImageSaveParams params;
    GetDefaultSaveParams(params);
    params.flags = kSaveReplaceExisting;
    params.formatIndex = formatIndex;
    params.quality = kJpegQuality;
    params.baseline = 1;
    params.atomicWrite = 1;
    return params;
}

int ExportImageFile(DialogView& dialog, UserPrompts& prompts)
{
    if (dialog.AttachedRecord() == nullptr)
        return 0;
    const SaveFileRequest request{ImageFileFilters, 3, 1, "jpg"};
    std::string path;
    if (!RunSaveDialog(prompts, request, path))
        return 0;
    return ExportImageFileTo(dialog, path, prompts);
}

int ExportImageFileTo(DialogView& dialog, std::string path, UserPrompts& prompts)
{
    DecagonRecord* record = dialog.AttachedRecord();
    if (record == nullptr || path.empty())
        return 0;

    // A name without a full stop in its file-name part is saved as JPEG.
    if (path.find('.', FileNameStart(path)) == std::string::npos)
        path += ".jpg";
    // The last full stop of the path now lies in its file-name part.
    const std::string extension = AsciiLower(path.substr(path.rfind('.') + 1));

    std::int32_t formatIndex = 0;
    if (extension == "jpg") {
        formatIndex = ImageFormatIndexByName("jpeg");
    } else {
        formatIndex = ImageFormatIndexByName(extension.c_str());
        if (formatIndex == 0)
            return ShowErrorBox(prompts, "This image type is not known");
    }

    // A figure of a size that the format cannot hold cannot be made in it.
    std::int32_t side = 0;
    if (CanvasSideOf(record->expectedHeight, side) != 0 && side > 0 && !ImageFormatHoldsSize(formatIndex, side, side))
        return ShowErrorBox(prompts, "Cannot create the image");

    std::unique_ptr<ImageBitmap> bitmap = RenderImageBitmap(dialog, record);
    if (!bitmap)
        return ShowErrorBox(prompts, "Cannot create the image");
    const ImageError saved = SaveImageBitmap(path, *bitmap, ExportSaveParams(formatIndex));
    FreeImageBitmap(bitmap);
    return ReportFileSaved(prompts, path, saved == ImageError::None);
}

int CopyImageToClipboard(DialogView& dialog, UserPrompts& prompts, ImageClipboard& clipboard)
{
    DecagonRecord* record = dialog.AttachedRecord();
    if (record == nullptr)
        return 0;
    std::unique_ptr<ImageBitmap> bitmap = RenderImageBitmap(dialog, record);
    if (!bitmap)
        return 0;
    const ImageError exported = ExportImageToClipboard(*bitmap, clipboard);
    FreeImageBitmap(bitmap);
    if (exported != ImageError::None)
        return ShowErrorBox(prompts, "Cannot copy the image into the clipboad");
    prompts.ShowInformation("Image copied into the clipboad");
    return 1;
}
