// One preview of the figure at four heights, by the two ways of making the
// 250 x 250 box: painting the figure at its natural size and copying it
// scaled (PaintThenCopy, the reference in the same run), and computing only
// the pixels the box shows (Sampled). Both include planning the figure and
// the box's own canvas. The counter peak_MB is the growth of the process's
// resident memory during the run. At 39746 the painted canvas takes about
// 6 GB, so that case runs once; at 1e9 no canvas can be had at all and
// PaintThenCopy reports it.
#include "model/geometry.h"
#include "model/record.h"
#include "render/canvas.h"
#include "render/figure.h"
#include "render/painter.h"
#include "render/sampledpreview.h"
#include "tests/support/testsupport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

constexpr double kHeights[] = {254.884, 10000.0, 39746.0, 1e9};

// The defaults (both circles and all ninety diagonals) at the case's height.
DecagonRecord RecordFor(const benchmark::State& state) { return RecordWithHeight(kHeights[state.range(0)]); }

// A line of /proc/self/status in KiB, such as VmRSS or VmHWM.
long StatusKiB(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(key);
    while (std::getline(status, line))
        if (line.compare(0, length, key) == 0 && line.size() > length && line[length] == ':')
            return std::stol(line.substr(length + 1));
    return 0;
}

// Resets the resident high-water mark to the current resident size.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

template <typename Preview> void Run(benchmark::State& state, Preview preview)
{
    const DecagonRecord record = RecordFor(state);
    Canvas box;
    ResetPeak();
    const long before = StatusKiB("VmRSS");
    for (auto _ : state) {
        if (!preview(record, box)) {
            state.SkipWithError("no canvas for this height");
            break;
        }
        benchmark::DoNotOptimize(box.pixels.get());
    }
    state.counters["peak_MB"] = static_cast<double>(StatusKiB("VmHWM") - before) / 1024.0;
    char label[64];
    std::snprintf(label, sizeof label, "height %g", record.expectedHeight);
    state.SetLabel(label);
}

bool PaintThenCopy(const DecagonRecord& record, Canvas& out)
{
    FigurePlan plan;
    Canvas canvas, box;
    if (!PlanFigure(record, plan) || !MakeCanvas(plan.side, plan.side, canvas) ||
        !MakeCanvas(kPreviewSize, kPreviewSize, box))
        return false;
    PaintPlan(canvas, plan);
    const auto side = static_cast<std::uint32_t>(plan.side);
    const FittedSize fitted = FitIntoBox(side, side, kPreviewSize, kPreviewSize);
    FillRect(box, {0, 0, kPreviewSize, kPreviewSize}, kWhite);
    CopyScaled(canvas, box, {0, 0, static_cast<std::int32_t>(fitted.width), static_cast<std::int32_t>(fitted.height)});
    out = box;
    return true;
}

bool Sampled(const DecagonRecord& record, Canvas& out)
{
    FigurePlan plan;
    Canvas box;
    if (!PlanFigure(record, plan) || !MakeCanvas(kPreviewSize, kPreviewSize, box))
        return false;
    SamplePreview(plan, box);
    out = box;
    return true;
}

void PreviewPaintThenCopy(benchmark::State& state) { Run(state, PaintThenCopy); }
void PreviewSampled(benchmark::State& state) { Run(state, Sampled); }

BENCHMARK(PreviewPaintThenCopy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewPaintThenCopy)->Arg(2)->Arg(3)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewSampled)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace
