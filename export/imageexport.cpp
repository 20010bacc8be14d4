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

// The figure as the image layer's bitmap, painted with the options shown;
// null when there is nothing to draw or it cannot be converted. The rendered
// figure is released here; the layer's bitmap shares its pixels.
std::unique_ptr<ImageBitmap> RenderImageBitmap(DecagonRecord* record, const FigureOptions& shown)
{
    const std::unique_ptr<FigureBitmap> rendered = RenderFigureBitmap(record, shown);
    std::unique_ptr<ImageBitmap> bitmap;
    if (!rendered || ConvertToImageBitmap(*rendered, bitmap) != ImageError::None)
        return nullptr;
    return bitmap;
}

} // namespace

ImageError ConvertToImageBitmap(const FigureBitmap& rendered, std::unique_ptr<ImageBitmap>& bitmap)
{
    bitmap.reset();
    if (!HasPixels(rendered.canvas))
        return ImageError::NoBitmap;
    bitmap = std::make_unique<ImageBitmap>();
    bitmap->pixels = rendered.canvas;
    bitmap->plan = rendered.plan;
    return ImageError::None;
}

void FreeImageBitmap(std::unique_ptr<ImageBitmap>& bitmap)
{
    if (bitmap) {
        bitmap->pixels = Canvas{};
        bitmap->plan = FigurePlan{};
    }
    bitmap.reset();
}

ImageSaveParams ExportSaveParams(ImageLayer& layer, std::int32_t formatIndex)
{
    ImageSaveParams params;
    layer.GetDefaultSaveParams(params);
    params.flags = kSaveReplaceExisting;
    params.formatIndex = formatIndex;
    params.quality = kJpegQuality;
    params.baseline = 1;
    params.atomicWrite = 1;
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

    std::unique_ptr<ImageBitmap> bitmap = RenderImageBitmap(record, shown);
    if (!bitmap)
        return ShowErrorBox(prompts, "Cannot create the image");
    const ImageError saved = layer.SaveBitmap(path, *bitmap, ExportSaveParams(layer, formatIndex));
    FreeImageBitmap(bitmap);
    return ReportFileSaved(prompts, path, saved == ImageError::None);
}

int CopyImageToClipboard(DecagonRecord* record, const FigureOptions& shown, UserPrompts& prompts, ImageLayer& layer)
{
    if (record == nullptr)
        return 0;
    std::unique_ptr<ImageBitmap> bitmap = RenderImageBitmap(record, shown);
    if (!bitmap)
        return 0;
    const ImageError exported = layer.ExportToClipboard(*bitmap);
    FreeImageBitmap(bitmap);
    if (exported != ImageError::None)
        return ShowErrorBox(prompts, "Cannot copy the image into the clipboad");
    prompts.ShowInformation("Image copied into the clipboad");
    return 1;
}
