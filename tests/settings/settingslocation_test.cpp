#include "model/decagon.h"
#include "settings/settings.h"
#include "settings/settingslocation.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Sets or unsets an environment variable for one test and puts the old value
// back afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value != nullptr)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST(ChooseSettingsFile, BesideTheProgramWhenTheProbeAllowsElseInTheUsersFolder)
{
    std::vector<std::string> asked;
    const auto answer = [&asked](bool usable) {
        return [&asked, usable](const std::string& path) {
            asked.push_back(path);
            return usable;
        };
    };
    EXPECT_EQ(ChooseSettingsFile("/opt/deca/bin", "/home/ann/.config", answer(true)), "/opt/deca/bin/Vanteo.ini");
    EXPECT_EQ(ChooseSettingsFile("/usr/bin", "/home/ann/.config", answer(false)),
              "/home/ann/.config/decagon/Vanteo.ini");
    EXPECT_EQ(asked, (std::vector<std::string>{"/opt/deca/bin/Vanteo.ini", "/usr/bin/Vanteo.ini"}));

    // A trailing separator is not doubled; a root keeps its own.
    EXPECT_EQ(ChooseSettingsFile("/usr/bin", "/cfg/", answer(false)), "/cfg/decagon/Vanteo.ini");
    EXPECT_EQ(ChooseSettingsFile("/", "/cfg", answer(true)), "/Vanteo.ini");
    // A Windows folder keeps its backslashes; the roaming folder takes the same rule.
    EXPECT_EQ(ChooseSettingsFile("C:\\Program Files\\decagon", "C:\\Users\\ann\\AppData\\Roaming\\", answer(false)),
              "C:\\Users\\ann\\AppData\\Roaming\\decagon\\Vanteo.ini");

    // With no user folder, and with no probe, the file stays beside the program.
    EXPECT_EQ(ChooseSettingsFile("/usr/bin", "", answer(false)), "/usr/bin/Vanteo.ini");
    EXPECT_EQ(ChooseSettingsFile("/usr/bin", "/cfg", nullptr), "/usr/bin/Vanteo.ini");
}

TEST(XdgConfigFolder, AbsoluteXdgConfigHomeElseConfigInHome)
{
    EXPECT_EQ(XdgConfigFolder("/srv/cfg", "/home/ann"), "/srv/cfg");
    EXPECT_EQ(XdgConfigFolder(nullptr, "/home/ann"), "/home/ann/.config");
    EXPECT_EQ(XdgConfigFolder("", "/home/ann"), "/home/ann/.config");
    EXPECT_EQ(XdgConfigFolder("cfg", "/home/ann"), "/home/ann/.config") << "a relative value is ignored";
    EXPECT_EQ(XdgConfigFolder("~/cfg", "/home/ann/"), "/home/ann/.config");
    EXPECT_EQ(XdgConfigFolder("/srv/cfg", nullptr), "/srv/cfg");
    EXPECT_EQ(XdgConfigFolder(nullptr, nullptr), "");
    EXPECT_EQ(XdgConfigFolder(nullptr, "relative"), "");
}

TEST(IsSystemProgramFolder, UsrAndBelowOnly)
{
    EXPECT_TRUE(IsSystemProgramFolder("/usr"));
    EXPECT_TRUE(IsSystemProgramFolder("/usr/bin"));
    EXPECT_TRUE(IsSystemProgramFolder("/usr/local/bin"));
    EXPECT_FALSE(IsSystemProgramFolder("/usrlocal/bin"));
    EXPECT_FALSE(IsSystemProgramFolder("/opt/decagon/bin"));
    EXPECT_FALSE(IsSystemProgramFolder("/home/ann/usr/bin"));
}

