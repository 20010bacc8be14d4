// The built decagon-cli, driven as a script would: exit statuses, standard
// output and error, and the files it leaves.
#include "cli/cli.h"
#include "export/imageexport.h"
#include "export/textfile.h"
#include "model/numtext.h"
#include "qt/qtimagelayer.h"
#include "render/palette.h"
#include "render/svg.h"
#include "tests/cli/clifixture.h"
#include "tests/cli/svgparse.h"
#include "tests/export/fakeprompts.h"

#include <QImage>

#include <sys/stat.h>

using CliTest = CliProcessTest;

TEST_F(CliTest, CsvIsTheDialogsTextExportByteForByte)
{
    for (const char* height : {"254.884", "100", "0", "-100", "-0.5", "12345.678", "3e9"}) {
        // What the dialog's command writes for the same record.
        DecagonRecord record = RecordWithHeight(ParseNumber(height));
        FakePrompts prompts;
        prompts.answer = Out("dialog.csv");
        ASSERT_EQ(ExportTextFile(&record, prompts), 1);
        const std::string expected = ReadFileBytes(prompts.answer);
        ASSERT_EQ(expected, TextFileHeader() + TextFileDataLine(record));

        const ProcessResult file = Run({"--height", height, "--csv", Out("cli.csv")});
        EXPECT_EQ(file.exitStatus, 0) << height;
        EXPECT_EQ(ReadFileBytes(Out("cli.csv")), expected) << height;
        EXPECT_EQ(file.out, "");
        EXPECT_EQ(file.err, prompts.information.at(0) + "\n");

        const ProcessResult piped = Run({"--csv", "-", "--height", height});
        EXPECT_EQ(piped.exitStatus, 0) << height;
        EXPECT_EQ(piped.out, expected) << height;
        EXPECT_EQ(piped.err, "");
    }
}

