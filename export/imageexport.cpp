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

std::size_t FileNameStart(const std::string& path)
{
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? 0 : cut + 1;
}

std::string AsciiLower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

} // namespace

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
    const std::size_t nameStart = FileNameStart(path);
    if (path.find('.', nameStart) == std::string::npos)
        path += ".jpg";
    const std::string fileName = path.substr(nameStart);
    const std::string extension = AsciiLower(fileName.substr(fileName.rfind('.') + 1));

    std::int32_t formatIndex = 0;
    if (extension == "jpg") {
        formatIndex = ImageFormatIndexByName("jpeg");
    } else {
        formatIndex = ImageFormatIndexByName(extension.c_str());
        if (formatIndex == 0)
            return ShowErrorBox(prompts, "This image type is not known");
    }

    std::unique_ptr<FigureBitmap> rendered = RenderFigureBitmap(dialog, record);
    if (!rendered)
        return ShowErrorBox(prompts, "Cannot create the image");
    std::unique_ptr<ImageBitmap> bitmap;
    if (ConvertToImageBitmap(*rendered, bitmap) != ImageError::None) {
        rendered.reset();
        return ShowErrorBox(prompts, "Cannot create the image");
    }

    const ImageError saved = SaveImageBitmap(path, *bitmap, ExportSaveParams(formatIndex));

    rendered.reset();
    FreeImageBitmap(bitmap);

    if (saved != ImageError::None)
        return ShowErrorBox(prompts, "Cannot save the file " + fileName);
    prompts.ShowInformation("The file " + fileName + " has been successfully saved");
    return 1;
}

int CopyImageToClipboard(DialogView& dialog, UserPrompts& prompts, ImageClipboard& clipboard)
{
    DecagonRecord* record = dialog.AttachedRecord();
    if (record == nullptr)
        return 0;
    std::unique_ptr<FigureBitmap> rendered = RenderFigureBitmap(dialog, record);
    if (!rendered)
        return 0;
    std::unique_ptr<ImageBitmap> bitmap;
    if (ConvertToImageBitmap(*rendered, bitmap) != ImageError::None) {
        rendered.reset();
        return 0;
    }
    const ImageError exported = ExportImageToClipboard(*bitmap, clipboard);
    rendered.reset();
    FreeImageBitmap(bitmap);
    if (exported != ImageError::None)
        return ShowErrorBox(prompts, "Cannot copy the image into the clipboad");
    prompts.ShowInformation("Image copied into the clipboad");
    return 1;
}
