// The end-to-end test's helper under wine. It says what the program should
// have produced, from the shared core, and reads back what it did produce
// where only a Windows program can look:
//   e2e_probe settings OUT          the settings file of a first start
//   e2e_probe csv HEIGHT OUT        the text file after a Compute at HEIGHT
//   e2e_probe clipboard HEIGHT      checks the clipboard's device-independent
//                                   bitmap against the figure at HEIGHT with
//                                   the first start's options
//   e2e_probe itemtext TITLE ID     prints the text of the control ID of the
//                                   dialog with that caption (a message box's
//                                   text is control 65535), as UTF-8
// Exit status 0 when done (or equal), 1 when the clipboard differs, 2 on a
// usage error.
#include "export/textfile.h"
#include "model/decagon.h"
#include "render/figureoptions.h"
#include "render/painter.h"
#include "settings/settings.h"
#include "tests/settings/expected.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
bool WriteBytes(const char* path, const std::string& bytes)
{
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// The record after a first start and a Compute at height: the defaults,
// no settings file to read colours from.
DecagonRecord ComputedRecord(double height)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string scratch = std::string(folder) + "decagon-probe-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(scratch.c_str(), nullptr);
    LocateSettingsFile(scratch + "\\probe.exe");
    DecagonRecord record = {};
    InitDecagonRecord(&record);
    record.expectedHeight = height;
    ComputeDecagon(&record);
    DeleteFileA(SettingsFilePath.c_str());
    RemoveDirectoryA(scratch.c_str());
    return record;
}

// The pixel (x, y) of a device-independent bitmap, top row 0, as 0xRRGGBB.
bool DibPixel(const BITMAPINFOHEADER& header, const unsigned char* bits, int x, int y, std::uint32_t& rgb)
{
    const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const int bytesPerPixel = header.biBitCount / 8;
    const std::size_t stride = (static_cast<std::size_t>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    const int row = header.biHeight < 0 ? y : height - 1 - y;
    const unsigned char* at =
        bits + static_cast<std::size_t>(row) * stride + static_cast<std::size_t>(x) * bytesPerPixel;
    rgb = (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[1]) << 8) | at[0];
    return true;
}

int CheckClipboard(double height)
{
    DecagonRecord record = ComputedRecord(height);
    const std::unique_ptr<FigureBitmap> figure = RenderFigureBitmap(&record, FigureOptionsOf(record));
    if (figure == nullptr) {
        std::printf("no figure at height %g\n", height);
        return 1;
    }
    const Canvas& expected = figure->canvas;
    if (!OpenClipboard(nullptr)) {
        std::printf("the clipboard cannot be opened\n");
        return 1;
    }
    int status = 1;
    HANDLE data = GetClipboardData(CF_DIB);
    const auto* header = data != nullptr ? static_cast<const BITMAPINFOHEADER*>(GlobalLock(data)) : nullptr;
    if (header == nullptr) {
        std::printf("the clipboard holds no device-independent bitmap\n");
    } else if (header->biWidth != expected.width ||
               (header->biHeight < 0 ? -header->biHeight : header->biHeight) != expected.height ||
               (header->biBitCount != 24 && header->biBitCount != 32) ||
               (header->biCompression != BI_RGB && header->biCompression != BI_BITFIELDS)) {
        std::printf("bitmap %ld x %ld, %u bits, compression %lu; expected %d x %d\n", header->biWidth, header->biHeight,
                    header->biBitCount, header->biCompression, expected.width, expected.height);
    } else {
        const unsigned char* bits = reinterpret_cast<const unsigned char*>(header) + header->biSize +
                                    (header->biCompression == BI_BITFIELDS ? 12 : 0) +
                                    header->biClrUsed * sizeof(RGBQUAD);
        long differing = 0;
        for (int y = 0; y < expected.height; ++y) {
            for (int x = 0; x < expected.width; ++x) {
                std::uint32_t rgb = 0;
                DibPixel(*header, bits, x, y, rgb);
                differing += rgb != (PixelAt(expected, x, y) & 0xFFFFFFu) ? 1 : 0;
            }
        }
        std::printf("clipboard bitmap %ld x %ld, %u bits: %ld differing pixels\n", header->biWidth, header->biHeight,
                    header->biBitCount, differing);
        status = differing == 0 ? 0 : 1;
    }
    if (header != nullptr)
        GlobalUnlock(data);
    CloseClipboard();
    return status;
}
// A control's text of a dialog window, in the wide form, so that a name in
// any script arrives as the window shows it.
int PrintItemText(const char* title, int controlId)
{
    wchar_t caption[64] = {};
    MultiByteToWideChar(CP_UTF8, 0, title, -1, caption, 64);
    HWND box = FindWindowW(L"#32770", caption);
    if (box == nullptr) {
        std::printf("no box titled %s\n", title);
        return 1;
    }
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, controlId, text, 1024);
    char utf8[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::fwrite(utf8, 1, std::strlen(utf8), stdout);
    std::fputc('\n', stdout);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "settings" && argc == 3)
        return WriteBytes(argv[2], FirstStartFile()) ? 0 : 2;
    if (mode == "csv" && argc == 4) {
        const DecagonRecord record = ComputedRecord(std::strtod(argv[2], nullptr));
        return WriteBytes(argv[3], TextFileHeader() + TextFileDataLine(record)) ? 0 : 2;
    }
    if (mode == "clipboard" && argc == 3)
        return CheckClipboard(std::strtod(argv[2], nullptr));
    if (mode == "itemtext" && argc == 4)
        return PrintItemText(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr, "usage: e2e_probe settings OUT | csv HEIGHT OUT | clipboard HEIGHT | itemtext TITLE ID\n");
    return 2;
}
