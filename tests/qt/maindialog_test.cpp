#include "qt/colorlist.h"
#include "qt/dialogbuilder.h"
#include "qt/linklabel.h"
#include "qt/maindialog.h"
#include "qt/numericfilter.h"
#include "render/canvas.h"
#include "render/painter.h"
#include "render/palette.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "tests/export/fakeprompts.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {
class RecordingOpener : public UrlOpener {
public:
    void OpenUrl(const QString& url) override { opened.append(url); }
    QStringList opened;
};

class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override { LocateSettingsFile(folder.file("decagon")); }

    MainDialog& Open()
    {
        dialog = std::make_unique<MainDialog>(&record, opener, &prompts);
        return *dialog;
    }
    void Show()
    {
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    QLineEdit* Field(int id) const { return DialogItemAs<QLineEdit>(*dialog, id); }
    QString Text(int id) const { return Field(id)->text(); }
    QComboBox* List(int id) const { return DialogItemAs<QComboBox>(*dialog, id); }
    QPushButton* Button(int id) const { return DialogItemAs<QPushButton>(*dialog, id); }
    std::string Settings() const { return ReadFileBytes(SettingsFilePath); }
    // The value of a key in a section of the settings file.
    std::string SettingsValue(const std::string& section, const std::string& key) const
    {
        return IniGetString(ParseIni(Settings()), section, key).value_or("");
    }
    void EnterHeight(const QString& text)
    {
        Field(kHeightFieldId)->setText(text);
        Button(kComputeId)->click();
    }

    TempFolder folder;
    DecagonRecord record{};
    RecordingOpener opener;
    FakePrompts prompts;
    std::unique_ptr<MainDialog> dialog;
};
} // namespace

TEST_F(MainDialogTest, FirstStartShowsTheDefaultFigureAndWritesTheSettingsFile)
{
    std::memset(&record, 0x5A, sizeof record);
    Open();
    EXPECT_EQ(dialog->AttachedRecord(), &record);
    EXPECT_EQ(Text(kHeightFieldId), QStringLiteral("254.8840"));
    EXPECT_EQ(Text(kAngleFieldId), QStringLiteral("40.0000"));
    EXPECT_EQ(Text(1030), QStringLiteral("127.4420"));
    EXPECT_EQ(Text(1034), QStringLiteral("36.0000"));
    EXPECT_EQ(Text(1039), QStringLiteral("39.3817")); // E6
    EXPECT_EQ(Text(1040), QStringLiteral("-121.2045"));
    EXPECT_EQ(Text(1053), QStringLiteral("-127.4420")); // E3
    EXPECT_EQ(Text(1054), QStringLiteral("-0.0000"));

    EXPECT_EQ(List(kBackgroundColorId)->currentIndex(), 0);
    EXPECT_EQ(List(kOutlineColorId)->currentIndex(), 17);
    EXPECT_EQ(List(kExternalCircleColorId)->currentIndex(), 34);
    EXPECT_EQ(List(kInternalCircleColorId)->currentIndex(), 24);
    const int vertexDefaults[10] = {8, 7, 25, 29, 10, 6, 18, 42, 40, 1};
    for (int row = 0; row < 10; ++row)
        EXPECT_EQ(List(kFirstVertexColorId + row)->currentIndex(), vertexDefaults[row]) << row;
    EXPECT_EQ(List(kDiagonalChoiceId)->currentText(), QStringLiteral("All"));
    EXPECT_TRUE(dialog->IsButtonChecked(kExternalYesId));
    EXPECT_TRUE(dialog->IsButtonChecked(kInternalYesId));
    EXPECT_FALSE(dialog->IsButtonChecked(kExternalNoId));
    EXPECT_FALSE(dialog->IsButtonChecked(kInternalNoId));

    EXPECT_TRUE(dialog->previewImage().isNull());
    EXPECT_EQ(SettingsValue("Trigo", "Rayon Exterieur"), "127.4420");
    EXPECT_EQ(SettingsValue("Diagonale", "Selected"), "1");
    EXPECT_NE(FindNumericFilter(dialog.get()), nullptr); // on the window itself

    Show();
    EXPECT_EQ(QApplication::focusWidget(), Field(kHeightFieldId));
    EXPECT_EQ(Field(kHeightFieldId)->selectedText(), QStringLiteral("254.8840"));
}

