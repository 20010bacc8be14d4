#include "export/svgfile.h"

#include "fileio/filereplace.h"
#include "render/svg.h"

int ExportSvgFileTo(const DecagonRecord& record, const std::string& path, UserPrompts& prompts)
{
    if (path.empty())
        return 0;
    std::string text;
    if (!DecagonSvgText(record, text))
        return ShowErrorBox(prompts, "Cannot create the image");
    return ReportFileSaved(prompts, path, ReplaceFileContents(path, text));
}
