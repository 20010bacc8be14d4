#include "model/decagon.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "tests/settings/expected.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { LocateSettingsFile(folder.file("decagon")); }

    // A value as the settings file holds it now.
    std::string GetProfileString(const char* section, const char* key)
    {
        return IniGetString(ParseIni(ReadFileBytes(SettingsFilePath)), section, key).value_or("(missing)");
    }

    // What the program does with the settings file from start to first display.
    DecagonRecord Start()
    {
        DecagonRecord record;
        InitDecagonRecord(&record);
        ComputeDecagon(&record);
        return record;
    }

    TempFolder folder;
};

// The same writes as SaveSettings, one file replacement per key.
void SaveKeyByKey(const DecagonRecord& record, const std::string& path)
{
    const char* labels[10] = {"E6", "E7", "E8", "E9", "E10", "E1", "E2", "E3", "E4", "E5"};
    char value[512];
    for (int row = 0; row < 10; ++row) {
        std::snprintf(value, sizeof value, "%.4f, %.4f", record.vertices[row].x, record.vertices[row].y);
        WriteProfileString("Debug", labels[row], value, path);
    }
    const std::pair<const char*, double> trigo[] = {{"Rayon Exterieur", record.externalRadius},
                                                    {"Rayon Interieur", record.internalRadius},
                                                    {"Corde", record.chord},
                                                    {"Hypoth\xE9nuse", record.hypotenuse}};
    for (const auto& [key, number] : trigo) {
        std::snprintf(value, sizeof value, "%.4f", number);
        WriteProfileString("Trigo", key, value, path);
    }
    WriteProfileString("Offsets", "X", "0", path);
    WriteProfileString("Offsets", "Y", "0", path);
    for (int row = 0; row < 10; ++row)
        WriteProfileString("Colors", labels[row], std::to_string(record.diagonalColors[row]), path);
    WriteProfileString("Colors", "Background", std::to_string(record.backgroundColor), path);
    WriteProfileString("Colors", "External Circle", std::to_string(record.externalCircleColor), path);
    WriteProfileString("Colors", "Internal Circle", std::to_string(record.internalCircleColor), path);
    WriteProfileString("Colors", "Lines", std::to_string(record.outlineColor), path);
    WriteProfileString("Diagonale", "Selected", std::to_string(record.diagonalChoice), path);
}

} // namespace

TEST(LocateSettingsFile, AcceptsBothSeparators)
{
    LocateSettingsFile("C:\\Tools\\deca.exe");
    EXPECT_EQ(ProgramFolder, "C:\\Tools");
#if defined(_WIN32)
    EXPECT_EQ(SettingsFilePath, "C:\\Tools\\Vanteo.ini");
#else
    EXPECT_EQ(SettingsFilePath, "C:\\Tools/Vanteo.ini");
#endif
#if defined(_WIN32)
    constexpr char separator = '\\';
#else
    constexpr char separator = '/';
#endif
    LocateSettingsFile("/opt/deca/bin/deca");
    EXPECT_EQ(ProgramFolder, "/opt/deca/bin");
    EXPECT_EQ(SettingsFilePath, std::string("/opt/deca/bin") + separator + "Vanteo.ini");
    LocateSettingsFile("/deca");
    EXPECT_EQ(ProgramFolder, "/");
    EXPECT_EQ(SettingsFilePath, "/Vanteo.ini");
    LocateSettingsFile("deca");
    EXPECT_EQ(ProgramFolder, "");
    EXPECT_EQ(SettingsFilePath, "Vanteo.ini");
    // No length limit: a deep folder is kept whole rather than cut.
    const std::string deep = "/" + std::string(600, 'd') + "/deca";
    LocateSettingsFile(deep);
    EXPECT_EQ(SettingsFilePath, std::string("/").append(600, 'd') + separator + "Vanteo.ini");
}

TEST(ExecutablePath, NamesThisProgram)
{
    const std::string path = ExecutablePath();
    EXPECT_EQ(std::filesystem::path(path).stem(), "settings_tests");
    EXPECT_TRUE(std::filesystem::path(path).is_absolute());
}

