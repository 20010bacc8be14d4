#include "render/painter.h"

#include "render/sampledpreview.h"
#include <utility>

void PaintPlan(Canvas& canvas, const FigurePlan& plan)
{
    for (const FigureElement& element : plan.elements) {
        switch (element.kind) {
        case FigureElementKind::Fill:
            FillRect(canvas, element.box, element.color);
            break;
        case FigureElementKind::Ellipse:
            DrawEllipse(canvas, element.box, element.penStyle, element.color, element.interior);
            break;
        case FigureElementKind::Segment:
            DrawSegment(canvas, element.from, element.to, element.color);
            break;
        }
    }
}

void PaintFigure(Canvas& canvas, const DecagonRecord& record)
{
    FigurePlan plan;
    if (PlanFigure(record, plan))
        PaintPlan(canvas, plan);
}

void DrawVertexFan(Canvas& canvas, const DecagonRecord& record, int startRow, int colorRow)
{
    FigurePlan plan;
    if (!PlanFrame(record, plan))
        return;
    PlanVertexFan(plan, record, startRow, colorRow);
    PaintPlan(canvas, plan);
}

void DrawAllFans(Canvas& canvas, const DecagonRecord& record)
{
    FigurePlan plan;
    if (!PlanFrame(record, plan))
        return;
    PlanAllFans(plan, record);
    PaintPlan(canvas, plan);
}

int PaintPreviewBox(const DecagonRecord& record, Canvas& box)
{
    FigurePlan plan;
    box = Canvas{};
    if (!PlanFigure(record, plan) || !MakeCanvas(kPreviewSize, kPreviewSize, box)) {
        box = Canvas{};
        return 0;
    }
    // Only the pixels that the box shows are worked out: the figure is never
    // painted at its natural size here, so any height previews at once.
    SamplePreview(plan, box);
    return 1;
}

PixelPoint PreviewBoxPosition(std::int32_t clientRight, std::int32_t clientTop)
{
    return {clientRight - kPreviewRightMargin, clientTop + kPreviewTopMargin};
}

std::unique_ptr<FigureBitmap> RenderFigureBitmap(DecagonRecord* record, const FigureOptions& shown)
{
    if (record == nullptr)
        return nullptr;
    record->showExternalCircle = shown.showExternalCircle;
    record->showInternalCircle = shown.showInternalCircle;
    record->diagonalChoice = shown.diagonalChoice;

    auto bitmap = std::make_unique<FigureBitmap>();
    if (!PlanFigure(*record, shown, bitmap->plan) || bitmap->plan.side == 0 ||
        !MakeCanvas(bitmap->plan.side, bitmap->plan.side, bitmap->canvas))
        return nullptr;
    PaintPlan(bitmap->canvas, bitmap->plan);
    return bitmap;
}
