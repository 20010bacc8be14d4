#include "export/svgfile.h"

#include "render/svg.h"
#include "settings/filereplace.h"

int ExportSvgFileTo(const DecagonRecord& record, const std::string& path, UserPrompts& prompts)
{
    if (path.empty())
        return 0;
    const auto cut = path.find_last_of("/\\");
    const std::string fileName = cut == std::string::npos ? path : path.substr(cut + 1);
    std::string text;
    if (!DecagonSvgText(record, text))
        return ShowErrorBox(prompts, "Cannot create the image");
    if (!ReplaceFileContents(path, text))
        return ShowErrorBox(prompts, "Cannot save the file " + fileName);
    prompts.ShowInformation("The file " + fileName + " has been successfully saved");
    return 1;
}