TEST_F(SettingsTest, FirstStartWritesTheFiveSectionsInOrder)
{
    const DecagonRecord record = Start();
    EXPECT_EQ(record.outlineColor, 17);
    EXPECT_EQ(ReadFileBytes(SettingsFilePath), FirstStartFile());
}

TEST_F(SettingsTest, StoredDiagonalChoiceIsNeverReadBack)
{
    WriteFileBytes(SettingsFilePath, "[Diagonale]\r\nSelected=5\r\n");
    const DecagonRecord record = Start();
    EXPECT_EQ(record.diagonalChoice, 1);
    EXPECT_EQ(ReadFileBytes(SettingsFilePath), "[Diagonale]\r\nSelected=1\r\n" + DefaultDebugSection() +
                                                   DefaultTrigoAndOffsets() + "[Colors]\r\n" + DefaultColorKeys() +
                                                   "Lines=17\r\n");
}

TEST_F(SettingsTest, OnlyLinesStoredKeepsItsPlaceAndGainsTheOtherKeys)
{
    WriteFileBytes(SettingsFilePath, "[Colors]\r\nLines=3\r\n");
    const DecagonRecord record = Start();
    EXPECT_EQ(record.outlineColor, 3);
    EXPECT_EQ(record.backgroundColor, 0);
    EXPECT_EQ(record.diagonalColors[0], 8);
    EXPECT_EQ(ReadFileBytes(SettingsFilePath), "[Colors]\r\nLines=3\r\n" + DefaultColorKeys() + DefaultDebugSection() +
                                                   DefaultTrigoAndOffsets() + "[Diagonale]\r\nSelected=1\r\n");
}

TEST_F(SettingsTest, ColoursAreReadWithoutRangeCheck)
{
    WriteFileBytes(SettingsFilePath, "[colors]\nBackground=99\nlines=-4\nE6=abc\nE7=\nE5=3.9\nE4=99999999999\n");
    DecagonRecord record;
    InitDecagonRecord(&record);
    EXPECT_EQ(record.backgroundColor, 99);
    EXPECT_EQ(record.outlineColor, -4);
    EXPECT_EQ(record.diagonalColors[0], 0); // abc
    EXPECT_EQ(record.diagonalColors[1], 7); // empty: the default
    EXPECT_EQ(record.diagonalColors[9], 3); // 3.9
    EXPECT_EQ(record.diagonalColors[8], INT32_MAX);
}

TEST_F(SettingsTest, AZeroInradiusIsStoredWithoutASign)
{
    DecagonRecord record;
    InitDecagonRecord(&record);
    for (double height : {-1.9999, -1.0, -0.25, 0.25, 1.0}) {
        record.expectedHeight = height;
        ComputeDecagon(&record);
        EXPECT_EQ(GetProfileString("Trigo", "Rayon Interieur"), "0.0000") << height;
    }
    record.expectedHeight = -0.25;
    ComputeDecagon(&record);
    EXPECT_EQ(GetProfileString("Trigo", "Rayon Exterieur"), "-0.1250");
    EXPECT_EQ(GetProfileString("Debug", "E8"), "-0.1250, 0.0000");
}

TEST_F(SettingsTest, OneSaveEqualsTheKeyByKeyWrites)
{
    const std::string starts[] = {
        "",
        "[Colors]\r\nLines=3\r\n",
        "; mine\r\n[Trigo]\nCorde=1\n\n[Unknown]\r\nx=1\r\n[colors]\r\n e6 = 4\r\n",
        "no line end at all",
    };
    DecagonRecord record;
    InitDecagonRecord(&record);
    record.expectedHeight = -12.5;
    record.diagonalColors[3] = 44;
    ComputeDecagon(&record);
    for (const std::string& start : starts) {
        const std::string one = folder.file("one.ini");
        const std::string many = folder.file("many.ini");
        WriteFileBytes(one, start);
        WriteFileBytes(many, start);
        SaveSettings(&record, 0, 0, one);
        SaveKeyByKey(record, many);
        EXPECT_EQ(ReadFileBytes(one), ReadFileBytes(many)) << start;
    }
}

