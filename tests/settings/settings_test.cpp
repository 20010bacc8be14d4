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
