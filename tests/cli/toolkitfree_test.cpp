// decagon-cli maps Qt only for the formats that only Qt writes: the shared
// objects of each run as the dynamic loader reports them (LD_DEBUG=files),
// for a copy beside its module, in the installed layout, and alone.
#include "tests/cli/process.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct LoaderRun {
    int exitStatus = -1;
    std::string err;
    std::vector<std::string> objects; // every shared object mapped, as the loader names it
    bool Maps(const std::string& part) const
    {
        for (const std::string& object : objects)
            if (object.find(part) != std::string::npos)
                return true;
        return false;
    }
};

// Runs the program with the loader's report going to files in work.
LoaderRun RunReportingObjects(const std::string& program, const std::vector<std::string>& arguments,
                              const TempFolder& work)
{
    const std::filesystem::path reports = work.file("loader");
    std::filesystem::remove_all(reports);
    std::filesystem::create_directory(reports);
    ProcessOptions options;
    options.unsetVariables = {"LD_DEBUG", "LD_DEBUG_OUTPUT"};
    options.setVariables = {"LD_DEBUG=files", "LD_DEBUG_OUTPUT=" + (reports / "report").string()};
    const ProcessResult result = RunProcess(program, arguments, options);
    LoaderRun run;
    run.exitStatus = result.exitStatus;
    run.err = result.err;
    // "file=NAME [NAMESPACE];  generating link map" for each object mapped,
    // in one report per process.
    for (const std::string& name : FolderNames(reports.string())) {
        std::istringstream lines(ReadFileBytes((reports / name).string()));
        for (std::string line; std::getline(lines, line);) {
            const std::size_t start = line.find("file=");
            if (start != std::string::npos && line.find("generating link map") != std::string::npos)
                run.objects.push_back(line.substr(start + 5, line.find(" [", start) - start - 5));
        }
    }
    return run;
}

// The program's files as a build folder, an installation and a lone copy
// place them.
enum class Layout { Beside, Installed, Alone };

std::string PlaceProgram(const TempFolder& root, Layout layout)
{
    const std::filesystem::path module = DECAGON_QT_IMAGE_MODULE_PATH;
    const std::filesystem::path bin = std::filesystem::path(root.path()) / "bin";
    std::filesystem::create_directories(bin);
    std::filesystem::copy_file(DECAGON_CLI_PATH, bin / "decagon-cli");
    if (layout != Layout::Alone) {
        const std::filesystem::path folder =
            layout == Layout::Beside ? bin : bin / DECAGON_QT_IMAGE_MODULE_FROM_PROGRAM;
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(module, folder / module.filename());
    }
    return (bin / "decagon-cli").string();
}

} // namespace

// Text, vector drawings, JPEG and BMP start no toolkit; a format that only
// Qt writes loads the module, and Qt with it, and is written.
TEST(CliToolkit, QtIsMappedOnlyForQtsOwnFormats)
{
    TempFolder root;
    TempFolder work;
    const std::string program = PlaceProgram(root, Layout::Beside);
    struct Case {
        std::vector<std::string> arguments;
        const char* written; // the file made, or none
        bool qt;             // whether Qt may be mapped
    };
    const Case cases[] = {
        {{}, nullptr, false},
        {{"--csv", work.file("figure.csv")}, "figure.csv", false},
        {{"--svg", work.file("figure.svg")}, "figure.svg", false},
        {{"--height", "254", "--image", work.file("figure.jpg")}, "figure.jpg", false},
        {{"--image", work.file("figure.bmp")}, "figure.bmp", false},
        {{"--image", work.file("figure.png")}, "figure.png", false},
        {{"--image", work.file("figure.tif")}, "figure.tif", false},
        {{"--pdf", work.file("figure.pdf")}, "figure.pdf", false},
        {{"--dxf", work.file("figure.dxf")}, "figure.dxf", false},
        {{"--image", work.file("figure.ppm")}, "figure.ppm", true},
    };
    for (const Case& c : cases) {
        const std::string shown = c.written != nullptr ? c.written : "the values";
        const LoaderRun run = RunReportingObjects(program, c.arguments, work);
        EXPECT_EQ(run.exitStatus, 0) << shown << ": " << run.err;
        ASSERT_TRUE(run.Maps("libc.so")) << "no loader report for " << shown;
        EXPECT_EQ(run.Maps("libQt6"), c.qt) << shown;
        EXPECT_EQ(run.Maps("decagon-qt-image"), c.qt) << shown;
        if (c.written != nullptr)
            EXPECT_TRUE(FileExists(work.file(c.written))) << shown;
    }
    EXPECT_EQ(ReadFileBytes(work.file("figure.ppm")).substr(0, 2), "P6");
}

// Installed, the program finds the module in the library folder; without
// the module, Qt's formats are not known and the core's still written.
TEST(CliToolkit, FindsItsModuleInstalledAndWorksWithoutIt)
{
    TempFolder installed;
    TempFolder alone;
    TempFolder work;
    const LoaderRun found =
        RunReportingObjects(PlaceProgram(installed, Layout::Installed), {"--image", work.file("found.ppm")}, work);
    EXPECT_EQ(found.exitStatus, 0) << found.err;
    EXPECT_TRUE(found.Maps(installed.path() + "/bin/" DECAGON_QT_IMAGE_MODULE_FROM_PROGRAM "/decagon-qt-image"));
    EXPECT_TRUE(FileExists(work.file("found.ppm")));

    const std::string lone = PlaceProgram(alone, Layout::Alone);
    const LoaderRun missing = RunReportingObjects(lone, {"--image", work.file("missing.ppm")}, work);
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_EQ(missing.err, "This image type is not known\n");
    EXPECT_FALSE(missing.Maps("libQt6"));
    EXPECT_FALSE(FileExists(work.file("missing.ppm")));
    const LoaderRun jpeg = RunReportingObjects(lone, {"--image", work.file("core.jpg")}, work);
    EXPECT_EQ(jpeg.exitStatus, 0) << jpeg.err;
    EXPECT_TRUE(FileExists(work.file("core.jpg")));
}
