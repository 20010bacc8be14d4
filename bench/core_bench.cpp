// The computation alone, and one settings save on an existing file. The
// reference in the same run is a plain copy of the settings file's bytes to a
// new file (open, write, close, no flush), so the ratio says what the
// read-modify-write and the flushed replacement cost on top of a bare write.
#include "fileio/filereplace.h"
#include "model/geometry.h"
#include "model/record.h"
#include "settings/settings.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

std::string BenchFolder()
{
    const auto folder = std::filesystem::temp_directory_path() / "decagon-bench";
    std::filesystem::create_directories(folder);
    return folder.string();
}

DecagonRecord Defaults()
{
    DecagonRecord record;
    SetRecordDefaults(record);
    return record;
}

void ComputeGeometryOnly(benchmark::State& state)
{
    DecagonRecord record = Defaults();
    double height = 254.884;
    for (auto _ : state) {
        record.expectedHeight = height;
        ComputeGeometry(record);
        benchmark::DoNotOptimize(record);
        height += 0.001;
    }
}
BENCHMARK(ComputeGeometryOnly);

void SaveSettingsOnExistingFile(benchmark::State& state)
{
    const std::string path = BenchFolder() + "/Vanteo.ini";
    DecagonRecord record = Defaults();
    ComputeGeometry(record);
    SaveSettings(&record, 0, 0, path);
    double height = 254.884;
    for (auto _ : state) {
        record.expectedHeight = height; // a new value every time, so the file really changes
        ComputeGeometry(record);
        SaveSettings(&record, 0, 0, path);
        height += 0.001;
    }
}
BENCHMARK(SaveSettingsOnExistingFile)->Unit(benchmark::kMicrosecond);

void ReferencePlainWrite(benchmark::State& state)
{
    const std::string path = BenchFolder() + "/plain.ini";
    DecagonRecord record = Defaults();
    ComputeGeometry(record);
    SaveSettings(&record, 0, 0, BenchFolder() + "/source.ini");
    std::string bytes;
    ReadWholeFile(BenchFolder() + "/source.ini", bytes);
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}
BENCHMARK(ReferencePlainWrite)->Unit(benchmark::kMicrosecond);

} // namespace
