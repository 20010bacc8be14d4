// The Qt dialog is a view: each kind of control shows what the controller
// sets and reports what the user does. The behaviour itself is the
// controller's (tests/dialog).
#include "qt/colorlist.h"
#include "qt/dialogbuilder.h"
#include "qt/linklabel.h"
#include "qt/maindialog.h"
#include "qt/numericfilter.h"
#include "render/canvas.h"
#include "render/painter.h"
#include "render/palette.h"
#include "render/swatch.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "tests/export/fakeimagelayer.h"
#include "tests/export/fakeprompts.h"
#include "tests/support/recordingopener.h"
#include "tests/support/testsupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {
class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override { LocateSettingsFile(folder.file("decagon")); }

    MainDialog& Open(DecagonRecord* attached = nullptr)
    {
        dialog = std::make_unique<MainDialog>(attached != nullptr ? attached : &record, opener, &prompts, &layer);
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
    QRadioButton* Radio(int id) const { return DialogItemAs<QRadioButton>(*dialog, id); }
    std::string SettingsValue(const std::string& section, const std::string& key) const
    {
        return IniGetString(ParseIni(ReadFileBytes(SettingsFilePath)), section, key).value_or("");
    }

    TempFolder folder;
    DecagonRecord record{};
    RecordingOpener opener;
    FakePrompts prompts;
    FakeImageLayer layer;
    std::unique_ptr<MainDialog> dialog;
};
} // namespace

TEST_F(MainDialogTest, EditFieldsShowSetTextWholeLimitTypingAndStartWithTheHeightSelected)
{
    Open();
    EXPECT_EQ(Text(kHeightFieldId), QStringLiteral("254.8840"));
    EXPECT_EQ(Text(1054), QStringLiteral("-0.0000"));
    EXPECT_NE(FindNumericFilter(dialog.get()), nullptr); // on the window itself
    Show();
    EXPECT_EQ(QApplication::focusWidget(), Field(kHeightFieldId));
    EXPECT_EQ(Field(kHeightFieldId)->selectedText(), QStringLiteral("254.8840"));

    // Bytes in and out one for one, whatever their length.
    dialog->SetItemText(kHeightFieldId, "123456.0000\xE9");
    EXPECT_EQ(Text(kHeightFieldId), QStringLiteral("123456.0000\u00E9"));
    EXPECT_EQ(dialog->ItemText(kHeightFieldId), "123456.0000\xE9");
    EXPECT_EQ(dialog->ItemText(kComputeId), "Compute");
    EXPECT_EQ(dialog->ItemText(4242), "");
    dialog->SetItemText(4242, "nothing there");

    QLineEdit* height = Field(kHeightFieldId);
    height->clear();
    QTest::keyClicks(height, QStringLiteral("1234567890"));
    EXPECT_EQ(height->text(), QStringLiteral("123456789"));
    // The filter sits on the dialog window, not on the field: letters reach it.
    height->clear();
    QTest::keyClicks(height, QStringLiteral("abc"));
    EXPECT_EQ(height->text(), QStringLiteral("abc"));

    dialog->SetItemText(kAngleFieldId, "12345");
    dialog->SelectItemText(kAngleFieldId, 1, 3);
    EXPECT_EQ(Field(kAngleFieldId)->selectedText(), QStringLiteral("23"));
    dialog->SelectItemText(kAngleFieldId, 2, -1);
    EXPECT_EQ(Field(kAngleFieldId)->selectedText(), QStringLiteral("345"));
    dialog->SelectItemText(kAngleFieldId, 4, 99);
    EXPECT_EQ(Field(kAngleFieldId)->selectedText(), QStringLiteral("5"));
    dialog->LimitItemText(kAngleFieldId, 2);
    dialog->SetItemText(kAngleFieldId, "");
    QTest::keyClicks(Field(kAngleFieldId), QStringLiteral("1234"));
    EXPECT_EQ(Text(kAngleFieldId), QStringLiteral("12"));
}

TEST_F(MainDialogTest, RadioButtonsAreCheckedInPairsAndReadAtCompute)
{
    Open();
    EXPECT_TRUE(dialog->IsButtonChecked(kExternalYesId));
    EXPECT_FALSE(dialog->IsButtonChecked(kExternalNoId));
    Radio(kExternalNoId)->click();
    EXPECT_FALSE(dialog->IsButtonChecked(kExternalYesId));
    Button(kComputeId)->click();
    EXPECT_EQ(record.showExternalCircle, 0);
    EXPECT_EQ(record.showInternalCircle, 1);

    dialog->SetButtonChecked(kInternalNoId, true);
    EXPECT_FALSE(Radio(kInternalYesId)->isChecked());
    dialog->SetButtonChecked(kInternalYesId, true);
    dialog->SetButtonChecked(kInternalNoId, false);
    EXPECT_TRUE(Radio(kInternalYesId)->isChecked());
    EXPECT_FALSE(Radio(kInternalNoId)->isChecked());
    EXPECT_FALSE(dialog->IsButtonChecked(4242));
    EXPECT_FALSE(dialog->IsButtonChecked(kComputeId)); // a push button has no check mark
}

