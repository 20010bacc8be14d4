#include "export/textfile.h"
#include "model/geometry.h"
#include "tests/export/fakeprompts.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

DecagonRecord Computed(double height)
{
    DecagonRecord record;
    SetRecordDefaults(record);
    record.expectedHeight = height;
    ComputeGeometry(record);
    return record;
}

class TextExportTest : public ::testing::Test {
protected:
    std::string path() const { return folder.file("figure.csv"); }
    TempFolder folder;
    FakePrompts prompts;
    DecagonRecord record = Computed(254.884);
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
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{300, 300};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const int result = ExportTextFile(&record, prompts);
        const bool right = result == 0 && prompts.errors.size() == 1 &&
                           prompts.errors[0] == "Cannot write into this file" && prompts.information.empty();
        ::_exit(right ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFileBytes(path()), "mine");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}
