// decagon-cli as a script runs it: one whole process, from its start to the
// file written, beside starting /bin/true in the same run (the cost of any
// process at all on this machine; the text, SVG, JPEG and BMP runs should
// stay within 3 times it); and the vector drawing at height 10000,
// beside writing the same bytes through the same file replacement. Compare
// the ratios: the machine is shared and absolute times drift.
#include "fileio/filereplace.h"
#include "model/geometry.h"
#include "render/svg.h"
#include "tests/cli/spawn.h"
#include "tests/support/testsupport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string Folder()
{
    const auto folder = std::filesystem::temp_directory_path() / "decagon-cli-bench";
    std::filesystem::create_directories(folder);
    return folder.string();
}

void Process(benchmark::State& state, const std::vector<std::string>& command)
{
    for (auto _ : state)
        if (SpawnAndWait(command, "/dev/null", "/dev/null") != 0)
            state.SkipWithError("the program failed");
}

// The program measured: the build's, or another build's named by
// DECAGON_CLI (to compare two builds in one run, against the same reference).
std::string Cli()
{
    const char* other = std::getenv("DECAGON_CLI");
    return other != nullptr && *other != '\0' ? other : DECAGON_CLI_PATH;
}

void Image(benchmark::State& state, const char* name)
{
    Process(state, {Cli(), "--height", "254", "--image", Folder() + "/" + name});
}

void TrueReference(benchmark::State& state) { Process(state, {"/bin/true"}); }
void CliCsv(benchmark::State& state) { Process(state, {Cli(), "--csv", Folder() + "/figure.csv"}); }
void CliValues(benchmark::State& state) { Process(state, {Cli()}); }
void CliSvg(benchmark::State& state) { Process(state, {Cli(), "--svg", Folder() + "/figure.svg"}); }
// The formats the core writes, and ones only Qt writes (its module loaded).
void CliJpeg(benchmark::State& state) { Image(state, "figure.jpg"); }
void CliBmp(benchmark::State& state) { Image(state, "figure.bmp"); }
void CliPng(benchmark::State& state) { Image(state, "figure.png"); }
void CliPpm(benchmark::State& state) { Image(state, "figure.ppm"); }

// The drawing's text made and written, as the command line does.
void SvgAt10000(benchmark::State& state)
{
    const DecagonRecord record = RecordWithHeight(10000.0);
    const std::string path = Folder() + "/large.svg";
    std::string svg;
    for (auto _ : state) {
        if (!DecagonSvgText(record, svg) || !ReplaceFileContents(path, svg))
            state.SkipWithError("not written");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * svg.size()));
}

// The drawing's text alone.
void SvgTextAt10000(benchmark::State& state)
{
    const DecagonRecord record = RecordWithHeight(10000.0);
    std::string svg;
    for (auto _ : state) {
        DecagonSvgText(record, svg);
        benchmark::DoNotOptimize(svg.data());
    }
}

// The same bytes written through the same replacement: what any file of
// that size costs.
void SameBytesReference(benchmark::State& state)
{
    std::string svg;
    DecagonSvgText(RecordWithHeight(10000.0), svg);
    const std::string path = Folder() + "/same.svg";
    for (auto _ : state)
        if (!ReplaceFileContents(path, svg))
            state.SkipWithError("not written");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * svg.size()));
}

} // namespace

BENCHMARK(TrueReference)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CliCsv)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CliValues)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CliSvg)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CliJpeg)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CliBmp)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CliPng)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CliPpm)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(SvgAt10000)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(SvgTextAt10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(SameBytesReference)->UseRealTime()->Unit(benchmark::kMicrosecond);
