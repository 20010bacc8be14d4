#include "qt/dialogbuilder.h"
#include "qt/maindialog.h"
#include "qt/startup.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "tests/export/fakeprompts.h"
#include "tests/qt/qtfakes.h"
#include "tests/qt/whenmodal.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {
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
    WhenWindowShows<QDialog>([&](QDialog* shown) {
        auto* running = qobject_cast<MainDialog*>(shown);
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

TEST(StartUp, AnErrorBoxLeavesTheDialogWorking)
{
    TempFolder folder;
    NoOpener opener;
    RecordingClipboard clipboard;
    AnsweringPrompts prompts;
    prompts.answer = folder.file("no such folder/values.csv");
    bool boxSeen = false;
    WhenWindowShows<MainDialog>([&](MainDialog* dialog) {
        auto* height = DialogItemAs<QLineEdit>(*dialog, kHeightFieldId);
        auto* compute = DialogItemAs<QPushButton>(*dialog, kComputeId);
        WhenWindowShows<QMessageBox>([&](QMessageBox* box) {
            boxSeen = true;
            EXPECT_EQ(box->text(), QStringLiteral("Cannot create this file"));
            EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
            // Through the window system, which drops input to a window that
            // a modal one blocks: a click on "Compute" ...
            height->setText(QStringLiteral("12"));
            QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {},
                              compute->mapTo(dialog, compute->rect().center()));
            EXPECT_EQ(height->text().toStdString(), "12.0000");
            // ... and keys: a new height and Enter.
            height->setFocus(Qt::OtherFocusReason);
            height->selectAll();
            QTest::keyClick(dialog->windowHandle(), Qt::Key_7);
            QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
            EXPECT_EQ(height->text().toStdString(), "7.0000");
            EXPECT_TRUE(box->isVisible());
            box->button(QMessageBox::Ok)->click();
        });
        DialogItemAs<QPushButton>(*dialog, kExportTextId)->click();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(RunProgram(folder.file("decagon"), {&opener, &clipboard, &prompts}), 0);
    EXPECT_TRUE(boxSeen);
    EXPECT_EQ(IniGetString(ParseIni(ReadFileBytes(folder.file("Vanteo.ini"))), "Trigo", "Rayon Exterieur"), "3.5000");
}
