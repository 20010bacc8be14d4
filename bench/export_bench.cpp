// The image export's save step at two heights, JPEG and BMP, beside
// libjpeg-turbo's own encoder (cjpeg -quality 95 -sample 1x1, full-resolution
// colour like the export) on the same pixels in the same run: the ratio
// JpegExport / CjpegReference is what matters, since the machine is shared
// and absolute times drift. QtJpegWriter is Qt's own JPEG writer at the same
// quality (with its half-resolution colour), as the export once wrote. The
// counter psnr_dB compares the decoded file with the figure's pixels, which
// the BMP holds unchanged. JpegEncodeOnly is the export's encoding alone,
// without writing and syncing the file. On a busy machine compare the CPU
// column of the export with cjpeg_cpu_ms, cjpeg's own processor time.
#include "export/imageexport.h"
#include "export/jpegencoder.h"
#include "model/geometry.h"
#include "qt/qtcanvas.h"
#include "qt/qtimagelayer.h"
#include "render/painter.h"
#include "tests/qt/imagepsnr.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <sys/resource.h>

namespace {

std::string Folder()
{
    const auto folder = std::filesystem::temp_directory_path() / "decagon-export-bench";
    std::filesystem::create_directories(folder);
    return folder.string();
}

// The rendered figure for a height, made once per height.
const FigureBitmap& Figure(double height)
{
    static std::map<double, FigureBitmap> figures;
    auto found = figures.find(height);
    if (found == figures.end()) {
        DecagonRecord record;
        SetRecordDefaults(record);
        record.expectedHeight = height;
        ComputeGeometry(record);
        const auto rendered = RenderFigureBitmap(&record, FigureOptionsOf(record));
        found = figures.emplace(height, *rendered).first;
    }
    return found->second;
}

// Peak signal-to-noise ratio of a decoded file against the pixels.
double FilePsnr(const QImage& pixels, const std::string& path)
{
    return ImagePsnr(pixels, QImage(QString::fromStdString(path)));
}

// User and system time of the finished child processes, in milliseconds.
double ChildrenCpuMs()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    auto ms = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double HeightOf(const benchmark::State& state) { return static_cast<double>(state.range(0)) / 1000.0; }

void Save(benchmark::State& state, const char* format)
{
    const FigureBitmap& figure = Figure(HeightOf(state));
    QtImageLayer layer;
    const ImageSaveParams params = ExportSaveParams(layer, layer.FormatIndexByName(format));
    const std::string path = Folder() + "/figure." + format;
    for (auto _ : state)
        if (layer.SaveBitmap(path, figure, params) != ImageError::None)
            state.SkipWithError("save failed");
    if (std::string(format) == "jpeg")
        state.counters["psnr_dB"] = FilePsnr(CanvasImage(figure.canvas), path);
}

void JpegExport(benchmark::State& state) { Save(state, "jpeg"); }

// The encoding alone, into memory: what the export adds to writing and
// syncing the file.
void JpegEncodeOnly(benchmark::State& state)
{
    const Canvas& pixels = Figure(HeightOf(state)).canvas;
    JpegSettings settings;
    settings.quality = 95;
    for (auto _ : state) {
        JpegBytes bytes;
        if (!EncodeJpeg(pixels.Row(0), pixels.width, pixels.height, pixels.stride, settings, bytes))
            state.SkipWithError("encoding failed");
        benchmark::DoNotOptimize(bytes.size);
    }
}

void QtJpegWriter(benchmark::State& state)
{
    const FigureBitmap& figure = Figure(HeightOf(state));
    const std::string path = Folder() + "/qt.jpg";
    for (auto _ : state) {
        QImageWriter writer(QString::fromStdString(path), "jpeg");
        writer.setQuality(95);
        if (!writer.write(CanvasImage(figure.canvas)))
            state.SkipWithError("write failed");
    }
    state.counters["psnr_dB"] = FilePsnr(CanvasImage(figure.canvas), path);
}

void BmpExport(benchmark::State& state) { Save(state, "bmp"); }

void CjpegReference(benchmark::State& state)
{
    const double height = static_cast<double>(state.range(0)) / 1000.0;
    const std::string ppm = Folder() + "/figure.ppm";
    QImageWriter(QString::fromStdString(ppm), "ppm").write(CanvasImage(Figure(height).canvas));
    const std::string command = "cjpeg -quality 95 -sample 1x1 -outfile '" + Folder() + "/cjpeg.jpg' '" + ppm + "'";
    const double before = ChildrenCpuMs();
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cjpeg failed (package libjpeg-turbo-progs)");
    // The CPU column counts this process only; cjpeg's own time is here.
    state.counters["cjpeg_cpu_ms"] = (ChildrenCpuMs() - before) / static_cast<double>(state.iterations());
    state.counters["psnr_dB"] = FilePsnr(CanvasImage(Figure(height).canvas), Folder() + "/cjpeg.jpg");
}

// Heights in thousandths.
BENCHMARK(JpegExport)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CjpegReference)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(JpegEncodeOnly)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(QtJpegWriter)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BmpExport)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QImageReader::setAllocationLimit(0); // the PSNR decodes files of 400 MB
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