TEST_F(CliTest, WithoutAnOutputItPrintsTheValues)
{
    const ProcessResult result = Run({"--height", "-100", "--angle3d", "12.5"});
    EXPECT_EQ(result.exitStatus, 0);
    DecagonRecord record = RecordWithHeight(-100.0);
    record.angle3D = 12.5;
    EXPECT_EQ(result.out, CliValuesText(record));
    EXPECT_EQ(result.err, "");

    const ProcessResult help = Run({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out, CliUsageText());
    const ProcessResult version = Run({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out.rfind("decagon-cli ", 0), 0u);
}

TEST_F(CliTest, BadInputExitsWithTwoAndWritesNothing)
{
    WriteFileBytes(Out("figure.csv"), "mine");
    const std::vector<std::string> asked = {"--csv",           Out("figure.csv"), "--svg",
                                            Out("figure.svg"), "--image",         Out("figure.png")};
    struct Case {
        std::vector<std::string> arguments;
        const char* named; // what the message must name
    };
    const Case cases[] = {
        {{"--height", "25O"}, "\"25O\""},
        {{"--angle3d", "forty"}, "\"forty\""},
        {{"--diagonals", "12"}, "\"12\""},
        {{"--external-circle", "maybe"}, "\"maybe\""},
        {{"--internal-circle", "No"}, "\"No\""},
        {{"--frobnicate"}, "\"--frobnicate\""},
        {{"--height"}, "--height"},
        {{"stray"}, "\"stray\""},
        {{"--height", "1e400"}, "\"1e400\""},
    };
    for (const Case& c : cases) {
        // The bad argument last, so that every output option was already read.
        std::vector<std::string> arguments = asked;
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const ProcessResult result = Run(arguments);
        EXPECT_EQ(result.exitStatus, 2) << c.named;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind("decagon-cli: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
        EXPECT_EQ(FolderNames(outputs.path()), std::vector<std::string>{"figure.csv"});
        EXPECT_EQ(ReadFileBytes(Out("figure.csv")), "mine");
    }
}

TEST_F(CliTest, TheSettingsFileGivesColoursAndIsNeverWritten)
{
    const std::string settings = "[Colors]\r\nLines=3\r\nBackground=5\r\nE5=12\r\n";
    WriteFileBytes(SettingsPath(), settings);
    const long long written = ModificationTime(SettingsPath());
    const std::vector<std::vector<std::string>> runs = {
        {},
        {"--height", "0"},
        {"--csv", Out("a.csv"), "--svg", Out("a.svg"), "--image", Out("a.png"), "--diagonals", "11"},
        {"--height", "x"},
        {"--image", Out("missing/a.png")},
        {"--help"},
    };
    for (const auto& arguments : runs) {
        Run(arguments);
        EXPECT_EQ(ReadFileBytes(SettingsPath()), settings);
        EXPECT_EQ(ModificationTime(SettingsPath()), written);
        EXPECT_EQ(FolderNames(ProgramFolder()), (std::vector<std::string>{"Vanteo.ini", "decagon-cli"}));
    }
    const std::vector<SvgTag> tags = SvgTags(ReadFileBytes(Out("a.svg")));
    EXPECT_EQ(tags.at(2).Attribute("fill"), SvgColor(PaletteColor(5)));
    EXPECT_EQ(tags.at(7).Attribute("stroke"), SvgColor(PaletteColor(3)));
    EXPECT_EQ(tags.at(8).Attribute("stroke"), SvgColor(PaletteColor(12)));

    // Without a settings file the defaults apply, and none is made.
    std::filesystem::remove(SettingsPath());
    EXPECT_EQ(Run({"--svg", Out("b.svg")}).exitStatus, 0);
    EXPECT_EQ(SvgTags(ReadFileBytes(Out("b.svg"))).at(7).Attribute("stroke"),
              SvgColor(PaletteColor(kDefaultOutlineColor)));
    EXPECT_FALSE(FileExists(SettingsPath()));
}

TEST_F(CliTest, ImageIsWhatTheDialogsExportWrites)
{
    // The image layer as the program's start-up leaves it.
    EnableLzwCompression(true);
    // The dialog with the same options: E10's fan, no inscribed circle.
    DecagonRecord record = RecordWithHeight(100.0);
    FigureOptions shown = FigureOptionsOf(record);
    shown.showExternalCircle = 1;
    shown.showInternalCircle = 0;
    shown.diagonalChoice = 6;
    QtImageLayer layer;
    std::filesystem::create_directory(Out("dialog"));
    std::filesystem::create_directory(Out("cli"));
    struct Case {
        const char* typed;
        const char* saved;
    };
    for (const Case& c :
         {Case{"figure.png", "figure.png"}, Case{"figure.bmp", "figure.bmp"}, Case{"Figure.JPG", "Figure.JPG"},
          Case{"figure", "figure.jpg"}, Case{"figure.svg", "figure.svg"}, Case{"figure.tif", "figure.tif"}}) {
        FakePrompts prompts;
        prompts.answer = Out("dialog/") + c.typed;
        ASSERT_EQ(ExportImageFile(&record, shown, prompts, layer), 1) << c.typed;
        const ProcessResult result =
            Run({"--height", "100", "--diagonals", "6", "--internal-circle", "no", "--image", Out("cli/") + c.typed});
        EXPECT_EQ(result.exitStatus, 0) << c.typed;
        EXPECT_EQ(result.err, prompts.information.at(0) + "\n");
        EXPECT_EQ(result.err, std::string("The file ") + c.saved + " has been successfully saved\n");
        const std::string expected = ReadFileBytes(Out("dialog/") + c.saved);
        EXPECT_FALSE(expected.empty());
        EXPECT_TRUE(ReadFileBytes(Out("cli/") + c.saved) == expected) << c.typed;
    }
    // Whatever screen the dialog has, or none here, the same resolution.
    EXPECT_EQ(QImage(QString::fromStdString(Out("cli/figure.png"))).dotsPerMeterX(), kFigureDotsPerMeter);
    EnableLzwCompression(false);
}

TEST_F(CliTest, FailedWritesGiveTheExportsMessageAndExitOne)
{
    WriteFileBytes(Out("locked.svg"), "old drawing");
    ::chmod(Out("locked.svg").c_str(), 0444);
    WriteFileBytes(Out("figure."), "old");
    struct Case {
        std::vector<std::string> arguments;
        const char* message;
    };
    const Case cases[] = {
        {{"--csv", Out("missing/figure.csv")}, "Cannot create this file\n"},
        {{"--svg", Out("locked.svg")}, "Cannot save the file locked.svg\n"},
        {{"--image", Out("figure.")}, "This image type is not known\n"},
        {{"--image", Out("figure.doc")}, "This image type is not known\n"},
        {{"--image", Out("tiny.png"), "--height", "0.5"}, "Cannot create the image\n"},
        {{"--image", Out("negative.png"), "--height", "-100"}, "Cannot create the image\n"},
        {{"--image", Out("missing/figure.png")}, "Cannot save the file figure.png\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult result = Run(c.arguments);
        EXPECT_EQ(result.exitStatus, 1) << c.message;
        EXPECT_EQ(result.err, c.message);
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(ReadFileBytes(Out("locked.svg")), "old drawing");
    EXPECT_EQ(ReadFileBytes(Out("figure.")), "old");
    EXPECT_EQ(FolderNames(outputs.path()), (std::vector<std::string>{"figure.", "locked.svg"}));

    // The first failure stops the run: the SVG after a failed text file is
    // not written.
    const ProcessResult stopped = Run({"--csv", Out("missing/a.csv"), "--svg", Out("a.svg")});
    EXPECT_EQ(stopped.exitStatus, 1);
    EXPECT_FALSE(FileExists(Out("a.svg")));

    // A full standard output is a failed write too.
    for (const char* option : {"--csv", "--svg"}) {
        ProcessOptions full;
        full.standardOutput = "/dev/full";
        const ProcessResult result = Run({option, "-"}, full);
        EXPECT_EQ(result.exitStatus, 1) << option;
        EXPECT_EQ(result.err, "Cannot write to the standard output\n");
    }
}

TEST_F(CliTest, NeedsNoDisplay)
{
    ProcessOptions windowless;
    windowless.unsetVariables = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"};
    const ProcessResult result = Run({"--image", Out("figure.jpg"), "--csv", Out("figure.csv")}, windowless);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "File saved\nThe file is an aSCII Delimited File.\n"
                          "The file figure.jpg has been successfully saved\n");
    EXPECT_TRUE(FileExists(Out("figure.jpg")));
}