TEST_F(MainDialogTest, ListsHoldTheirItemsAndReportOnlyTheUsersChoice)
{
    Open();
    // Colour lists paint swatches and name their colour for screen readers.
    auto* colours = qobject_cast<ColorList*>(List(kBackgroundColorId));
    ASSERT_NE(colours, nullptr);
    ASSERT_EQ(colours->count(), 48);
    EXPECT_EQ(colours->itemText(40), QStringLiteral(" "));
    EXPECT_EQ(colours->itemData(40).toInt(), 40);
    EXPECT_EQ(colours->itemData(40, Qt::AccessibleTextRole).toString(), QStringLiteral("Blue (0, 0, 255)"));
    EXPECT_EQ(colours->accessibleDescription(), QStringLiteral("Black (0, 0, 0)"));
    colours->setCurrentIndex(40);
    EXPECT_EQ(colours->accessibleDescription(), QStringLiteral("Blue (0, 0, 255)"));
    // A position outside the palette (from a hand-edited file) is named as
    // it is painted: as position 0.
    EXPECT_EQ(colours->addColorItem(99), 48);
    EXPECT_EQ(colours->itemData(48).toInt(), 99);
    EXPECT_EQ(colours->itemData(48, Qt::AccessibleTextRole).toString(), QStringLiteral("Black (0, 0, 0)"));
    QComboBox* diagonals = List(kDiagonalChoiceId);
    EXPECT_EQ(qobject_cast<ColorList*>(diagonals), nullptr);
    EXPECT_EQ(diagonals->currentText(), QStringLiteral("All"));
    EXPECT_EQ(dialog->ListItemCount(kDiagonalChoiceId), 12);

    EXPECT_EQ(dialog->AddListItem(kDiagonalChoiceId, "Extra\xE9", 77), 12);
    EXPECT_EQ(diagonals->itemText(12), QStringLiteral("Extra\u00E9"));
    EXPECT_EQ(dialog->ListItemData(kDiagonalChoiceId, 12), 77);
    EXPECT_EQ(dialog->ListItemData(kDiagonalChoiceId, 13), -1);
    EXPECT_EQ(dialog->ListItemData(kDiagonalChoiceId, -1), -1);
    EXPECT_EQ(dialog->AddListItem(kHeightFieldId, "x", 1), -1);
    EXPECT_EQ(dialog->ListSelection(4242), -1);
    dialog->SetListSelection(kDiagonalChoiceId, 12);
    EXPECT_EQ(dialog->ListSelection(kDiagonalChoiceId), 12);

    // The program's selection sends nothing; the user's is stored at once.
    QComboBox* e6 = List(kFirstVertexColorId);
    dialog->SetListSelection(kFirstVertexColorId, 3);
    EXPECT_EQ(record.diagonalColors[0], 8);
    Show();
    e6->setFocus();
    QTest::keyClick(e6, Qt::Key_Down); // as the user picks the next colour
    EXPECT_EQ(e6->currentIndex(), 4);
    EXPECT_EQ(record.diagonalColors[0], 4);
    QComboBox* e5 = List(kLastVertexColorId);
    e5->setCurrentIndex(30);
    emit e5->activated(30);
    EXPECT_EQ(record.diagonalColors[9], 30);
    // Other lists are read at Compute only.
    List(kOutlineColorId)->setFocus();
    QTest::keyClick(List(kOutlineColorId), Qt::Key_Down);
    EXPECT_EQ(record.outlineColor, 17);
}

