#include "qt/dialogbuilder.h"
#include "qt/maindialog.h"
#include "qt/startup.h"
#include "settings/settings.h"
#include "tests/export/fakeprompts.h"
#include "tests/qt/whenmodal.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {
class NoOpener : public UrlOpener {
public:
    void OpenUrl(const std::string&) override {}
};

class RecordingClipboard : public ImageClipboard {
public:
    bool PutImage(const QImage& image) override
    {
        images.push_back(image);
        return true;
    }
    std::vector<QImage> images;
};
} // namespace

TEST(StartUp, RunsTheDialogWithTheSettingsBesideTheExecutableAndEndsWithZero)
{
    TempFolder folder;
    NoOpener opener;
    RecordingClipboard clipboard;
    FakePrompts prompts;
    prompts.answer = folder.file("figure.bmp");
    bool ran = false;
    WhenModalShows([&](QWidget* modal) {
        auto* running = qobject_cast<MainDialog*>(modal);
        ASSERT_NE(running, nullptr); // the program's window, nothing before it
        MainDialog& dialog = *running;
        ran = true;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Define the decagon"));
        ASSERT_NE(dialog.AttachedRecord(), nullptr);
        EXPECT_TRUE(FileExists(folder.file("Vanteo.ini")));
        // The image buttons are wired to the image commands.
        DialogItemAs<QPushButton>(dialog, kCopyImageId)->click();
        DialogItemAs<QPushButton>(dialog, kExportImageId)->click();
        std::remove(folder.file("Vanteo.ini").c_str());
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(RunProgram(folder.file("decagon"), {&opener, &clipboard, &prompts}), 0);
    EXPECT_TRUE(ran);
    EXPECT_EQ(SettingsFilePath, folder.file("Vanteo.ini"));
    EXPECT_TRUE(FileExists(folder.file("Vanteo.ini"))); // written again on the way out
    ASSERT_EQ(clipboard.images.size(), 1u);
    EXPECT_EQ(clipboard.images[0].size(), QSize(254, 254));
    EXPECT_TRUE(QImage(QString::fromStdString(folder.file("figure.bmp"))).size() == QSize(254, 254));
    EXPECT_TRUE(prompts.errors.empty());
}
