// The program's window on a real X server, driven with xdotool as a person
// would: the whole tab ring both ways, and the window still working while an
// error box is open. Run by dialog_x11_e2e.sh under a private Xvfb.
#include "qt/dialogbuilder.h"
#include "qt/maindialog.h"
#include "qt/qtprompts.h"
#include "settings/settings.h"
#include "tests/qt/qtfakes.h"
#include "tests/qt/whenmodal.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

bool Xdotool(const QStringList& arguments) { return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0; }

// Moves the pointer onto a widget's centre and clicks there.
bool ClickOn(QWidget* widget)
{
    const QPoint at = widget->mapTo(widget->window(), widget->rect().center());
    return Xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("--window"),
                    QString::number(widget->window()->winId()), QString::number(at.x()), QString::number(at.y()),
                    QStringLiteral("click"), QStringLiteral("1")});
}

bool FocusWindow(QWidget* window)
{
    return Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(window->winId())});
}

bool WaitFor(const std::function<bool()>& done, int milliseconds = 3000)
{
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (done())
            return true;
        QTest::qWait(20);
    }
    return done();
}

int FocusedId()
{
    QWidget* focus = QApplication::focusWidget();
    return focus == nullptr ? 0 : focus->objectName().toInt();
}

class DialogOnX : public ::testing::Test {
protected:
    void SetUp() override { LocateSettingsFile(folder.file("decagon")); }

    void ShowAndFocus(MainDialog& dialog)
    {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        ASSERT_TRUE(FocusWindow(&dialog));
        ASSERT_TRUE(WaitFor([&dialog] { return dialog.isActiveWindow(); }));
    }

    TempFolder folder;
    NoOpener opener;
    DecagonRecord record{};
};

} // namespace

TEST_F(DialogOnX, TabAndShiftTabWalkTheWholeRing)
{
    // Every tab stop in template order; the hidden field 1029 and the radio
    // buttons have none.
    std::vector<int> ring = {kHeightFieldId};
    for (int id = 1030; id <= 1058; ++id)
        ring.push_back(id);
    for (int id : {1003, 1013, 1014, 1015, 1016, 1017, 1018, 1019, 1020, 1021, 1022,
                   1023, 1024, 1025, 1026, 1004, 1005, 1006, 1066, 1067, 2,    1027})
        ring.push_back(id);

    AnsweringPrompts prompts;
    MainDialog dialog(&record, opener, &prompts);
    ShowAndFocus(dialog);
    ASSERT_EQ(FocusedId(), kHeightFieldId);

    // Each key press is waited for until the focus moves; a focus that does
    // not move shows up as the same control twice.
    const auto walk = [&ring](const char* key) {
        std::vector<int> visited;
        for (std::size_t step = 0; step < ring.size(); ++step) {
            const int before = FocusedId();
            Xdotool({QStringLiteral("key"), QString::fromLatin1(key)});
            WaitFor([before] { return FocusedId() != before; }, 1000);
            visited.push_back(FocusedId());
        }
        return visited;
    };
    std::vector<int> forward(ring.begin() + 1, ring.end());
    forward.push_back(kHeightFieldId);
    EXPECT_EQ(walk("Tab"), forward);
    std::vector<int> backward(ring.rbegin(), ring.rend());
    EXPECT_EQ(walk("shift+Tab"), backward);
}

TEST_F(DialogOnX, TheWindowTakesClicksAndKeysWhileAnErrorBoxIsOpen)
{
    AnsweringPrompts prompts;
    prompts.answer = folder.file("no such folder/values.csv");
    MainDialog dialog(&record, opener, &prompts);
    ShowAndFocus(dialog);
    auto* height = DialogItemAs<QLineEdit>(dialog, kHeightFieldId);
    height->setText(QStringLiteral("12"));

    bool boxSeen = false;
    std::string afterClick;
    std::string afterKeys;
    bool boxStillOpen = false;
    WhenWindowShows<QMessageBox>([&](QMessageBox* box) {
        boxSeen = true;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
        EXPECT_EQ(box->text().toStdString(), "Cannot create this file");
        // A click on "Compute" in the window behind the box ...
        // The box opens over the middle of the screen; moved aside, as a
        // person would drag it, it leaves "Compute" in sight.
        box->move(0, dialog.frameGeometry().bottom() + 20);
        WaitFor([box, &dialog] { return !box->frameGeometry().intersects(dialog.frameGeometry()); }, 1000);
        ClickOn(DialogItem(dialog, kComputeId));
        WaitFor([height] { return height->text() == QStringLiteral("12.0000"); });
        afterClick = height->text().toStdString();
        // ... and keys typed into its height field.
        FocusWindow(&dialog);
        ClickOn(height);
        Xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a"), QStringLiteral("7"), QStringLiteral("Return")});
        WaitFor([height] { return height->text() == QStringLiteral("7.0000"); });
        afterKeys = height->text().toStdString();
        boxStillOpen = box->isVisible();
        box->button(QMessageBox::Ok)->click();
    });
    ASSERT_TRUE(ClickOn(DialogItem(dialog, kExportTextId)));
    ASSERT_TRUE(WaitFor([&boxSeen] { return boxSeen; }, 5000));
    EXPECT_EQ(afterClick, "12.0000");
    EXPECT_EQ(afterKeys, "7.0000");
    EXPECT_TRUE(boxStillOpen);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
