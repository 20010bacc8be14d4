#include "export/svgfile.h"

#include "export/truescalefile.h"
#include "render/svg.h"

int ExportSvgFileTo(const DecagonRecord& record, const std::string& path, UserPrompts& prompts, LengthUnit unit)
{
    if (path.empty())
        return 0;
    std::string text;
    const int made = DecagonSvgText(record, text, unit);
    return SaveDrawingFile(made, text, path, prompts);
}