TEST(SettingsFileProbe, FilePresentOrFolderWritable)
{
    TempFolder folder;
    const std::string path = folder.file("Vanteo.ini");
    EXPECT_TRUE(SettingsFileExistsOrCanBeCreated(path)) << "a writable folder";
    EXPECT_FALSE(FileExists(path)) << "asking creates nothing";
    EXPECT_EQ(FilesIn(folder.path()), 0);

    EXPECT_FALSE(SettingsFileExistsOrCanBeCreated(folder.file("missing/Vanteo.ini"))) << "no such folder";
    EXPECT_FALSE(SettingsFileExistsOrCanBeCreated("/usr/bin/Vanteo.ini")) << "the package manager's folder";

    // Not writable: the file is used only when it is already there.
    const std::string locked = folder.file("locked");
    ASSERT_TRUE(std::filesystem::create_directory(locked));
    WriteFileBytes(locked + "/Vanteo.ini", "[Colors]\r\nLines=3\r\n");
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
    EXPECT_TRUE(SettingsFileExistsOrCanBeCreated(locked + "/Vanteo.ini")) << "a file present";
    if (::geteuid() != 0) { // root may write anywhere
        EXPECT_FALSE(SettingsFileExistsOrCanBeCreated(locked + "/Other.ini")) << "a folder not writable";
    }
    ::chmod(locked.c_str(), 0755);

    // Anything in the file's place counts as present: the save then refuses it
    // rather than the settings moving elsewhere.
    ASSERT_TRUE(std::filesystem::create_directory(folder.file("taken")));
    ASSERT_TRUE(std::filesystem::create_directory(folder.file("taken/Vanteo.ini")));
    EXPECT_TRUE(SettingsFileExistsOrCanBeCreated(folder.file("taken/Vanteo.ini")));
    std::filesystem::create_symlink(folder.file("nowhere"), folder.file("link.ini"));
    EXPECT_TRUE(SettingsFileExistsOrCanBeCreated(folder.file("link.ini"))) << "a dangling link";
}

TEST(LocateUserSettingsFile, FollowsTheEnvironment)
{
    TempFolder home;
    const ScopedVariable homeVariable("HOME", home.path().c_str());
    {
        const ScopedVariable unset("XDG_CONFIG_HOME", nullptr);
        LocateUserSettingsFile("/usr/bin/decagon");
        EXPECT_EQ(ProgramFolder, "/usr/bin") << "the image plug-ins are still looked for beside the program";
        EXPECT_EQ(SettingsFilePath, home.path() + "/.config/decagon/Vanteo.ini");
    }
    {
        const ScopedVariable set("XDG_CONFIG_HOME", "/srv/settings");
        LocateUserSettingsFile("/usr/bin/decagon");
        EXPECT_EQ(SettingsFilePath, "/srv/settings/decagon/Vanteo.ini");
        // A program folder the user may write keeps the file beside it.
        LocateUserSettingsFile(home.file("decagon"));
        EXPECT_EQ(ProgramFolder, home.path());
        EXPECT_EQ(SettingsFilePath, home.file("Vanteo.ini"));
    }
    {
        const ScopedVariable relative("XDG_CONFIG_HOME", "settings");
        LocateUserSettingsFile("/usr/bin/decagon");
        EXPECT_EQ(SettingsFilePath, home.path() + "/.config/decagon/Vanteo.ini");
    }
}

TEST(SaveSettings, MakesTheUsersFolderOnTheFirstSaveAndReadsItBack)
{
    TempFolder home;
    const std::string folder = home.file(".config/decagon");
    const std::string path = folder + "/Vanteo.ini";
    SettingsFilePath = path;

    DecagonRecord record;
    InitDecagonRecord(&record);
    EXPECT_EQ(record.outlineColor, kDefaultOutlineColor);
    record.outlineColor = 3;
    record.diagonalColors[9] = 12;
    ComputeDecagon(&record); // saves to SettingsFilePath
    ASSERT_TRUE(FileExists(path));
    struct stat status {};
    ASSERT_EQ(::stat(folder.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u) << "the folders made are the user's alone";
    ASSERT_EQ(::stat(home.file(".config").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);

    DecagonRecord next;
    InitDecagonRecord(&next);
    EXPECT_EQ(next.outlineColor, 3);
    EXPECT_EQ(next.diagonalColors[9], 12);
    EXPECT_EQ(FilesIn(folder), 1) << "no temporary left behind";
}

TEST(SaveSettings, AFileInTheFoldersPlaceLosesNothing)
{
    TempFolder home;
    WriteFileBytes(home.file(".config"), "not a folder");
    DecagonRecord record = RecordWithHeight(100.0);
    SaveSettings(&record, 0, 0, home.file(".config/decagon/Vanteo.ini"));
    EXPECT_EQ(ReadFileBytes(home.file(".config")), "not a folder");
    EXPECT_EQ(FilesIn(home.path()), 1);
}
