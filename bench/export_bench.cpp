// The image export's save step at two heights, JPEG and BMP, beside
// libjpeg-turbo's own encoder (cjpeg -quality 95) on the same pixels in the
// same run: the ratio JpegExport / CjpegReference is what matters, since the
// machine is shared and absolute times drift.
#include "export/imageexport.h"
#include "model/geometry.h"
#include "qt/qtcanvas.h"
#include "qt/qtimagelayer.h"
#include "render/painter.h"

#include <QGuiApplication>
#include <QImageWriter>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace {

std::string Folder()
{
    const auto folder = std::filesystem::temp_directory_path() / "decagon-export-bench";
    std::filesystem::create_directories(folder);
    return folder.string();
}

// The rendered figure for a height, made once per height.
const ImageBitmap& Figure(double height)
{
    static std::map<double, ImageBitmap> figures;
    auto found = figures.find(height);
    if (found == figures.end()) {
        DecagonRecord record;
        SetRecordDefaults(record);
        record.expectedHeight = height;
        ComputeGeometry(record);
        const auto rendered = RenderFigureBitmap(&record, FigureOptionsOf(record));
        std::unique_ptr<ImageBitmap> bitmap;
        ConvertToImageBitmap(*rendered, bitmap);
        found = figures.emplace(height, std::move(*bitmap)).first;
    }
    return found->second;
}

void Save(benchmark::State& state, const char* format)
{
    const double height = static_cast<double>(state.range(0)) / 1000.0;
    const ImageBitmap& figure = Figure(height);
    QtImageLayer layer;
    const ImageSaveParams params = ExportSaveParams(layer, ImageFormatIndexByName(format));
    const std::string path = Folder() + "/figure." + format;
    for (auto _ : state)
        if (SaveImageBitmap(path, figure, params) != ImageError::None)
            state.SkipWithError("save failed");
}

void JpegExport(benchmark::State& state) { Save(state, "jpeg"); }
void BmpExport(benchmark::State& state) { Save(state, "bmp"); }

void CjpegReference(benchmark::State& state)
{
    const double height = static_cast<double>(state.range(0)) / 1000.0;
    const std::string ppm = Folder() + "/figure.ppm";
    QImageWriter(QString::fromStdString(ppm), "ppm").write(CanvasImage(Figure(height).pixels));
    const std::string command = "cjpeg -quality 95 -outfile '" + Folder() + "/cjpeg.jpg' '" + ppm + "'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cjpeg failed (package libjpeg-turbo-progs)");
}

// Heights in thousandths.
BENCHMARK(JpegExport)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CjpegReference)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BmpExport)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
