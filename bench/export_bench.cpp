// The image export's save step at two heights, JPEG and BMP, beside
// libjpeg-turbo's own encoder (cjpeg -quality 95 -sample 1x1, full-resolution
// colour like the export) on the same pixels in the same run: the ratio
// JpegExport / CjpegReference is what matters, since the machine is shared
// and absolute times drift. QtJpegWriter is Qt's own JPEG writer at the same
// quality (with its half-resolution colour), as the export once wrote. The
// counter psnr_dB compares the decoded file with the figure's pixels, which
// the BMP holds unchanged. JpegEncodeOnly is the export's encoding alone,
// without writing and syncing the file. On a busy machine compare the CPU
// column of the export with child_cpu_ms, cjpeg's own processor time.
//
// PNG: PngFile is the program's encoder writing the file; QtPngWriter is
// Qt's writer at the export's quality of 95 (which it takes as zlib level 0,
// no compression), as the export wrote PNG before; ZlibRows6 is the bare
// RGB rows deflated at zlib's level 6 in this process, and PillowPng6 and
// MagickPng the files of Pillow at level 6 and ImageMagick's defaults (their
// processor time in child_cpu_ms, reading the PPM included; Debian's
// ImageMagick policy refuses side 10000). The counter
// bytes is each file's size. WebpLossless is Qt's WebP writer at the quality
// the export gives WebP (lossless). TiffEncode is the program's TIFF encoder
// (Deflate) into memory, QtTiffWriter Qt's with LZW, as
// the export asks it.
//
// BaselineJpegEncode is the JPEG encoder of Windows and the page into memory,
// StbJpegEncode stb_image_write's writer, whose bytes it writes, on the same
// pixels (with the RGB copy stb needs).
#include "export/baselinejpeg.h"
#include "export/formatquality.h"
#include "export/imageexport.h"
#include "export/jpegencoder.h"
#include "export/pngencoder.h"
#include "export/tiffencoder.h"
#include "model/geometry.h"
#include "qt/qtcanvas.h"
#include "qt/qtimagelayer.h"
#include "render/painter.h"
#include "tests/qt/imagepsnr.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>

#include <benchmark/benchmark.h>

#include <zlib.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include <cstdio>
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

void BaselineJpegEncode(benchmark::State& state)
{
    const Canvas& canvas = Figure(HeightOf(state)).canvas;
    for (auto _ : state) {
        StringSink sink;
        if (!WriteBaselineJpeg(RowsOf(canvas), 95, sink))
            state.SkipWithError("encoding failed");
    }
}