TEST_F(SettingsTest, LinesThatTheProgramDoesNotOwnSurvive)
{
    const std::string mine = "; colours picked for the workshop\r\n[Workshop]\r\nTool=Laser\xE9\r\n\r\n";
    WriteFileBytes(SettingsFilePath, mine + "[Colors]\nLines=5\n");
    const DecagonRecord record = Start();
    EXPECT_EQ(record.outlineColor, 5);
    const std::string after = ReadFileBytes(SettingsFilePath);
    EXPECT_EQ(after.substr(0, mine.size()), mine);
    EXPECT_NE(after.find("[Colors]\nLines=5\n"), std::string::npos); // LF-only lines keep their LF
}

TEST_F(SettingsTest, BadFilesNeverStopTheProgram)
{
    std::string garbage(3 << 20, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 2654435761u) >> 13);
    for (const std::string& bytes : {std::string(), garbage, std::string(5 << 20, '\n')}) {
        WriteFileBytes(SettingsFilePath, bytes);
        const DecagonRecord record = Start();
        EXPECT_EQ(record.externalRadius, 127.442);
        const std::string after = ReadFileBytes(SettingsFilePath);
        EXPECT_EQ(after.substr(0, bytes.size()), bytes); // nothing that was there is lost
        EXPECT_EQ(GetProfileInt("Diagonale", "Selected", -1, SettingsFilePath), 1);
    }
}

TEST_F(SettingsTest, AFolderInPlaceOfTheFileIsLeftAlone)
{
    std::filesystem::create_directory(SettingsFilePath);
    const DecagonRecord record = Start();
    EXPECT_EQ(record.outlineColor, 17);
    EXPECT_TRUE(std::filesystem::is_directory(SettingsFilePath));
}

TEST_F(SettingsTest, ReadOnlyFileOrFolderIsNotWritten)
{
    WriteFileBytes(SettingsFilePath, "[Colors]\r\nLines=2\r\n");
    ::chmod(SettingsFilePath.c_str(), 0444);
    DecagonRecord record = Start();
    EXPECT_EQ(record.outlineColor, 2);
    EXPECT_EQ(ReadFileBytes(SettingsFilePath), "[Colors]\r\nLines=2\r\n");

    ::chmod(SettingsFilePath.c_str(), 0644);
    ::chmod(folder.path().c_str(), 0555);
    record = Start();
    ::chmod(folder.path().c_str(), 0755);
#if defined(_WIN32)
    const bool folderLocked = false; // a read-only folder still takes new files on Windows
#else
    const bool folderLocked = ::geteuid() != 0; // the super-user writes into read-only folders anyway
#endif
    if (folderLocked) {
        EXPECT_EQ(ReadFileBytes(SettingsFilePath), "[Colors]\r\nLines=2\r\n");
    }
    EXPECT_EQ(record.outlineColor, 2);
    EXPECT_EQ(std::filesystem::directory_iterator(folder.path())->path().filename(), "Vanteo.ini");
}

TEST_F(SettingsTest, SymbolicLinkStaysALink)
{
    const std::string real = folder.file("real.ini");
    WriteFileBytes(real, "[Colors]\r\nLines=6\r\n");
    std::error_code error;
    std::filesystem::create_symlink(real, SettingsFilePath, error);
    if (error)
        GTEST_SKIP() << "no symbolic links here: " << error.message();
    const DecagonRecord record = Start();
    EXPECT_EQ(record.outlineColor, 6);
    EXPECT_TRUE(std::filesystem::is_symlink(SettingsFilePath));
    EXPECT_NE(ReadFileBytes(real).find("[Diagonale]"), std::string::npos);
}

