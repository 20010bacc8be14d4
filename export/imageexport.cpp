#include "export/imageexport.h"

#include "render/painter.h"

#include <memory>

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

} // namespace

ImageSaveParams ExportSaveParams(ImageLayer& layer, std::int32_t formatIndex)
{
    ImageSaveParams params;
    layer.GetDefaultSaveParams(params);
    params.replaceExisting = true;
    params.formatIndex = formatIndex;
    params.quality = kJpegQuality;
    params.baseline = true;
    params.atomicWrite = true;
    return params;
}

int ExportImageFile(DecagonRecord* record, const FigureOptions& shown, UserPrompts& prompts, ImageLayer& layer)
{
    if (record == nullptr)
        return 0;
    const SaveFileRequest request{ImageFileFilters, 3, 1, "jpg"};
    std::string path;
    if (!RunSaveDialog(prompts, request, path))
        return 0;
    return ExportImageFileTo(record, shown, path, prompts, layer);
}

int ExportImageFileTo(DecagonRecord* record, const FigureOptions& shown, std::string path, UserPrompts& prompts,
                      ImageLayer& layer)
{
    if (record == nullptr || path.empty())
        return 0;

    // A name without a full stop in its file-name part is saved as JPEG.
    if (path.find('.', FileNameStart(path)) == std::string::npos)
        path += ".jpg";
    // The last full stop of the path now lies in its file-name part.
    const std::string extension = AsciiLower(path.substr(path.rfind('.') + 1));

    std::int32_t formatIndex = 0;
    if (extension == "jpg") {
        formatIndex = layer.FormatIndexByName("jpeg");
    } else {
        formatIndex = layer.FormatIndexByName(extension.c_str());
        if (formatIndex == 0)
            return ShowErrorBox(prompts, "This image type is not known");
    }

    // A figure of a size that the format cannot hold cannot be made in it.
    std::int32_t side = 0;
    if (CanvasSideOf(record->expectedHeight, side) != 0 && side > 0 && !layer.FormatHoldsSize(formatIndex, side, side))
        return ShowErrorBox(prompts, "Cannot create the image");

    std::unique_ptr<FigureBitmap> figure = RenderFigureBitmap(record, shown);
    if (!figure || !HasPixels(figure->canvas))
        return ShowErrorBox(prompts, "Cannot create the image");
    const ImageError saved = layer.SaveBitmap(path, *figure, ExportSaveParams(layer, formatIndex));
    figure.reset();
    return ReportFileSaved(prompts, path, saved == ImageError::None);
}

int CopyImageToClipboard(DecagonRecord* record, const FigureOptions& shown, UserPrompts& prompts, ImageLayer& layer)
{
    if (record == nullptr)
        return 0;
    std::unique_ptr<FigureBitmap> figure = RenderFigureBitmap(record, shown);
    if (!figure || !HasPixels(figure->canvas))
        return 0;
    const ImageError exported = layer.ExportToClipboard(*figure);
    figure.reset();
    if (exported != ImageError::None)
        return ShowErrorBox(prompts, "Cannot copy the image into the clipboad");
    prompts.ShowInformation("Image copied into the clipboad");
    return 1;
}
