// The native side of the browser tests: the preview box that the desktop
// presents after a Compute at each height given, with the default colours,
// as the pixels' 0xFFRRGGBB words in hexadecimal, one box a line.

#include "model/decagon.h"
#include "model/numtext.h"
#include "render/painter.h"
#include "settings/settings.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SETTINGS-FILE HEIGHT...\n", argv[0]);
        return 2;
    }
    SettingsFilePath = argv[1];
    for (int arg = 2; arg < argc; ++arg) {
        DecagonRecord record{};
        InitDecagonRecord(&record);
        record.expectedHeight = ParseNumber(argv[arg]);
        ComputeDecagon(&record);
        Canvas box;
        if (!PaintPreviewBox(record, box)) {
            std::puts("none");
            continue;
        }
        for (std::int32_t y = 0; y < box.height; ++y)
            for (std::int32_t x = 0; x < box.width; ++x)
                std::printf("%08x", static_cast<unsigned>(box.Row(y)[x]));
        std::putchar('\n');
    }
    return 0;
}
