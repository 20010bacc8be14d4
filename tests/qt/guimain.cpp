// Entry point of the GUI test programs: one QApplication for all tests.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {
// Qt's offscreen screen is 800 x 600 unless told otherwise; the dialog needs
// a screen of an ordinary desktop's size to be laid out as it will be seen.
// Returns the file that describes the screen, which the caller removes once
// the application has read it.
std::string UseDesktopSizedOffscreenScreen()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && platform != "offscreen")
        return {};
    const std::string config =
        (std::filesystem::temp_directory_path() / ("decagon-screen-" + std::to_string(::getpid()) + ".json")).string();
    if (std::FILE* file = std::fopen(config.c_str(), "w")) {
        std::fputs(R"({"screens": [{"name": "Screen", "x": 0, "y": 0, "width": 1920, "height": 1080,)"
                   R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})",
                   file);
        std::fclose(file);
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.c_str());
        return config;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return {};
}
} // namespace

int main(int argc, char** argv)
{
    const std::string screenConfig = UseDesktopSizedOffscreenScreen();
    QApplication app(argc, argv);
    if (!screenConfig.empty())
        std::remove(screenConfig.c_str());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
