// Start-up and shutdown with a stand-in image library and dialog: the order
// of the steps, the paths and the error box when the library cannot start.
#include "settings/settings.h"
#include "tests/export/fakeprompts.h"
#include "win32/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
class FakeImageLibrary : public ImageLibrary {
public:
    void SetPluginFolder(const std::string& folder) override { steps.push_back("plugins " + folder); }
    bool Start() override
    {
        steps.push_back("start");
        return starts;
    }
    void EnableLzwCompression(bool enabled) override { steps.push_back(enabled ? "lzw on" : "lzw off"); }
    void Stop() override { steps.push_back("stop"); }
    ImageLayer* Layer() override { return nullptr; }

    bool starts = true;
    std::vector<std::string> steps;
};

void RecordDialog(HINSTANCE instance, DecagonRecord* record, ImageLibrary& images, void* context)
{
    auto& library = static_cast<FakeImageLibrary&>(images);
    library.steps.push_back(instance == ProgramInstance && record != nullptr ? "dialog" : "dialog without record");
    *static_cast<DecagonRecord**>(context) = record;
}

std::string ExecutableFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/"));
}
} // namespace

TEST(Win32Startup, FindsTheSettingsBesideTheProgramAndRunsTheDialogBetweenStartAndStop)
{
    FakeImageLibrary images;
    FakePrompts prompts;
    DecagonRecord* shown = nullptr;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    EXPECT_EQ(RunProgram(instance, images, &prompts, RecordDialog, &shown), 0);

    const std::string folder = ExecutableFolder();
    EXPECT_EQ(ProgramFolder, folder);
    EXPECT_EQ(SettingsFilePath, folder + "\\Vanteo.ini");
    EXPECT_EQ(images.steps, (std::vector<std::string>{"plugins " + folder, "start", "lzw on", "dialog", "stop"}));
    EXPECT_TRUE(prompts.errors.empty());
    ASSERT_NE(shown, nullptr);

    // The record is the program's one record: the same on every run.
    DecagonRecord* again = nullptr;
    FakeImageLibrary second;
    RunProgram(instance, second, &prompts, RecordDialog, &again);
    EXPECT_EQ(again, shown);
    // Critical-error boxes of the system are off for this thread.
    EXPECT_NE(GetThreadErrorMode() & SEM_FAILCRITICALERRORS, 0u);
}

TEST(Win32Startup, ShowsOnlyTheErrorBoxWhenTheImageLibraryCannotStart)
{
    FakeImageLibrary images;
    images.starts = false;
    FakePrompts prompts;
    DecagonRecord* shown = nullptr;
    EXPECT_EQ(RunProgram(GetModuleHandleA(nullptr), images, &prompts, RecordDialog, &shown), 0);
    EXPECT_EQ(prompts.errors, std::vector<std::string>{"Cannot initialize GFL SDK"});
    EXPECT_EQ(images.steps, (std::vector<std::string>{"plugins " + ExecutableFolder(), "start"}));
    EXPECT_EQ(shown, nullptr);
}
