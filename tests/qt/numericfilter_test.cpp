#include "qt/numericfilter.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

#include <gtest/gtest.h>

#include <memory>

namespace {
// A line edit that counts the key presses that reach it.
class CountingEdit : public QLineEdit {
public:
    int received = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        ++received;
        QLineEdit::keyPressEvent(event);
    }
};

class NumericFilterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetNumericFilterBeeper([this] { ++beeps; });
        ASSERT_TRUE(InstallNumericFilter(&edit));
    }
    void TearDown() override { SetNumericFilterBeeper(nullptr); }

    // Sends one key press as the window system delivers it and tells
    // whether it reached the field.
    bool Type(QObject* target, int key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const int before = edit.received;
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(target, &press);
        return edit.received > before;
    }
    bool Type(int key, const QString& text) { return Type(&edit, key, text); }

    CountingEdit edit;
    int beeps = 0;
};
} // namespace

TEST_F(NumericFilterTest, PassesDigitsAndDropsLettersAndSpacesWithABeep)
{
    EXPECT_TRUE(Type(Qt::Key_7, QStringLiteral("7")));
    EXPECT_EQ(beeps, 0);
    EXPECT_FALSE(Type(Qt::Key_A, QStringLiteral("a")));
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(Type(Qt::Key_Space, QStringLiteral(" ")));
    EXPECT_EQ(beeps, 2);
    for (const char* other : {"+", "e", "E", ",", "/", ":", "~"})
        EXPECT_FALSE(Type(Qt::Key_unknown, QString::fromLatin1(other))) << other;
    EXPECT_EQ(edit.text(), QStringLiteral("7"));
}

TEST_F(NumericFilterTest, PassesControlCharactersAndKeysThatTypeNothing)
{
    edit.setText(QStringLiteral("12"));
    EXPECT_TRUE(Type(Qt::Key_Backspace, QStringLiteral("\b")));
    EXPECT_EQ(edit.text(), QStringLiteral("1"));
    EXPECT_TRUE(Type(Qt::Key_Tab, QStringLiteral("\t")));
    EXPECT_TRUE(Type(&edit, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier));
    EXPECT_TRUE(Type(Qt::Key_Return, QStringLiteral("\r")));
    EXPECT_TRUE(Type(Qt::Key_Escape, QString(QChar(27))));
    EXPECT_TRUE(Type(Qt::Key_Left, QString()));
    EXPECT_TRUE(Type(Qt::Key_Shift, QString()));
    EXPECT_TRUE(Type(Qt::Key_Delete, QString(QChar(127)))); // the Delete key types nothing
    EXPECT_EQ(beeps, 0);
}

TEST_F(NumericFilterTest, PassesCharactersBeyondAscii)
{
    EXPECT_TRUE(Type(Qt::Key_Eacute, QString(QChar(0xE9))));
    EXPECT_TRUE(Type(Qt::Key_unknown, QString(QChar(0x80))));
    EXPECT_TRUE(Type(Qt::Key_unknown, QString(QChar(0x20AC)))); // euro sign
    EXPECT_TRUE(Type(Qt::Key_unknown, QString(QChar(0x0137)))); // not the digit 7 of its low byte
    EXPECT_EQ(beeps, 0);
}

TEST_F(NumericFilterTest, PassesSignAndPointOnlyWhereTheSelectionStartsAtZero)
{
    // Caret at 0 on an empty field.
    EXPECT_TRUE(Type(Qt::Key_Period, QStringLiteral(".")));
    EXPECT_TRUE(Type(Qt::Key_5, QStringLiteral("5")));
    EXPECT_EQ(edit.text(), QStringLiteral(".5"));
    // Caret after the first character: dropped with a beep, so no decimal
    // point after a digit.
    EXPECT_FALSE(Type(Qt::Key_Period, QStringLiteral(".")));
    EXPECT_FALSE(Type(Qt::Key_Minus, QStringLiteral("-")));
    EXPECT_EQ(beeps, 2);

    edit.setCursorPosition(0);
    EXPECT_TRUE(Type(Qt::Key_Minus, QStringLiteral("-")));
    EXPECT_EQ(edit.text(), QStringLiteral("-.5"));

    edit.setText(QStringLiteral("123"));
    edit.setSelection(0, 2); // a selection that starts at 0
    EXPECT_EQ(SelectionStartsAtZero(&edit), 1);
    EXPECT_TRUE(Type(Qt::Key_Minus, QStringLiteral("-")));
    EXPECT_EQ(edit.text(), QStringLiteral("-3"));

    edit.setText(QStringLiteral("123"));
    edit.setSelection(3, -2); // from 3 back to 1: starts at 1
    EXPECT_EQ(SelectionStartsAtZero(&edit), 0);
    EXPECT_FALSE(Type(Qt::Key_Period, QStringLiteral(".")));
    EXPECT_EQ(beeps, 3);
}

TEST_F(NumericFilterTest, OnAWindowWithoutSelectionSignAndPointAlwaysPass)
{
    QDialog window;
    ASSERT_TRUE(InstallNumericFilter(&window));
    EXPECT_EQ(SelectionStartsAtZero(&window), 1);
    EXPECT_TRUE(NumericFilterPasses('-', &window));
    EXPECT_TRUE(NumericFilterPasses('.', &window));
    EXPECT_FALSE(NumericFilterPasses('a', &window));

    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&window, &letter);
    EXPECT_EQ(beeps, 1);
    QKeyEvent point(QEvent::KeyPress, Qt::Key_Period, Qt::NoModifier, QStringLiteral("."));
    QApplication::sendEvent(&window, &point);
    EXPECT_EQ(beeps, 1);
}

TEST_F(NumericFilterTest, IsInstalledOnceAndGoesWithItsWindow)
{
    auto window = std::make_unique<QLineEdit>();
    ASSERT_TRUE(InstallNumericFilter(window.get()));
    QPointer<NumericFilter> filter = FindNumericFilter(window.get());
    ASSERT_FALSE(filter.isNull());
    ASSERT_TRUE(InstallNumericFilter(window.get()));
    EXPECT_EQ(window->findChildren<NumericFilter*>().size(), 1);
    EXPECT_FALSE(InstallNumericFilter(nullptr));

    window.reset();
    EXPECT_TRUE(filter.isNull());
}

TEST(NumericFilterRules, ReadTheTypedCharacterAsASignedByte)
{
    signed char code = 0;
    EXPECT_TRUE(TypedCharacter(QKeyEvent(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, QStringLiteral("7")), code));
    EXPECT_EQ(code, '7');
    EXPECT_TRUE(
        TypedCharacter(QKeyEvent(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0xFF))), code));
    EXPECT_LT(code, 0);
    EXPECT_FALSE(TypedCharacter(QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier), code));
    for (int control = 0; control < 32; ++control)
        EXPECT_TRUE(NumericFilterPasses(static_cast<signed char>(control), nullptr)) << control;
    for (int printable = 32; printable < 128; ++printable) {
        const bool digit = printable >= '0' && printable <= '9';
        const bool signOrPoint = printable == '-' || printable == '.';
        EXPECT_EQ(NumericFilterPasses(static_cast<signed char>(printable), nullptr), digit || signOrPoint) << printable;
    }
}
