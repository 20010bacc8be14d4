#include "export/textfile.h"
#include "model/geometry.h"
#include "tests/export/fakeprompts.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class TextExportTest : public ::testing::Test {
protected:
    std::string path() const { return folder.file("figure.csv"); }
    TempFolder folder;
    FakePrompts prompts;
    DecagonRecord record = RecordWithHeight(254.884);
};

} // namespace

TEST_F(TextExportTest, WritesHeaderAndDataAndConfirms)
{
    prompts.answer = path();
    EXPECT_EQ(ExportTextFile(&record, prompts), 1);
    EXPECT_EQ(ReadFileBytes(path()), TextFileHeader() + TextFileDataLine(record));
    ASSERT_EQ(prompts.information.size(), 1u);
    EXPECT_EQ(prompts.information[0], "File saved\nThe file is an aSCII Delimited File.");
    EXPECT_TRUE(prompts.errors.empty());
    // The dialog offers text files first and adds "csv" to a bare name.
    EXPECT_EQ(prompts.lastRequest.filterCount, 3);
    EXPECT_EQ(prompts.lastRequest.filterIndex, 1);
    EXPECT_STREQ(prompts.lastRequest.filters[0].description, "Text files (*.txt)");
    EXPECT_STREQ(prompts.lastRequest.filters[1].pattern, "*.csv");
    EXPECT_STREQ(prompts.lastRequest.filters[2].description, "All Files (*.*)");
    EXPECT_STREQ(prompts.lastRequest.defaultExtension, "csv");
}

TEST_F(TextExportTest, ReplacesAnExistingFileWithoutAQuestion)
{
    WriteFileBytes(path(), std::string(10000, 'x'));
    prompts.answer = path();
    EXPECT_EQ(ExportTextFile(&record, prompts), 1);
    EXPECT_EQ(ReadFileBytes(path()), TextFileHeader() + TextFileDataLine(record));
}

TEST_F(TextExportTest, CancelOrNoRecordTouchesNothing)
{
    WriteFileBytes(path(), "mine");
    prompts.answer = path();
    prompts.cancel = true;
    EXPECT_EQ(ExportTextFile(&record, prompts), 0);
    prompts.cancel = false;
    EXPECT_EQ(ExportTextFile(nullptr, prompts), 0);
    EXPECT_EQ(prompts.dialogs, 1); // no record: no dialog either
    EXPECT_EQ(ReadFileBytes(path()), "mine");
    EXPECT_TRUE(prompts.errors.empty());
    EXPECT_TRUE(prompts.information.empty());
}

TEST_F(TextExportTest, PathsLongerThan151CharactersCountAsAFailedDialog)
{
    const std::string longName = folder.path() + "/" + std::string(151 - folder.path().size(), 'n');
    ASSERT_EQ(longName.size(), 152u);
    prompts.answer = longName;
    EXPECT_EQ(ExportTextFile(&record, prompts), 0);
    EXPECT_FALSE(FileExists(longName));
    EXPECT_TRUE(prompts.errors.empty());
    prompts.answer = longName.substr(0, 151);
    EXPECT_EQ(ExportTextFile(&record, prompts), 1);
}

TEST_F(TextExportTest, TheLengthLimitCountsCharactersNotBytes)
{
    // Cyrillic takes two bytes a character in UTF-8: a path of 151
    // characters holds far more bytes, and is still taken. (Its name stays
    // within the 255 bytes a name may hold.)
    std::string cyrillic;
    for (int at = 0; at < 100; ++at)
        cyrillic += "\xD0\xB6";
    const std::size_t used = folder.path().size() + 1 + 100;
    ASSERT_LE(used, 151u);
    const std::string name = folder.path() + "/" + cyrillic + std::string(151 - used, 'n');
    prompts.answer = name + "\xD0\xB6";
    EXPECT_EQ(ExportTextFile(&record, prompts), 0);
    EXPECT_FALSE(FileExists(prompts.answer));
    EXPECT_TRUE(prompts.errors.empty());
    prompts.answer = name;
    EXPECT_EQ(ExportTextFile(&record, prompts), 1);
    EXPECT_TRUE(FileExists(name));
}

TEST_F(TextExportTest, AFileThatCannotBeCreatedKeepsTheOldOne)
{
    WriteFileBytes(path(), "mine");
    ::chmod(path().c_str(), 0444);
    prompts.answer = path();
    EXPECT_EQ(ExportTextFile(&record, prompts), 0);
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_EQ(prompts.errors[0], "Cannot create this file");
    EXPECT_EQ(ReadFileBytes(path()), "mine");

    prompts.answer = folder.file("missing/figure.csv");
    EXPECT_EQ(ExportTextFile(&record, prompts), 0);
    EXPECT_EQ(prompts.errors.back(), "Cannot create this file");
    EXPECT_TRUE(prompts.information.empty());
}

TEST_F(TextExportTest, AShortWriteSaysSoAndKeepsTheOldFile)
{
    // A child limited to 300-byte files: the 280-byte header fits, the data
    // line does not.
    WriteFileBytes(path(), "mine");
    prompts.answer = path();
    if (!CanLimitFileSize())
        GTEST_SKIP() << "no file size limit on this system";
    EXPECT_TRUE(RunsWithFileSizeLimit(300, [&] {
        return ExportTextFile(&record, prompts) == 0 && prompts.errors.size() == 1 &&
               prompts.errors[0] == "Cannot write into this file" && prompts.information.empty();
    }));
    EXPECT_EQ(ReadFileBytes(path()), "mine");
    EXPECT_EQ(FilesIn(folder.path()), 1);
}