void StbJpegEncode(benchmark::State& state)
{
    const Canvas& canvas = Figure(HeightOf(state)).canvas;
    for (auto _ : state) {
        std::vector<unsigned char> rgb;
        rgb.reserve(static_cast<std::size_t>(canvas.width) * static_cast<std::size_t>(canvas.height) * 3);
        for (int y = 0; y < canvas.height; ++y)
            for (int x = 0; x < canvas.width; ++x)
                for (const int shift : {16, 8, 0})
                    rgb.push_back(static_cast<unsigned char>(canvas.Row(y)[x] >> shift));
        StringSink sink;
        stbi_write_jpg_to_func(
            [](void* context, void* data, int size) { static_cast<StringSink*>(context)->Write(data, size); }, &sink,
            canvas.width, canvas.height, 3, rgb.data(), 95);
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

std::string FigurePpm(double height)
{
    const std::string ppm = Folder() + "/figure.ppm";
    QImageWriter(QString::fromStdString(ppm), "ppm").write(CanvasImage(Figure(height).canvas));
    return ppm;
}

void SetFileSize(benchmark::State& state, const std::string& path)
{
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}

void PngFile(benchmark::State& state)
{
    const Canvas& pixels = Figure(HeightOf(state)).canvas;
    const std::string path = Folder() + "/figure.png";
    PngSettings settings;
    settings.dotsPerMeter = kFigureDotsPerMeter;
    for (auto _ : state) {
        FILE* file = std::fopen(path.c_str(), "wb");
        const PngSink sink = [file](const unsigned char* data, std::size_t size) {
            return std::fwrite(data, 1, size, file) == size;
        };
        const int written =
            file != nullptr ? WritePng(pixels.Row(0), pixels.width, pixels.height, pixels.stride, settings, sink) : 0;
        if (file == nullptr || std::fclose(file) != 0 || written != 1)
            state.SkipWithError("PNG failed");
    }
    SetFileSize(state, path);
}

void QtWriter(benchmark::State& state, const char* format, int quality, int compression = -1)
{
    const FigureBitmap& figure = Figure(HeightOf(state));
    const std::string path = Folder() + "/qt." + format;
    for (auto _ : state) {
        QImageWriter writer(QString::fromStdString(path), format);
        writer.setQuality(quality);
        writer.setCompression(compression);
        if (!writer.write(FigureImage(figure.canvas)))
            state.SkipWithError("write failed");
    }
    SetFileSize(state, path);
}

void QtPngWriter(benchmark::State& state) { QtWriter(state, "png", 95); }
void QtTiffWriter(benchmark::State& state) { QtWriter(state, "tiff", 95, 1); }

// The program's TIFF encoder, into memory.
void TiffEncode(benchmark::State& state)
{
    const Canvas& pixels = Figure(HeightOf(state)).canvas;
    TiffSettings settings;
    settings.dotsPerInch = 96;
    std::string bytes;
    for (auto _ : state)
        if (!EncodeTiff(pixels.Row(0), pixels.width, pixels.height, pixels.stride, settings, bytes))
            state.SkipWithError("TIFF failed");
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
void WebpLossless(benchmark::State& state) { QtWriter(state, "webp", QualityForFormat("webp", 95)); }

// The RGB rows, each behind a filter byte of 0, deflated at level 6.
void ZlibRows6(benchmark::State& state)
{
    const Canvas& pixels = Figure(HeightOf(state)).canvas;
    std::vector<unsigned char> row(static_cast<std::size_t>(pixels.width) * 3 + 1, 0);
    std::vector<unsigned char> out(1 << 16);
    std::size_t total = 0;
    for (auto _ : state) {
        z_stream stream{};
        deflateInit(&stream, 6);
        total = 0;
        for (std::int32_t y = 0; y <= pixels.height; ++y) {
            const bool last = y == pixels.height;
            if (!last)
                for (std::int32_t x = 0; x < pixels.width; ++x) {
                    const Pixel pixel = pixels.Row(y)[x];
                    row[1 + 3 * static_cast<std::size_t>(x)] = static_cast<unsigned char>(pixel >> 16);
                    row[2 + 3 * static_cast<std::size_t>(x)] = static_cast<unsigned char>(pixel >> 8);
                    row[3 + 3 * static_cast<std::size_t>(x)] = static_cast<unsigned char>(pixel);
                }
            stream.next_in = row.data();
            stream.avail_in = last ? 0 : static_cast<uInt>(row.size());
            do {
                stream.next_out = out.data();
                stream.avail_out = static_cast<uInt>(out.size());
                deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
                total += out.size() - stream.avail_out;
            } while (stream.avail_out == 0);
        }
        deflateEnd(&stream);
    }
    state.counters["bytes"] = static_cast<double>(total);
}

// A program run on the figure's PPM as a reference. The CPU column counts
// this process only; the program's own processor time is child_cpu_ms.
void ChildReference(benchmark::State& state, const std::string& command, const std::string& output)
{
    const double before = ChildrenCpuMs();
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("reference failed (packages libjpeg-turbo-progs, python3-pil, imagemagick)");
    state.counters["child_cpu_ms"] = (ChildrenCpuMs() - before) / static_cast<double>(state.iterations());
    SetFileSize(state, output);
}

void CjpegReference(benchmark::State& state)
{
    const double height = HeightOf(state);
    const std::string ppm = FigurePpm(height), jpeg = Folder() + "/cjpeg.jpg";
    ChildReference(state, "cjpeg -quality 95 -sample 1x1 -outfile '" + jpeg + "' '" + ppm + "'", jpeg);
    state.counters["psnr_dB"] = FilePsnr(CanvasImage(Figure(height).canvas), jpeg);
}

void PillowPng6(benchmark::State& state)
{
    const std::string ppm = FigurePpm(HeightOf(state)), png = Folder() + "/pillow.png";
    ChildReference(state,
                   "/usr/bin/python3 -c \"import sys; from PIL import Image; Image.MAX_IMAGE_PIXELS = None; "
                   "Image.open(sys.argv[1]).save(sys.argv[2], compress_level=6)\" '" +
                       ppm + "' '" + png + "'",
                   png);
}

void MagickPng(benchmark::State& state)
{
    const std::string ppm = FigurePpm(HeightOf(state)), png = Folder() + "/magick.png";
    ChildReference(state, "convert '" + ppm + "' '" + png + "'", png);
}

// Heights in thousandths.
BENCHMARK(JpegExport)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CjpegReference)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(JpegEncodeOnly)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BaselineJpegEncode)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(StbJpegEncode)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(QtJpegWriter)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BmpExport)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PngFile)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(QtPngWriter)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ZlibRows6)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PillowPng6)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MagickPng)->Arg(254884)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TiffEncode)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(QtTiffWriter)->Arg(254884)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WebpLossless)->Arg(254884)->Unit(benchmark::kMillisecond)->UseRealTime();

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
