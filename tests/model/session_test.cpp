#include "model/decagon.h"
#include "settings/settings.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
class SessionTest : public ::testing::Test {
protected:
    void SetUp() override { LocateSettingsFile(folder.file("decagon")); }
    TempFolder folder;
};
} // namespace

TEST_F(SessionTest, FirstStartWithoutSettingsGivesTheDefaultColours)
{
    DecagonRecord record;
    std::memset(&record, 0x33, sizeof record);
    InitDecagonRecord(&record);
    EXPECT_EQ(record.recordTag, 2);
    EXPECT_EQ(record.outlineColor, 17);
    EXPECT_EQ(record.backgroundColor, 0);
    EXPECT_EQ(record.diagonalColors[9], 1);
    EXPECT_EQ(record.externalRadius, 0.0);
    EXPECT_FALSE(FileExists(SettingsFilePath)); // reading creates nothing
}

TEST_F(SessionTest, ComputeRefusesARecordThatWasNeverInitialised)
{
    DecagonRecord record;
    std::memset(&record, 0, sizeof record);
    record.expectedHeight = 50.0;
    const DecagonRecord before = record;
    EXPECT_EQ(ComputeDecagon(&record), 0);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    EXPECT_FALSE(FileExists(SettingsFilePath));
    EXPECT_EQ(ComputeDecagon(nullptr), 0);
}

TEST_F(SessionTest, ComputeEndsByWritingTheSettingsFile)
{
    DecagonRecord record;
    InitDecagonRecord(&record);
    EXPECT_EQ(ComputeDecagon(&record), 1);
    EXPECT_EQ(record.externalRadius, 127.442);
    EXPECT_NE(ReadFileBytes(SettingsFilePath).find("Rayon Exterieur=127.4420\r\n"), std::string::npos);
}