TEST_F(MainDialogTest, FillsFourteenColourListsAndTheDiagonalList)
{
    Open();
    int colorLists = 0;
    for (int id = kExternalCircleColorId; id <= kOutlineColorId; ++id) {
        if (id == kDiagonalChoiceId)
            continue;
        auto* list = qobject_cast<ColorList*>(List(id));
        ASSERT_NE(list, nullptr) << id;
        ASSERT_EQ(list->count(), 48) << id;
        for (int item = 0; item < 48; ++item) {
            EXPECT_EQ(list->itemText(item), QStringLiteral(" "));
            EXPECT_EQ(list->itemData(item).toInt(), item);
            EXPECT_EQ(list->itemData(item, Qt::AccessibleTextRole).toString(), ColorAccessibleName(item));
        }
        ++colorLists;
    }
    EXPECT_EQ(colorLists, 14);
    EXPECT_EQ(ColorAccessibleName(1), QStringLiteral("Red (255, 0, 0)"));
    EXPECT_EQ(ColorAccessibleName(40), QStringLiteral("Blue (0, 0, 255)"));
    EXPECT_EQ(List(kBackgroundColorId)->accessibleDescription(), QStringLiteral("Black (0, 0, 0)"));

    QComboBox* diagonals = List(kDiagonalChoiceId);
    EXPECT_EQ(qobject_cast<ColorList*>(diagonals), nullptr);
    const char* labels[] = {"(None)", "All", "E6", "E7", "E8", "E9", "E10", "E1", "E2", "E3", "E4", "E5"};
    ASSERT_EQ(diagonals->count(), 12);
    for (int item = 0; item < 12; ++item) {
        EXPECT_EQ(diagonals->itemText(item), QString::fromLatin1(labels[item]));
        EXPECT_EQ(diagonals->itemData(item).toInt(), item);
    }
}

TEST_F(MainDialogTest, ComputeWithAnEmptyHeightChangesNothing)
{
    Open();
    WriteFileBytes(SettingsFilePath, "[Colors]\r\nLines=3\r\n");
    Field(kHeightFieldId)->clear();
    const DecagonRecord before = record;
    Button(kComputeId)->click();
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    EXPECT_EQ(Settings(), "[Colors]\r\nLines=3\r\n");
    EXPECT_EQ(Text(1030), QStringLiteral("127.4420"));
    EXPECT_TRUE(Text(kHeightFieldId).isEmpty());
    EXPECT_TRUE(dialog->previewImage().isNull());
}

TEST_F(MainDialogTest, ComputeReadsTheLeadingNumberOfTheHeight)
{
    Open();
    EnterHeight(QStringLiteral("abc"));
    EXPECT_EQ(Text(kHeightFieldId), QStringLiteral("100.0000"));
    EXPECT_EQ(Text(1030), QStringLiteral("50.0000"));
    EnterHeight(QStringLiteral("12abc"));
    EXPECT_EQ(Text(kHeightFieldId), QStringLiteral("12.0000"));
    EnterHeight(QStringLiteral("  12"));
    EXPECT_EQ(Text(kHeightFieldId), QStringLiteral("12.0000"));
    EXPECT_EQ(SettingsValue("Trigo", "Rayon Exterieur"), "6.0000");

    // Text the dialog shows reads back as itself, however long.
    EnterHeight(QStringLiteral("1e300"));
    const QString shown = Text(kHeightFieldId);
    EXPECT_GT(shown.size(), 300);
    Button(kComputeId)->click();
    EXPECT_EQ(Text(kHeightFieldId), shown);
    EXPECT_EQ(record.expectedHeight, 1e300);
}

