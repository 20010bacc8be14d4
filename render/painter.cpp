#include "render/painter.h"

#include "render/sampledpreview.h"

#include <QPoint>
#include <QRect>

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

void DrawPreview(DialogView& dialog, const DecagonRecord* record)
{
    if (record == nullptr)
        return;
    FigurePlan plan;
    Canvas box;
    if (!PlanFigure(*record, plan) || !MakeCanvas(kPreviewSize, kPreviewSize, box))
        return;
    // Only the pixels that the box shows are worked out: the figure is never
    // painted at its natural size here, so any height previews at once.
    SamplePreview(plan, reinterpret_cast<std::uint32_t*>(box.image.bits()), kPreviewSize, kPreviewSize,
                  box.image.bytesPerLine() / 4);

    // The client rectangle's right edge is exclusive, as its width says.
    const QRect client = dialog.ClientRect();
    const QPoint where(client.x() + client.width() - kPreviewRightMargin, client.y() + kPreviewTopMargin);
    dialog.PresentPreview(box.image, where);
}

std::unique_ptr<FigureBitmap> RenderFigureBitmap(DialogView& dialog, DecagonRecord* record)
{
    if (record == nullptr)
        return nullptr;
    record->showExternalCircle = dialog.IsButtonChecked(kExternalCircleYesId) ? 1 : 0;
    record->showInternalCircle = dialog.IsButtonChecked(kInternalCircleYesId) ? 1 : 0;
    record->diagonalChoice = dialog.SelectedItemData(kDiagonalListId);

    auto bitmap = std::make_unique<FigureBitmap>();
    Canvas canvas;
    if (!PlanFigure(*record, bitmap->plan) || bitmap->plan.side == 0 ||
        !MakeCanvas(bitmap->plan.side, bitmap->plan.side, canvas))
        return nullptr;
    PaintPlan(canvas, bitmap->plan);
    bitmap->image = std::move(canvas.image);
    // Set while the image is not shared, so no pixel is copied.
    bitmap->image.setDotsPerMeterX(kFigureDotsPerMeter);
    bitmap->image.setDotsPerMeterY(kFigureDotsPerMeter);
    return bitmap;
}
