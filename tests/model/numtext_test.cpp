#include "model/numtext.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

namespace {
std::string Printf(const char* format, double value)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}
} // namespace

TEST(FormatFixed, MatchesPrintfInTheClassicLocale)
{
    UseClassicLocale();
    std::mt19937_64 random(12345);
    std::uniform_real_distribution<double> small(-1000.0, 1000.0);
    for (int i = 0; i < 20000; ++i) {
        double value = small(random);
        if (i % 3 == 0) // exact binary ties such as 0.00005 rounded to four places
            value = std::round(value * 65536.0) / 65536.0;
        if (i % 7 == 0)
            value = std::bit_cast<double>(random()); // any bit pattern, NaN and huge values included
        if (std::isnan(value))
            continue; // printf writes the sign of a NaN; both forms agree below
        EXPECT_EQ(FormatFixed(value, 4), Printf("%.4f", value));
        EXPECT_EQ(FormatFixed(value, 6), Printf("%f", value));
    }
}

TEST(FormatFixed, SpecialValues)
{
    EXPECT_EQ(FormatFixed(-0.0, 4), "-0.0000");
    EXPECT_EQ(FormatFixed(0.5, 6), "0.500000");
    EXPECT_EQ(FormatFixed(254.884, 6), "254.884000");
    EXPECT_EQ(FormatFixed(-5.5, 6), "-5.500000");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 4), "inf");
    EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::infinity(), 4), "-inf");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 4), "nan");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::max(), 4).size(), 309u + 5u);
}

TEST(NumberText, IgnoresTheUserLocale)
{
    if (!UseCommaLocale())
        GTEST_SKIP() << "no locale with a decimal comma available";
    EXPECT_EQ(Printf("%.1f", 1.5), "1,5"); // the locale is really in effect
    EXPECT_EQ(FormatFixed(1234567.25, 4), "1234567.2500");
    EXPECT_EQ(ParseNumber("12.5"), 12.5);
    EXPECT_EQ(ParseNumber("12,5"), 12.0);
    UseClassicLocale();
}

TEST(ParseNumber, BehavesLikeStrtod)
{
    EXPECT_EQ(ParseNumber("254.884"), 254.884);
    EXPECT_EQ(ParseNumber("  12abc"), 12.0);
    EXPECT_EQ(ParseNumber("abc"), 0.0);
    EXPECT_EQ(ParseNumber(""), 0.0);
    EXPECT_EQ(ParseNumber(nullptr), 0.0);
    EXPECT_EQ(ParseNumber("-100"), -100.0);
    EXPECT_EQ(ParseNumber(".5"), 0.5);
    EXPECT_EQ(ParseNumber("1e3"), 1000.0);
    EXPECT_TRUE(std::isinf(ParseNumber("9e99999")));
    EXPECT_TRUE(std::isnan(ParseNumber("nan")));
    EXPECT_TRUE(std::signbit(ParseNumber("-0")));
}

TEST(ParseNumber, ReadsEveryFormThatStrtodReads)
{
    // The forms that not every C library reads alike.
    EXPECT_EQ(ParseNumber(" \t\n+12.5x"), 12.5);
    EXPECT_EQ(ParseNumber("--5"), 0.0);
    EXPECT_EQ(ParseNumber("+-5"), 0.0);
    EXPECT_EQ(ParseNumber("0x1p3"), 8.0);
    EXPECT_EQ(ParseNumber("-0X.8"), -0.5);
    EXPECT_EQ(ParseNumber("0xg"), 0.0);
    EXPECT_EQ(ParseNumber("1e"), 1.0);
    EXPECT_EQ(ParseNumber("INFINITY"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseNumber("-Inf"), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(ParseNumber("nan(123)")));
    // Out of range: too large gives an infinity, too small a zero, each with
    // the number's sign, however the digits are placed.
    EXPECT_EQ(ParseNumber("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseNumber("0.000001e315"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseNumber("100000e-400"), 0.0);
    EXPECT_TRUE(std::signbit(ParseNumber("-1e-400")));
    EXPECT_EQ(ParseNumber("0x1p99999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseNumber("0x1p-99999"), 0.0);
    EXPECT_EQ(ParseNumber("4.9e-324"), std::numeric_limits<double>::denorm_min());
    // Correctly rounded, whatever the number of digits.
    EXPECT_EQ(ParseNumber("123.456789012345678901234567890"), 123.45678901234568);
    EXPECT_EQ(ParseNumber("9007199254740993"), 9007199254740992.0);
}