namespace {
// One settings file in one of its three forms. The program's own lines are
// given as it writes them in the code page; the line of the user's comes in
// the form's own text.
struct FileForm {
    const char* name;
    std::string mark;
    std::string userLine;
    std::string (*encode)(const std::string& codePageText);
};

std::string AsCodePage(const std::string& text) { return text; }

// The code-page text as UTF-16 LE; the program's lines hold no byte that
// differs between Windows-1252 and Latin-1, so each byte is its own unit.
std::string AsUtf16Le(const std::string& text)
{
    std::string units;
    for (const char byte : text) {
        units += byte;
        units += '\0';
    }
    return units;
}

std::string AsUtf8(const std::string& text)
{
    std::string utf8;
    for (const char byte : text) {
        const auto code = static_cast<unsigned char>(byte);
        if (code < 0x80) {
            utf8 += byte;
        } else {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return utf8;
}

// "; réglages – atelier 😀" and its line end: the en dash and the face lie
// outside the code page, the face beyond 16 bits.
constexpr char kUtf16Comment[] =
    ";\0 \0r\0\xE9\0g\0l\0a\0g\0e\0s\0 \0\x13\x20 \0a\0t\0e\0l\0i\0e\0r\0 \0\x3D\xD8\0\xDE\r\0\n\0";

const FileForm kFileForms[] = {
    {"code page", "", "; r\xE9glages \x96 atelier\r\n", AsCodePage},
    {"UTF-16 LE", "\xFF\xFE", std::string(kUtf16Comment, sizeof kUtf16Comment - 1), AsUtf16Le},
    {"UTF-8", "\xEF\xBB\xBF", "; r\xC3\xA9glages \xE2\x80\x93 atelier \xF0\x9F\x98\x80\r\n", AsUtf8},
};
} // namespace

TEST_F(SettingsTest, EachFormLastsThroughAStartAComputeAndAnExit)
{
    for (const FileForm& form : kFileForms) {
        SCOPED_TRACE(form.name);
        const auto file = [&form](const std::string& programLines) {
            return form.mark + form.userLine + form.encode(programLines);
        };
        WriteFileBytes(SettingsFilePath, file("[Colors]\r\nLines=3\r\nE6=40\r\n"));

        DecagonRecord record = Start();
        EXPECT_EQ(record.outlineColor, 3);
        EXPECT_EQ(record.diagonalColors[0], 40);
        const std::string started = "[Colors]\r\nLines=3\r\nE6=40\r\n" +
                                    DefaultColorKeys().substr(std::string("E6=8\r\n").size()) + DefaultDebugSection() +
                                    DefaultTrigoAndOffsets() + "[Diagonale]\r\nSelected=1\r\n";
        EXPECT_EQ(ReadFileBytes(SettingsFilePath), file(started));

        // Compute with a height whose radius rounds toward zero.
        record.expectedHeight = 1;
        record.backgroundColor = 12;
        ComputeDecagon(&record);
        const std::string computed = ReadFileBytes(SettingsFilePath);
        std::string expected = started;
        const auto replace = [&expected](const std::string& from, const std::string& to) {
            const auto at = expected.find(from);
            ASSERT_NE(at, std::string::npos) << from;
            expected.replace(at, from.size(), to);
        };
        replace("Background=0\r\n", "Background=12\r\n");
        replace("Rayon Exterieur=127.4420\r\nRayon Interieur=120.7842\r\nCorde=78.7635\r\nHypoth\xE9nuse=133.3881",
                "Rayon Exterieur=0.5000\r\nRayon Interieur=0.0000\r\nCorde=0.3090\r\nHypoth\xE9nuse=0.5233");
        const auto debug = expected.find("[Debug]\r\n");
        const auto trigo = expected.find("[Trigo]\r\n");
        expected.replace(debug, trigo - debug,
                         "[Debug]\r\nE6=0.1545, -0.4755\r\nE7=0.4045, -0.2939\r\nE8=0.5000, -0.0000\r\n"
                         "E9=0.4045, 0.2939\r\nE10=0.1545, 0.4755\r\nE1=-0.1545, 0.4755\r\nE2=-0.4045, 0.2939\r\n"
                         "E3=-0.5000, -0.0000\r\nE4=-0.4045, -0.2939\r\nE5=-0.1545, -0.4755\r\n");
        EXPECT_EQ(computed, file(expected));

        // Exit after a new vertex colour.
        record.diagonalColors[9] = 47;
        SaveSettings(&record, 0, 0, SettingsFilePath);
        replace("E5=1\r\n", "E5=47\r\n");
        EXPECT_EQ(ReadFileBytes(SettingsFilePath), file(expected));

        // And the next start reads it all back.
        EXPECT_EQ(Start().diagonalColors[9], 47);
    }
}
