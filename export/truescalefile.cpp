#include "export/truescalefile.h"

#include "fileio/filereplace.h"
#include "render/dxf.h"

PdfOptions SystemPdfOptions()
{
    PdfOptions options;
    options.paper = SystemPaper();
    return options;
}

int DecagonPdfBytes(const DecagonRecord& record, const PdfOptions& options, std::string& pdf)
{
    pdf.clear();
    FigurePlan plan;
    if (!PlanExactFigure(record, plan))
        return 0;
    return FigurePdfBytes(plan, options, pdf);
}

int DecagonDxfText(const DecagonRecord& record, LengthUnit unit, std::string& dxf)
{
    dxf.clear();
    FigurePlan plan;
    if (!PlanExactFigure(record, plan))
        return 0;
    return FigureDxfText(plan, unit, dxf);
}

int SaveDrawingFile(int made, const std::string& bytes, const std::string& path, UserPrompts& prompts)
{
    if (!made)
        return ShowErrorBox(prompts, "Cannot create the image");
    return ReportFileSaved(prompts, path, ReplaceFileContents(path, bytes));
}

int ExportPdfFileTo(const DecagonRecord& record, const std::string& path, UserPrompts& prompts,
                    const PdfOptions& options)
{
    if (path.empty())
        return 0;
    std::string pdf;
    const int made = DecagonPdfBytes(record, options, pdf);
    return SaveDrawingFile(made, pdf, path, prompts);
}

int ExportDxfFileTo(const DecagonRecord& record, const std::string& path, UserPrompts& prompts, LengthUnit unit)
{
    if (path.empty())
        return 0;
    std::string dxf;
    const int made = DecagonDxfText(record, unit, dxf);
    return SaveDrawingFile(made, dxf, path, prompts);
}
