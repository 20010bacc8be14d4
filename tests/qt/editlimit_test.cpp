#include "qt/editlimit.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

TEST(TypedTextLimit, StopsTypingAndPastingAtTheLimit)
{
    QLineEdit edit;
    LimitTypedText(&edit, 9);
    QTest::keyClicks(&edit, QStringLiteral("1234567890123"));
    EXPECT_EQ(edit.text(), QStringLiteral("123456789"));

    edit.clear();
    QTest::keyClicks(&edit, QStringLiteral("12345"));
    QApplication::clipboard()->setText(QStringLiteral("67890123"));
    edit.paste();
    EXPECT_EQ(edit.text(), QStringLiteral("123456789"));
}

TEST(TypedTextLimit, ShowsLongerTextSetByTheProgramWholeButLetsItOnlyShrink)
{
    QLineEdit edit;
    edit.resize(40, 20); // narrower than the text
    LimitTypedText(&edit, 9);
    SetFieldText(&edit, QStringLiteral("123456.0000"));
    EXPECT_EQ(edit.text(), QStringLiteral("123456.0000"));
    EXPECT_EQ(edit.cursorPosition(), 0); // shows its leading digits

    edit.end(false);
    QTest::keyClicks(&edit, QStringLiteral("5"));
    EXPECT_EQ(edit.text(), QStringLiteral("123456.0000"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClicks(&edit, QStringLiteral("5"));
    EXPECT_EQ(edit.text(), QStringLiteral("123456.000"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClicks(&edit, QStringLiteral("789"));
    EXPECT_EQ(edit.text(), QStringLiteral("123456.78"));
    EXPECT_EQ(edit.maxLength(), 9);

    SetFieldText(&edit, QStringLiteral("12.0000"));
    EXPECT_EQ(edit.text(), QStringLiteral("12.0000"));
    EXPECT_EQ(edit.maxLength(), 9);
}

TEST(TypedTextLimit, SetFieldTextWorksOnFieldsWithoutALimit)
{
    QLineEdit edit;
    const QString longText(40000, QLatin1Char('7'));
    SetFieldText(&edit, longText);
    EXPECT_EQ(edit.text(), longText);
}