TEST_F(MainDialogTest, ComputeReadsEveryOptionAndPaintsThePreview)
{
    Open();
    DialogItemAs<QRadioButton>(*dialog, kExternalNoId)->click();
    List(kDiagonalChoiceId)->setCurrentIndex(0);
    List(kBackgroundColorId)->setCurrentIndex(47);
    List(kOutlineColorId)->setCurrentIndex(40);
    Field(kAngleFieldId)->clear();
    EnterHeight(QStringLiteral("300"));

    EXPECT_EQ(record.showExternalCircle, 0);
    EXPECT_EQ(record.showInternalCircle, 1);
    EXPECT_EQ(record.diagonalChoice, 0);
    EXPECT_EQ(record.backgroundColor, 47);
    EXPECT_EQ(record.outlineColor, 40);
    EXPECT_EQ(record.angle3D, 40.0);
    EXPECT_EQ(Text(kAngleFieldId), QStringLiteral("40.0000"));
    EXPECT_EQ(SettingsValue("Colors", "Background"), "47");

    const QImage& preview = dialog->previewImage();
    ASSERT_EQ(preview.size(), QSize(250, 250));
    EXPECT_EQ(dialog->previewPosition(), QPoint(dialog->width() - 260, 100));
    EXPECT_EQ(preview.pixelColor(2, 2), QColor(Qt::white)); // background position 47
}

TEST_F(MainDialogTest, PaintsThePreviewAgainAtEveryRepaint)
{
    Open();
    Show();
    List(kBackgroundColorId)->setCurrentIndex(1); // red
    EnterHeight(QStringLiteral("100"));
    const QRect box(dialog->previewPosition(), QSize(250, 250));
    for (int paint = 0; paint < 2; ++paint) {
        const QImage shown = dialog->grab(box).toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown, dialog->previewImage().convertToFormat(QImage::Format_RGB32)) << paint;
        EXPECT_EQ(shown.pixelColor(3, 3), QColor(255, 0, 0));
        dialog->repaint();
    }
}

TEST_F(MainDialogTest, ExitSavesANewVertexColourButNotANewBackground)
{
    Open();
    Show();
    List(kBackgroundColorId)->setCurrentIndex(5);
    QComboBox* e6 = List(kFirstVertexColorId);
    e6->setFocus();
    QTest::keyClick(e6, Qt::Key_Down); // as the user picks the next colour
    EXPECT_EQ(e6->currentIndex(), 9);
    EXPECT_EQ(record.diagonalColors[0], 9); // at once
    EXPECT_EQ(record.backgroundColor, 0);

    QComboBox* e5 = List(kLastVertexColorId);
    e5->setCurrentIndex(30);
    emit e5->activated(30);
    EXPECT_EQ(record.diagonalColors[9], 30);

    Button(kExitId)->click();
    EXPECT_EQ(SettingsValue("Colors", "E6"), "9");
    EXPECT_EQ(SettingsValue("Colors", "E5"), "30");
    EXPECT_EQ(SettingsValue("Colors", "Background"), "0");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), kExitId);
}

TEST_F(MainDialogTest, ImagesTakeTheVertexColoursAsPickedAndTheOtherColoursOfTheLastCompute)
{
    Open();
    List(kDiagonalChoiceId)->setCurrentIndex(2); // the fan labelled E6, in the colour of list 1017
    EnterHeight(QStringLiteral("100"));
    QComboBox* e6 = List(kFirstVertexColorId);
    e6->setCurrentIndex(1); // red, picked after the Compute
    emit e6->activated(1);
    List(kBackgroundColorId)->setCurrentIndex(47); // white, picked after the Compute

    // What the image export and the clipboard copy draw.
    const std::unique_ptr<FigureBitmap> figure = RenderFigureBitmap(*dialog, &record);
    ASSERT_NE(figure, nullptr);
    const QImage& image = figure->image;
    EXPECT_EQ(image.pixel(0, 0), PixelOf(PaletteColor(0))); // the background of the last Compute
    int picked = 0;
    int previous = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            picked += image.pixel(x, y) == PixelOf(PaletteColor(1)) ? 1 : 0;
            previous += image.pixel(x, y) == PixelOf(PaletteColor(8)) ? 1 : 0;
        }
    EXPECT_GT(picked, 0);
    EXPECT_EQ(previous, 0);
}

