#include "export/textfile.h"
#include "qt/qtprompts.h"
#include "tests/qt/whenmodal.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {
const SaveFileRequest kTextRequest{TextFileFilters, 3, 1, "csv"};
} // namespace

TEST(SaveDialog, OffersTheRequestsFiltersWithTheChosenOneSelected)
{
    const QStringList filters = SaveDialogNameFilters(kTextRequest);
    EXPECT_EQ(filters, (QStringList{QStringLiteral("Text files (*.txt)"), QStringLiteral("CSV Files (*.csv)"),
                                    QStringLiteral("All Files (*)")}));

    const FileFilter bare[] = {{"Pictures", "*.png"}};
    EXPECT_EQ(SaveDialogNameFilters({bare, 1, 1, ""}), QStringList{QStringLiteral("Pictures (*.png)")});

    QFileDialog dialog;
    ConfigureSaveDialog(dialog, {TextFileFilters, 3, 2, "csv"});
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("CSV Files (*.csv)"));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("csv"));
}

class SavePrompt : public ::testing::Test {
protected:
    // Types a name into the save dialog and confirms it.
    bool SaveAs(const QString& name, std::string& path)
    {
        WhenModalShows([this, name](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            seenFilter = dialog->selectedNameFilter();
            dialog->setDirectory(QString::fromStdString(folder.path()));
            auto* typed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(typed, nullptr);
            typed->setText(name);                    // as the user types it
            static_cast<QDialog*>(dialog)->accept(); // as the Save button does
        });
        return prompts.PromptSaveFile(kTextRequest, path);
    }

    TempFolder folder;
    QtUserPrompts prompts;
    QString seenFilter;
};

TEST_F(SavePrompt, AddsTheDefaultExtensionToANameTypedWithoutOne)
{
    std::string path;
    ASSERT_TRUE(SaveAs(QStringLiteral("results"), path));
    EXPECT_EQ(path, folder.file("results.csv"));
    EXPECT_EQ(seenFilter, QStringLiteral("Text files (*.txt)"));

    ASSERT_TRUE(SaveAs(QStringLiteral("results.txt"), path));
    EXPECT_EQ(path, folder.file("results.txt"));
}

TEST_F(SavePrompt, ChoosesAnExistingFileWithoutAskingFirst)
{
    WriteFileBytes(folder.file("old.csv"), "old");
    std::string path;
    ASSERT_TRUE(SaveAs(QStringLiteral("old.csv"), path)); // a question would keep the dialog open here
    EXPECT_EQ(path, folder.file("old.csv"));
    EXPECT_EQ(ReadFileBytes(path), "old"); // choosing touches nothing
}

TEST_F(SavePrompt, ReportsACancelledDialog)
{
    WhenModalShows([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    std::string path = "unchanged";
    EXPECT_FALSE(prompts.PromptSaveFile(kTextRequest, path));
}

TEST(MessageBoxes, ErrorBoxHasNoOwnerAndStaysOnTop)
{
    QtUserPrompts prompts;
    bool checked = false;
    WhenModalShows([&checked](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->parentWidget(), nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Error"));
        EXPECT_EQ(box->text(), QStringLiteral("Cannot create this file"));
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        EXPECT_TRUE(box->windowFlags() & Qt::WindowStaysOnTopHint);
        checked = true;
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(ShowErrorBox(prompts, "Cannot create this file"), 0);
    EXPECT_TRUE(checked);
}

TEST(MessageBoxes, InformationBoxBelongsToTheDialog)
{
    QDialog owner;
    QtUserPrompts prompts(&owner);
    bool checked = false;
    WhenModalShows([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->parentWidget(), &owner);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Information"));
        EXPECT_EQ(box->text(), QStringLiteral("File saved\nThe file is an aSCII Delimited File."));
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        checked = true;
        box->button(QMessageBox::Ok)->click();
    });
    prompts.ShowInformation("File saved\nThe file is an aSCII Delimited File.");
    EXPECT_TRUE(checked);
}