TEST_F(MainDialogTest, PopupsBuiltWhenFirstDroppedMatchTheBoxStyleAndPaintSwatches)
{
    Open();
    Show();
    // A list whose popup is made late gets the same item delegate as a box
    // whose popup existed when the drop-below style was put on it.
    QComboBox* diagonals = List(kDiagonalChoiceId);
    QComboBox early;
    early.view();
    early.setStyle(diagonals->style());
    EXPECT_STREQ(diagonals->view()->itemDelegate()->metaObject()->className(),
                 early.view()->itemDelegate()->metaObject()->className());
    EXPECT_FALSE(diagonals->style()->styleHint(QStyle::SH_ComboBox_Popup, nullptr, diagonals));

    // A colour list's popup shows swatches at the swatch size, with a scroll
    // bar as needed, from its first drop on.
    auto* colours = qobject_cast<ColorList*>(List(kBackgroundColorId));
    ASSERT_NE(colours, nullptr);
    colours->showPopup();
    EXPECT_NE(dynamic_cast<ColorItemDelegate*>(colours->view()->itemDelegate()), nullptr);
    EXPECT_EQ(colours->view()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    const ColorItemSize item = MeasureColorItem();
    EXPECT_EQ(colours->view()->sizeHintForRow(0), item.height);
    colours->hidePopup();
    colours->showPopup(); // a second drop keeps the same painter
    EXPECT_NE(dynamic_cast<ColorItemDelegate*>(colours->view()->itemDelegate()), nullptr);
    colours->hidePopup();
}

TEST_F(MainDialogTest, PushButtonsEnterEscapeAndTheCloseBoxReachTheController)
{
    Open();
    Show();
    QLineEdit* height = Field(kHeightFieldId);
    QTest::keyClicks(height, QStringLiteral("12")); // replaces the selected text
    QTest::keyClick(height, Qt::Key_Return);
    EXPECT_EQ(height->text(), QStringLiteral("12.0000"));

    height->setText(QStringLiteral("20"));
    List(kOutlineColorId)->setFocus();
    QTest::keyClick(List(kOutlineColorId), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(height->text(), QStringLiteral("20.0000"));

    height->setText(QStringLiteral("30"));
    prompts.cancel = true;
    Button(kExportTextId)->setFocus();
    QTest::keyClick(Button(kExportTextId), Qt::Key_Return);
    EXPECT_EQ(prompts.dialogs, 1);
    Button(kExportImageId)->click();
    EXPECT_EQ(prompts.dialogs, 2);
    prompts.cancel = false;
    Button(kCopyImageId)->click();
    EXPECT_EQ(layer.clipboard.size(), 1u);
    EXPECT_EQ(height->text(), QStringLiteral("30"));

    Button(kExitId)->setFocus();
    QTest::keyClick(Button(kExitId), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), kExitId);
    EXPECT_EQ(height->text(), QStringLiteral("30"));

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

TEST_F(MainDialogTest, EachLinkOpensOnceOnClickAndOnEnter)
{
    Open();
    Show();
    auto* wikipedia = DialogItemAs<LinkLabel>(*dialog, kWikipediaLinkId);
    auto* forum = DialogItemAs<LinkLabel>(*dialog, kForumLinkId);
    // The link is the last word of the text: click along it until it answers.
    for (int y = 1; y < wikipedia->height() && opener.opened.empty(); y += 3)
        for (int x = 1; x < wikipedia->width() && opener.opened.empty(); x += 3)
            QTest::mouseClick(wikipedia, Qt::LeftButton, {}, QPoint(x, y));
    QTest::mouseClick(forum, Qt::LeftButton, {}, QPoint(5, forum->height() / 2));
    EXPECT_EQ(opener.opened, (std::vector<std::string>{kWikipediaUrl, kForumUrl}));

    opener.opened.clear();
    Button(kCopyImageId)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    EXPECT_EQ(opener.opened, (std::vector<std::string>{kWikipediaUrl, kForumUrl}));
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(MainDialogTest, ThePreviewIsShownWithoutACopyAndPaintedAgainAtEveryRepaint)
{
    Open();
    Show();
    EXPECT_TRUE(dialog->previewImage().isNull());
    const PixelRect client = dialog->ClientRect();
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.right, dialog->width());
    EXPECT_EQ(client.bottom, dialog->height());

    List(kBackgroundColorId)->setCurrentIndex(1); // red
    Field(kHeightFieldId)->setText(QStringLiteral("100"));
    Button(kComputeId)->click();
    EXPECT_EQ(dialog->previewPosition(), QPoint(dialog->width() - 260, 100));
    ASSERT_EQ(dialog->previewImage().size(), QSize(250, 250));
    const QRect box(dialog->previewPosition(), QSize(250, 250));
    for (int paint = 0; paint < 2; ++paint) {
        const QImage shown = dialog->grab(box).toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown, dialog->previewImage().convertToFormat(QImage::Format_RGB32)) << paint;
        EXPECT_EQ(shown.pixelColor(3, 3), QColor(255, 0, 0));
        dialog->repaint();
    }

    Canvas canvas;
    ASSERT_EQ(MakeCanvas(4, 3, canvas), 1);
    FillRect(canvas, {0, 0, 4, 3}, PaletteColor(40));
    dialog->PresentPreview(canvas, {7, 9});
    EXPECT_EQ(dialog->previewImage().constBits(), reinterpret_cast<const uchar*>(canvas.pixels.get()));
    EXPECT_EQ(dialog->previewPosition(), QPoint(7, 9));
    canvas = Canvas{}; // the window keeps the pixels alive
    EXPECT_EQ(dialog->previewImage().pixelColor(3, 2), QColor(0, 0, 255));
}

TEST_F(MainDialogTest, WithoutARecordTheDialogStillEnds)
{
    dialog = std::make_unique<MainDialog>(nullptr, opener, &prompts);
    EXPECT_EQ(dialog->AttachedRecord(), nullptr);
    Button(kComputeId)->click();
    Button(kExportTextId)->click();
    Button(kExportImageId)->click();
    EXPECT_EQ(prompts.dialogs, 0);
    Show();
    Button(kExitId)->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(FileExists(SettingsFilePath));
}