TEST_F(MainDialogTest, ProgramSelectionsAreNoUserChoice)
{
    Open();
    List(kFirstVertexColorId)->setCurrentIndex(3);
    EXPECT_EQ(record.diagonalColors[0], 8);
    dialog->StoreVertexColor(kFirstVertexColorId, 4); // another notification
    EXPECT_EQ(record.diagonalColors[0], 8);
    dialog->StoreVertexColor(kOutlineColorId, kSelectionChanged); // not a vertex list
    EXPECT_EQ(record.outlineColor, 17);
}

TEST_F(MainDialogTest, EscapeAndTheCloseBoxActAsExit)
{
    Open();
    Show();
    std::remove(SettingsFilePath.c_str());
    QTest::keyClick(Field(kHeightFieldId), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), kExitId);
    EXPECT_TRUE(FileExists(SettingsFilePath));

    Open();
    Show();
    std::remove(SettingsFilePath.c_str());
    EXPECT_TRUE(dialog->close());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), kExitId);
    EXPECT_TRUE(FileExists(SettingsFilePath));
}

TEST_F(MainDialogTest, EnterComputesUnlessAnotherPushButtonHasTheFocus)
{
    Open();
    Show();
    QLineEdit* height = Field(kHeightFieldId);
    QTest::keyClicks(height, QStringLiteral("12")); // replaces the selected text
    QTest::keyClick(height, Qt::Key_Return);
    EXPECT_EQ(height->text(), QStringLiteral("12.0000"));

    height->setText(QStringLiteral("20"));
    List(kOutlineColorId)->setFocus();
    QTest::keyClick(List(kOutlineColorId), Qt::Key_Enter);
    EXPECT_EQ(height->text(), QStringLiteral("20.0000"));

    height->setText(QStringLiteral("30"));
    prompts.cancel = true;
    Button(kExportTextId)->setFocus();
    QTest::keyClick(Button(kExportTextId), Qt::Key_Return);
    EXPECT_EQ(prompts.dialogs, 1);
    EXPECT_EQ(height->text(), QStringLiteral("30"));

    Button(kExitId)->setFocus();
    QTest::keyClick(Button(kExitId), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(height->text(), QStringLiteral("30"));
}

TEST_F(MainDialogTest, TypingIntoTheHeightIsLimitedButResultsShowWhole)
{
    Open();
    Show();
    QLineEdit* height = Field(kHeightFieldId);
    height->clear();
    QTest::keyClicks(height, QStringLiteral("1234567890"));
    EXPECT_EQ(height->text(), QStringLiteral("123456789"));
    EnterHeight(QStringLiteral("123456"));
    EXPECT_EQ(height->text(), QStringLiteral("123456.0000"));

    // The filter sits on the dialog window, not on the field: letters reach it.
    height->clear();
    QTest::keyClicks(height, QStringLiteral("abc"));
    EXPECT_EQ(height->text(), QStringLiteral("abc"));
}

TEST_F(MainDialogTest, EachLinkOpensOnceOnClickAndOnEnter)
{
    Open();
    Show();
    auto* wikipedia = DialogItemAs<LinkLabel>(*dialog, kWikipediaLinkId);
    auto* forum = DialogItemAs<LinkLabel>(*dialog, kForumLinkId);
    // The link is the last word of the text: click along it until it answers.
    for (int y = 1; y < wikipedia->height() && opener.opened.isEmpty(); y += 3)
        for (int x = 1; x < wikipedia->width() && opener.opened.isEmpty(); x += 3)
            QTest::mouseClick(wikipedia, Qt::LeftButton, {}, QPoint(x, y));
    QTest::mouseClick(forum, Qt::LeftButton, {}, QPoint(5, forum->height() / 2));
    EXPECT_EQ(opener.opened, (QStringList{QString::fromLatin1(kWikipediaUrl), QString::fromLatin1(kForumUrl)}));

    opener.opened.clear();
    Button(kCopyImageId)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    EXPECT_EQ(opener.opened, (QStringList{QString::fromLatin1(kWikipediaUrl), QString::fromLatin1(kForumUrl)}));
    EXPECT_TRUE(dialog->isVisible());

    dialog->OpenLink(kForumLinkId, 1, QStringLiteral("https://elsewhere.example/"), kLinkClicked);
    dialog->OpenLink(kForumLinkId, 0, QStringLiteral("https://elsewhere.example/"), -3);
    EXPECT_EQ(opener.opened.size(), 2);
}

TEST_F(MainDialogTest, ExportsTheTextFileOfTheLastCompute)
{
    Open();
    EnterHeight(QStringLiteral("100"));
    Field(kHeightFieldId)->setText(QStringLiteral("555"));
    prompts.answer = folder.file("out.csv");
    Button(kExportTextId)->click();
    const std::string bytes = ReadFileBytes(folder.file("out.csv"));
    ASSERT_GT(bytes.size(), 280u);
    EXPECT_EQ(bytes.substr(280, 11), "100.000000;");
    ASSERT_EQ(prompts.information.size(), 1u);
    EXPECT_EQ(prompts.information[0], "File saved\nThe file is an aSCII Delimited File.");
}

TEST_F(MainDialogTest, ImageButtonsRunTheCommandsStartUpGivesThem)
{
    Open();
    Button(kExportImageId)->click(); // none given: nothing happens
    Button(kCopyImageId)->click();
    int exports = 0;
    int copies = 0;
    dialog->SetImageCommands(
        [&](DialogView& view, UserPrompts& used) {
            EXPECT_EQ(&view, static_cast<DialogView*>(dialog.get()));
            EXPECT_EQ(&used, &prompts);
            ++exports;
        },
        [&](DialogView&, UserPrompts&) { ++copies; });
    Button(kExportImageId)->click();
    Button(kCopyImageId)->click();
    Button(kCopyImageId)->click();
    EXPECT_EQ(exports, 1);
    EXPECT_EQ(copies, 2);
}

TEST_F(MainDialogTest, AnswersTheRenderersQuestions)
{
    Open();
    List(kDiagonalChoiceId)->setCurrentIndex(6);
    EXPECT_EQ(dialog->SelectedItemData(kDiagonalChoiceId), 6);
    EXPECT_EQ(dialog->SelectedItemData(kBackgroundColorId), 0);
    List(kBackgroundColorId)->setCurrentIndex(-1);
    EXPECT_EQ(dialog->SelectedItemData(kBackgroundColorId), -1);
    EXPECT_EQ(dialog->SelectedItemData(4242), -1);
    EXPECT_FALSE(dialog->IsButtonChecked(4242));
    EXPECT_EQ(dialog->ClientRect(), QRect(QPoint(0, 0), dialog->size()));
}

TEST_F(MainDialogTest, AStoredColourOutsideThePaletteShowsTheFirstItemUntilCompute)
{
    WriteFileBytes(SettingsFilePath, "[Colors]\r\nLines=99\r\nBackground=-4\r\n");
    Open();
    EXPECT_EQ(List(kOutlineColorId)->currentIndex(), 0);
    EXPECT_EQ(List(kBackgroundColorId)->currentIndex(), 0);
    EXPECT_EQ(record.outlineColor, 99);
    EXPECT_EQ(SettingsValue("Colors", "Lines"), "99");
    Button(kComputeId)->click();
    EXPECT_EQ(record.outlineColor, 0);
    EXPECT_EQ(record.backgroundColor, 0);
    EXPECT_EQ(SettingsValue("Colors", "Lines"), "0");
}

TEST_F(MainDialogTest, WithoutARecordTheDialogStillEnds)
{
    dialog = std::make_unique<MainDialog>(nullptr, opener, &prompts);
    EXPECT_EQ(dialog->AttachedRecord(), nullptr);
    Button(kComputeId)->click();
    Button(kExportTextId)->click();
    EXPECT_EQ(prompts.dialogs, 0);
    Show();
    Button(kExitId)->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(FileExists(SettingsFilePath));
}
