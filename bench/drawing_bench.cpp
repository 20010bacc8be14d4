// The true-scale drawings made in memory: the printable PDF and the DXF
// beside the SVG writer in the same run, for the default figure (height
// 254.884, four A4 pages) and for 2000 mm on A4 (121 pages). Each reports
// the bytes it makes ("bytes"); the targets are a default PDF under 1 ms and
// the 2000 mm PDF under 100 ms and 1 MB.
#include "export/truescalefile.h"
#include "render/svg.h"
#include "tests/support/testsupport.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

PdfOptions OnA4()
{
    PdfOptions options;
    options.paper = PaperOfKind(PaperKind::A4);
    return options;
}

template <typename Make> void Drawing(benchmark::State& state, double height, Make make)
{
    const DecagonRecord record = RecordWithHeight(height);
    std::string bytes;
    for (auto _ : state) {
        if (!make(record, bytes))
            state.SkipWithError("nothing drawn");
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

int Svg(const DecagonRecord& record, std::string& bytes) { return DecagonSvgText(record, bytes); }
int Pdf(const DecagonRecord& record, std::string& bytes) { return DecagonPdfBytes(record, OnA4(), bytes); }
int Dxf(const DecagonRecord& record, std::string& bytes)
{
    return DecagonDxfText(record, LengthUnit::Millimetre, bytes);
}

void SvgDefault(benchmark::State& state) { Drawing(state, kDefaultExpectedHeight, Svg); }
void PdfDefault(benchmark::State& state) { Drawing(state, kDefaultExpectedHeight, Pdf); }
void DxfDefault(benchmark::State& state) { Drawing(state, kDefaultExpectedHeight, Dxf); }
void Svg2000(benchmark::State& state) { Drawing(state, 2000.0, Svg); }
void Pdf2000OnA4(benchmark::State& state) { Drawing(state, 2000.0, Pdf); }
void Dxf2000(benchmark::State& state) { Drawing(state, 2000.0, Dxf); }

} // namespace

BENCHMARK(SvgDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(PdfDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(DxfDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(Svg2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Pdf2000OnA4)->Unit(benchmark::kMicrosecond);
BENCHMARK(Dxf2000)->Unit(benchmark::kMicrosecond);
