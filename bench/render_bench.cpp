// The figure at three heights: the whole preview (PaintPreviewBox, which
// works out the 250 x 250 box's pixels without a canvas of the height's side;
// see preview_bench for it beside painting and copying), and the painting
// alone on a canvas made beforehand, as the image export does it. The
// references in the same run are the least any raster of that side costs:
// allocating 32-bit pixels of the side and filling them once, and filling
// existing ones once. The ratio says how many plain fills the figure is worth.
#include "model/geometry.h"
#include "model/record.h"
#include "render/canvas.h"
#include "render/painter.h"
#include "tests/support/testsupport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <memory>

namespace {

constexpr double kHeights[] = {254.884, 2000.0, 10000.0};

// The defaults (both circles and all ninety diagonals) at the case's height.
DecagonRecord RecordFor(const benchmark::State& state) { return RecordWithHeight(kHeights[state.range(0)]); }

int SideFor(const benchmark::State& state) { return static_cast<int>(kHeights[state.range(0)]); }

std::size_t PixelsFor(const benchmark::State& state)
{
    return static_cast<std::size_t>(SideFor(state)) * static_cast<std::size_t>(SideFor(state));
}

void Label(benchmark::State& state) { state.SetLabel("side " + std::to_string(SideFor(state))); }

void DrawPreviewWhole(benchmark::State& state)
{
    const DecagonRecord record = RecordFor(state);
    for (auto _ : state) {
        Canvas box;
        PaintPreviewBox(record, box);
        benchmark::DoNotOptimize(PixelAt(box, 125, 125));
    }
    Label(state);
}
BENCHMARK(DrawPreviewWhole)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void ReferenceMakeAndFill(benchmark::State& state)
{
    for (auto _ : state) {
        std::unique_ptr<Pixel[]> pixels(new Pixel[PixelsFor(state)]);
        std::fill(pixels.get(), pixels.get() + PixelsFor(state), 0xFF000000u);
        benchmark::DoNotOptimize(pixels.get());
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
        benchmark::DoNotOptimize(canvas.pixels.get());
    }
    Label(state);
}
BENCHMARK(PaintFigureOnCanvas)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void ReferenceFillOnly(benchmark::State& state)
{
    std::unique_ptr<Pixel[]> pixels(new Pixel[PixelsFor(state)]);
    for (auto _ : state) {
        std::fill(pixels.get(), pixels.get() + PixelsFor(state), 0xFF000000u);
        benchmark::DoNotOptimize(pixels.get());
    }
    Label(state);
}
BENCHMARK(ReferenceFillOnly)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace
