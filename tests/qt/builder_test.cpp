#include "qt/dialogbuilder.h"
#include "qt/droplist.h"
#include "qt/linklabel.h"
#include "resources/artwork.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {
std::vector<int> ExpectedTabOrder()
{
    std::vector<int> order = {1028, 1029};
    for (int id = 1030; id <= 1058; ++id)
        order.push_back(id);
    for (int id : {1003, 1060, 1061, 1062, 1063, 1013, 1014, 1015, 1016})
        order.push_back(id);
    for (int id = 1017; id <= 1026; ++id)
        order.push_back(id);
    for (int id : {1004, 1005, 1006, 1066, 1067, 2, 1027})
        order.push_back(id);
    return order;
}

QString FocusName() { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }
} // namespace

TEST(DialogTemplate, ListsStaticsFirstThenTheControlsInTabOrder)
{
    const DialogTemplate& layout = MainDialogTemplate;
    EXPECT_EQ(layout.id, 1002);
    EXPECT_STREQ(layout.caption, "Define the decagon");
    EXPECT_STREQ(layout.fontName, "Tahoma");
    EXPECT_EQ(layout.fontPointSize, 8);
    EXPECT_EQ(layout.width, 858);
    EXPECT_EQ(layout.height, 294);

    std::vector<int> controls;
    bool controlSeen = false;
    for (int index = 0; index < layout.controlCount; ++index) {
        const ControlTemplate& item = layout.controls[index];
        if (item.id == kNoControlId) {
            EXPECT_FALSE(controlSeen) << "static after a control at " << index;
            EXPECT_EQ(item.style & kStyleTabStop, 0u) << index;
        } else {
            controlSeen = true;
            controls.push_back(item.id);
        }
    }
    EXPECT_EQ(controls, ExpectedTabOrder());
    EXPECT_EQ(std::set<int>(controls.begin(), controls.end()).size(), controls.size());
}

TEST(DialogTemplate, GivesTheTabStopsGroupsAndStylesOfEachKindOfControl)
{
    for (int index = 0; index < MainDialogTemplate.controlCount; ++index) {
        const ControlTemplate& item = MainDialogTemplate.controls[index];
        if (item.id == kNoControlId)
            continue;
        const bool radio = item.kind == ControlKind::Radio;
        EXPECT_EQ((item.style & kStyleTabStop) != 0, !radio) << item.id;
        EXPECT_EQ((item.style & kStyleVisible) != 0, item.id != kAngleFieldId) << item.id;
        if (item.kind == ControlKind::DropList) {
            EXPECT_EQ(item.rect.width, 76) << item.id;
            EXPECT_EQ(item.rect.height, 300) << item.id;
            EXPECT_EQ((item.style & kStyleOwnerDraw) != 0, item.id != kDiagonalChoiceId) << item.id;
        }
        if (item.kind == ControlKind::Edit) {
            EXPECT_EQ((item.style & kStyleReadOnly) != 0, item.id >= 1030) << item.id;
        }
    }
    for (int id : {kExternalYesId, kInternalYesId, kExternalCircleColorId})
        EXPECT_NE(FindControl(MainDialogTemplate, id)->style & kStyleGroup, 0u) << id;
    for (int id : {kExternalNoId, kInternalNoId})
        EXPECT_EQ(FindControl(MainDialogTemplate, id)->style & kStyleGroup, 0u) << id;
    EXPECT_NE(FindControl(MainDialogTemplate, kComputeId)->style & kStyleDefaultButton, 0u);
    EXPECT_EQ(FindControl(MainDialogTemplate, kNoControlId), nullptr);
    EXPECT_EQ(FindControl(MainDialogTemplate, 4242), nullptr);

    // The vertex fields: x at the ring position, y 40 units to its right.
    const ControlTemplate* e6x = FindControl(MainDialogTemplate, 1039);
    const ControlTemplate* e6y = FindControl(MainDialogTemplate, 1040);
    EXPECT_EQ(e6y->rect.x, e6x->rect.x + 40);
    EXPECT_EQ(e6y->rect.y, e6x->rect.y);
    const ControlTemplate* e3x = FindControl(MainDialogTemplate, 1053);
    EXPECT_EQ(e3x->rect.x, 396);
    EXPECT_EQ(e3x->rect.y, 104);
}

TEST(DialogUnits, ConvertAsTheWindowsDialogManagerDoes)
{
    EXPECT_EQ(MulDivRound(294, 13, 8), 478); // 477.75
    EXPECT_EQ(MulDivRound(6, 13, 4), 20);    // 19.5 rounds away from zero
    EXPECT_EQ(MulDivRound(-6, 13, 4), -20);
    EXPECT_EQ(MulDivRound(1, 1, 0), -1);
    const DialogBaseUnits tahoma{6, 13};
    EXPECT_EQ(DialogUnitsToPixels({0, 0, 858, 294}, tahoma), QRect(0, 0, 1287, 478));
    EXPECT_EQ(DialogUnitsToPixels({88, 4, 40, 12}, tahoma), QRect(132, 7, 60, 20));

    const QFont font = DialogFont(MainDialogTemplate);
    EXPECT_EQ(font.pointSize(), 8);
    const DialogBaseUnits units = MeasureBaseUnits(font);
    const int letters =
        QFontMetrics(font).horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(units.charWidth, (letters / 26 + 1) / 2);
    EXPECT_EQ(units.charHeight, QFontMetrics(font).height());
}

class BuiltDialog : public ::testing::Test {
protected:
    void SetUp() override { units = BuildDialog(dialog, MainDialogTemplate); }
    void Show()
    {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    QDialog dialog;
    DialogBaseUnits units{};
};

TEST_F(BuiltDialog, HasTheTemplatesWindow)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Define the decagon"));
    const QSize size = DialogUnitsToPixels({0, 0, 858, 294}, units).size();
    EXPECT_EQ(dialog.minimumSize(), size);
    EXPECT_EQ(dialog.maximumSize(), size);
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowContextHelpButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(dialog.windowIcon().isNull());
    EXPECT_EQ(dialog.font().pointSize(), 8);

    Show();
    const QRect screen = dialog.screen()->availableGeometry();
    EXPECT_LE(std::abs(dialog.frameGeometry().center().x() - screen.center().x()), 2);
    EXPECT_LE(std::abs(dialog.frameGeometry().center().y() - screen.center().y()), 2);
}

TEST_F(BuiltDialog, MakesEveryControlFindableByItsIdWithItsKindAndPlace)
{
    for (int index = 0; index < MainDialogTemplate.controlCount; ++index) {
        const ControlTemplate& item = MainDialogTemplate.controls[index];
        const QString name = item.id == kNoControlId ? QStringLiteral("static%1").arg(index) : ControlName(item.id);
        QWidget* widget = dialog.findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
        ASSERT_NE(widget, nullptr) << index;
        const QRect area = DialogUnitsToPixels(item.rect, units);
        if (item.kind == ControlKind::Label) {
            EXPECT_TRUE(widget->geometry().contains(area)) << index; // may grow to show its text
            EXPECT_EQ(widget->y(), area.y()) << index;
        } else {
            EXPECT_EQ(widget->pos(), area.topLeft()) << index;
            EXPECT_EQ(widget->width(), area.width()) << index;
        }
        switch (item.kind) {
        case ControlKind::Edit:
            EXPECT_NE(qobject_cast<QLineEdit*>(widget), nullptr) << index;
            EXPECT_EQ(qobject_cast<QLineEdit*>(widget)->isReadOnly(), (item.style & kStyleReadOnly) != 0);
            break;
        case ControlKind::PushButton:
            ASSERT_NE(qobject_cast<QPushButton*>(widget), nullptr) << index;
            EXPECT_EQ(qobject_cast<QPushButton*>(widget)->isDefault(), item.id == kComputeId);
            break;
        case ControlKind::Radio:
            EXPECT_NE(qobject_cast<QRadioButton*>(widget), nullptr) << index;
            break;
        case ControlKind::DropList:
            ASSERT_NE(dynamic_cast<DropList*>(widget), nullptr) << index;
            EXPECT_EQ(dynamic_cast<DropList*>(widget)->droppedHeight(), area.height());
            EXPECT_FALSE(dynamic_cast<DropList*>(widget)->isEditable());
            break;
        case ControlKind::Link:
            EXPECT_NE(qobject_cast<LinkLabel*>(widget), nullptr) << index;
            break;
        case ControlKind::Label:
            ASSERT_NE(qobject_cast<QLabel*>(widget), nullptr) << index;
            EXPECT_EQ(qobject_cast<QLabel*>(widget)->text(), QString::fromLatin1(item.text));
            break;
        default:
            EXPECT_EQ(widget->height(), area.height()) << index;
            break;
        }
    }
    EXPECT_EQ(DialogItemAs<QLineEdit>(dialog, kHeightFieldId)->text(), QStringLiteral("0.00"));
    EXPECT_EQ(DialogItem(dialog, 4242), nullptr);
}

TEST_F(BuiltDialog, ShowsEveryOneLineTextWhole)
{
    const QFontMetrics metrics(dialog.font());
    for (int index = 0; index < MainDialogTemplate.controlCount; ++index) {
        const ControlTemplate& item = MainDialogTemplate.controls[index];
        if (item.kind != ControlKind::Label || item.rect.height > 8)
            continue;
        auto* label = dialog.findChild<QLabel*>(QStringLiteral("static%1").arg(index));
        ASSERT_NE(label, nullptr);
        EXPECT_FALSE(label->wordWrap()) << item.text;
        EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text())) << item.text;
    }
}

TEST(OneLineLabel, GrowsAwayFromItsAlignedEdgeToShowItsText)
{
    QLabel label(QStringLiteral("A text much wider than its box"));
    const int width = QFontMetrics(label.font()).horizontalAdvance(label.text());
    const QRect box(100, 10, 40, QFontMetrics(label.font()).height());
    label.setAlignment(Qt::AlignRight | Qt::AlignTop);
    EXPECT_EQ(FitOneLineLabel(label, box), QRect(140 - width, 10, width, box.height()));
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    EXPECT_EQ(FitOneLineLabel(label, box), QRect(100, 10, width, box.height()));
    label.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    const QRect centred = FitOneLineLabel(label, box);
    EXPECT_EQ(centred.width(), width);
    EXPECT_LE(std::abs(centred.center().x() - box.center().x()), 1);
    EXPECT_FALSE(label.wordWrap());

    // Two lines high: the text wraps inside the box.
    label.setWordWrap(true);
    const QRect tall(100, 10, 40, 3 * box.height());
    EXPECT_EQ(FitOneLineLabel(label, tall), tall);
    EXPECT_TRUE(label.wordWrap());
}

TEST_F(BuiltDialog, ShowsThePictureAndTheIconAtTheirOwnSize)
{
    int pictures = 0;
    for (int index = 0; index < MainDialogTemplate.controlCount; ++index) {
        const ControlTemplate& item = MainDialogTemplate.controls[index];
        if (item.kind != ControlKind::Picture && item.kind != ControlKind::Icon)
            continue;
        auto* image = dialog.findChild<QLabel*>(QStringLiteral("static%1").arg(index));
        ASSERT_NE(image, nullptr);
        const QSize expected = item.kind == ControlKind::Picture ? QSize(253, 300) : QSize(48, 48);
        EXPECT_EQ(image->pixmap().size(), expected);
        EXPECT_EQ(image->alignment(), Qt::AlignCenter);
        ++pictures;
    }
    EXPECT_EQ(pictures, 2);

    const QImage picture(BitmapResourcePath(kConstructionBitmapId));
    EXPECT_EQ(picture.format(), QImage::Format_Indexed8); // 256 colours
    EXPECT_LE(picture.colorCount(), 256);
    EXPECT_EQ(QImage(IconResourcePath(kProgramIconId)).size(), QSize(48, 48));
}

TEST_F(BuiltDialog, TabVisitsTheTabStopsInTemplateOrderSkippingTheHiddenPair)
{
    Show();
    std::vector<int> expected;
    for (int id : ExpectedTabOrder())
        if (id != kAngleFieldId && (id < kExternalYesId || id > kInternalNoId))
            expected.push_back(id);

    DialogItem(dialog, kHeightFieldId)->setFocus(Qt::OtherFocusReason);
    std::vector<int> visited;
    for (std::size_t step = 0; step < expected.size(); ++step) {
        visited.push_back(FocusName().toInt());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(FocusName(), ControlName(kHeightFieldId)); // round again

    // Backwards from the first stop reaches the last one.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(FocusName(), ControlName(kOutlineColorId));
}

TEST_F(BuiltDialog, NeverShowsTheHiddenPairNorGivesItTheFocus)
{
    Show();
    QWidget* field = DialogItem(dialog, kAngleFieldId);
    QWidget* label = nullptr;
    for (int index = 0; index < MainDialogTemplate.controlCount; ++index)
        if (MainDialogTemplate.controls[index].id == kNoControlId &&
            !(MainDialogTemplate.controls[index].style & kStyleVisible))
            label = dialog.findChild<QWidget*>(QStringLiteral("static%1").arg(index));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(qobject_cast<QLabel*>(label)->text(), QStringLiteral("Angle for the 3D view:"));
    for (QWidget* widget : {field, label}) {
        EXPECT_FALSE(widget->isVisible());
        EXPECT_TRUE(widget->isHidden());
        EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
    }
    field->setFocus();
    EXPECT_FALSE(field->hasFocus());
}

TEST_F(BuiltDialog, KeepsEachPairOfRadioButtonsExclusiveOnItsOwn)
{
    auto* externalYes = DialogItemAs<QRadioButton>(dialog, kExternalYesId);
    auto* externalNo = DialogItemAs<QRadioButton>(dialog, kExternalNoId);
    auto* internalYes = DialogItemAs<QRadioButton>(dialog, kInternalYesId);
    auto* internalNo = DialogItemAs<QRadioButton>(dialog, kInternalNoId);
    externalYes->setChecked(true);
    internalYes->setChecked(true);
    externalNo->click();
    EXPECT_TRUE(externalNo->isChecked());
    EXPECT_FALSE(externalYes->isChecked());
    EXPECT_TRUE(internalYes->isChecked());
    internalNo->click();
    EXPECT_TRUE(externalNo->isChecked());
    EXPECT_TRUE(internalNo->isChecked());
    EXPECT_FALSE(internalYes->isChecked());
    for (auto* radio : {externalYes, externalNo, internalYes, internalNo})
        EXPECT_EQ(radio->focusPolicy(), Qt::ClickFocus);
}

TEST_F(BuiltDialog, DropsListsDownToTheTemplatesHeight)
{
    auto* list = DialogItemAs<DropList>(dialog, kDiagonalChoiceId);
    ASSERT_NE(list, nullptr);
    for (int item = 0; item < 60; ++item)
        list->addItem(QString::number(item));
    const int row = list->view()->sizeHintForRow(0);
    const int rows = list->visibleRowsWhenDropped();
    EXPECT_EQ(rows, (DialogUnitsToPixels({0, 0, 0, 300}, units).height() - list->height()) / row);
    EXPECT_LT(rows, 60);
    EXPECT_FALSE(list->style()->styleHint(QStyle::SH_ComboBox_Popup, nullptr, list));
}

TEST(LinkLabel, TurnsTheTemplateMarkupIntoRichTextWithItsTargets)
{
    QStringList urls;
    EXPECT_EQ(LinkMarkupToRichText(QStringLiteral("a < b, see <a href=\"https://x.org/?a=1&b=2\">X & Y</a>."), urls),
              QStringLiteral("a &lt; b, see <a href=\"https://x.org/?a=1&amp;b=2\">X &amp; Y</a>."));
    EXPECT_EQ(urls, QStringList{QStringLiteral("https://x.org/?a=1&b=2")});
    urls.clear();
    EXPECT_EQ(LinkMarkupToRichText(QStringLiteral("plain"), urls), QStringLiteral("plain"));
    EXPECT_TRUE(urls.isEmpty());
}

TEST_F(BuiltDialog, LinksLeadToAnEncyclopediaArticleAndAForum)
{
    auto* wikipedia = DialogItemAs<LinkLabel>(dialog, kWikipediaLinkId);
    auto* forum = DialogItemAs<LinkLabel>(dialog, kForumLinkId);
    EXPECT_EQ(wikipedia->urls(), QStringList{QString::fromLatin1(kWikipediaUrl)});
    EXPECT_EQ(forum->urls(), QStringList{QString::fromLatin1(kForumUrl)});
    EXPECT_TRUE(wikipedia->text().startsWith(
        QStringLiteral("The fields are positionned in the order they can be seen on <a href=")));
    EXPECT_TRUE(wikipedia->text().endsWith(QStringLiteral(">Wikipedia</a>.")));
    EXPECT_FALSE(wikipedia->openExternalLinks());
    EXPECT_FALSE(wikipedia->autoFillBackground());
}

TEST_F(BuiltDialog, ReportsALinkOnceOnClickAndOnceOnEnterWithoutPressingTheDefaultButton)
{
    Show();
    auto* forum = DialogItemAs<LinkLabel>(dialog, kForumLinkId);
    QSignalSpy triggered(forum, &LinkLabel::linkTriggered);
    QSignalSpy computed(DialogItemAs<QPushButton>(dialog, kComputeId), &QPushButton::clicked);

    QTest::mouseClick(forum, Qt::LeftButton, {}, QPoint(10, forum->height() / 2));
    ASSERT_EQ(triggered.count(), 1);
    EXPECT_EQ(triggered.at(0).at(0).toInt(), 0);
    EXPECT_EQ(triggered.at(0).at(1).toString(), QString::fromLatin1(kForumUrl));

    DialogItem(dialog, kCopyImageId)->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(FocusName(), ControlName(kForumLinkId));
    QTest::keyClick(forum, Qt::Key_Return);
    EXPECT_EQ(triggered.count(), 2);
    QTest::keyClick(forum, Qt::Key_Enter);
    EXPECT_EQ(triggered.count(), 3);
    EXPECT_EQ(computed.count(), 0);
}
