// The figure at three heights: the whole preview (DrawPreview, which works
// out the 250 x 250 box's pixels without a canvas of the height's side; see
// preview_bench for it beside painting and copying), and the painting alone
// on a canvas made beforehand, as the image export does it. The references in the
// same run are the least any raster of that side costs: making a QImage of
// the side and filling it once, and filling an existing one once. The ratio
// says how many plain fills the figure is worth.
#include "model/geometry.h"
#include "model/record.h"
#include "render/canvas.h"
#include "render/dialogview.h"
#include "render/painter.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

constexpr double kHeights[] = {254.884, 2000.0, 10000.0};

DecagonRecord RecordFor(const benchmark::State& state)
{
    DecagonRecord record;
    SetRecordDefaults(record); // both circles and all ninety diagonals
    record.expectedHeight = kHeights[state.range(0)];
    ComputeGeometry(record);
    return record;
}

int SideFor(const benchmark::State& state) { return static_cast<int>(kHeights[state.range(0)]); }

class NullDialog : public DialogView {
public:
    DecagonRecord* AttachedRecord() override { return nullptr; }
    bool IsButtonChecked(int) const override { return true; }
    std::int32_t SelectedItemData(int) const override { return 1; }
    QRect ClientRect() const override { return QRect(0, 0, 800, 600); }
    void PresentPreview(const QImage& box, QPoint) override { pixel = box.pixel(125, 125); }
    QRgb pixel = 0;
};

void Label(benchmark::State& state) { state.SetLabel("side " + std::to_string(SideFor(state))); }

void DrawPreviewWhole(benchmark::State& state)
{
    const DecagonRecord record = RecordFor(state);
    NullDialog dialog;
    for (auto _ : state) {
        DrawPreview(dialog, &record);
        benchmark::DoNotOptimize(dialog.pixel);
    }
    Label(state);
}
BENCHMARK(DrawPreviewWhole)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void ReferenceMakeAndFill(benchmark::State& state)
{
    const int side = SideFor(state);
    for (auto _ : state) {
        QImage image(side, side, QImage::Format_RGB32);
        image.fill(0xFF000000u);
        benchmark::DoNotOptimize(image.constBits());
    }
    Label(state);
}
BENCHMARK(ReferenceMakeAndFill)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void PaintFigureOnCanvas(benchmark::State& state)
{
    const DecagonRecord record = RecordFor(state);
    Canvas canvas;
    MakeCanvas(SideFor(state), SideFor(state), canvas);
    for (auto _ : state) {
        PaintFigure(canvas, record);
        benchmark::DoNotOptimize(canvas.image.constBits());
    }
    Label(state);
}
BENCHMARK(PaintFigureOnCanvas)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void ReferenceFillOnly(benchmark::State& state)
{
    QImage image(SideFor(state), SideFor(state), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(0xFF000000u);
        benchmark::DoNotOptimize(image.constBits());
    }
    Label(state);
}
BENCHMARK(ReferenceFillOnly)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace
