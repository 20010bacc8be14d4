#include "settings/ini.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <string_view>

using namespace std::literals;

namespace {
std::string Set(const std::string& bytes, const char* section, const char* key, const char* value)
{
    IniDocument document = ParseIni(bytes);
    IniSetString(document, section, key, value);
    return IniBytes(document);
}
} // namespace

TEST(Ini, NamesMatchWithoutCaseAndSurroundingSpaces)
{
    const IniDocument document = ParseIni("[ colors ]\r\n  LINES \t= 5 \r\n[Other]\r\nLines=9\r\n");
    EXPECT_EQ(IniGetInt(document, "Colors", "Lines", -1), 5);
    EXPECT_EQ(IniGetInt(document, "COLORS", "lines", -1), 5);
    EXPECT_EQ(IniGetInt(document, "other", "LINES", -1), 9);
    EXPECT_EQ(IniGetInt(document, "Colors", "Line", -1), -1);
    // Only ASCII letters fold: 0xC9 and 0xE9 are different names.
    const IniDocument accented = ParseIni("[Trigo]\r\nHypoth\xC9nuse=1\r\n");
    EXPECT_FALSE(IniGetString(accented, "Trigo", "Hypoth\xE9nuse"));
    EXPECT_EQ(*IniGetString(accented, "trigo", "hypoth\xC9nuse"), "1");
}

TEST(Ini, FirstSectionAndFirstKeyWin)
{
    const std::string bytes = "[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\n";
    EXPECT_EQ(IniGetInt(ParseIni(bytes), "A", "k", 0), 1);
    EXPECT_EQ(Set(bytes, "a", "K", "7"), "[A]\r\nk=7\r\nk=2\r\n[a]\r\nk=3\r\n");
}

TEST(Ini, ValuesLoseSurroundingBlanksAndOnePairOfQuotes)
{
    const IniDocument document = ParseIni("[S]\na= x y \nb=\"q\"\nc='r'\nd=\"unbalanced\ne=\n");
    EXPECT_EQ(*IniGetString(document, "S", "a"), "x y");
    EXPECT_EQ(*IniGetString(document, "S", "b"), "q");
    EXPECT_EQ(*IniGetString(document, "S", "c"), "r");
    EXPECT_EQ(*IniGetString(document, "S", "d"), "\"unbalanced");
    EXPECT_EQ(*IniGetString(document, "S", "e"), "");
}

TEST(Ini, WriteReplacesAValueInPlaceAndKeepsEverythingElse)
{
    const std::string before = "; made by hand\r\n\r\n[Colors]\r\n  Lines = 3\r\n; keep me\r\nE6=8\n"
                               "[Mine]\r\nname=caf\xE9\r\n\r\n";
    EXPECT_EQ(Set(before, "colors", "lines", "12"),
              "; made by hand\r\n\r\n[Colors]\r\n  Lines =12\r\n; keep me\r\nE6=8\n[Mine]\r\nname=caf\xE9\r\n\r\n");
    // An LF-only line keeps its LF.
    EXPECT_EQ(Set(before, "Colors", "E6", "9"),
              "; made by hand\r\n\r\n[Colors]\r\n  Lines = 3\r\n; keep me\r\nE6=9\n[Mine]\r\nname=caf\xE9\r\n\r\n");
}

TEST(Ini, MissingKeyGoesAfterTheLastEntryOfItsSection)
{
    EXPECT_EQ(Set("[Colors]\r\nLines=3\r\n\r\n; note\r\n[Next]\r\nx=1\r\n", "Colors", "E6", "8"),
              "[Colors]\r\nLines=3\r\nE6=8\r\n\r\n; note\r\n[Next]\r\nx=1\r\n");
    // A section without entries takes the key right after its header.
    EXPECT_EQ(Set("[Colors]\r\n\r\n[Next]\r\n", "Colors", "E6", "8"), "[Colors]\r\nE6=8\r\n\r\n[Next]\r\n");
    // The last line of the file may lack its line end.
    EXPECT_EQ(Set("[Colors]\r\nLines=3", "Colors", "E6", "8"), "[Colors]\r\nLines=3\r\nE6=8\r\n");
    EXPECT_EQ(Set("[Colors]", "Colors", "E6", "8"), "[Colors]\r\nE6=8\r\n");
}

TEST(Ini, MissingSectionGoesAtTheEndWithoutABlankLine)
{
    EXPECT_EQ(Set("", "Debug", "E6", "1"), "[Debug]\r\nE6=1\r\n");
    EXPECT_EQ(Set("[A]\r\nx=1\r\n", "Debug", "E6", "1"), "[A]\r\nx=1\r\n[Debug]\r\nE6=1\r\n");
    EXPECT_EQ(Set("[A]\r\nx=1\r\n\r\n", "Debug", "E6", "1"), "[A]\r\nx=1\r\n\r\n[Debug]\r\nE6=1\r\n");
    EXPECT_EQ(Set("junk without end", "Debug", "E6", "1"), "junk without end\r\n[Debug]\r\nE6=1\r\n");
}

TEST(Ini, LinesThatAreNotEntriesAreNeverTakenForKeys)
{
    // "[x" is not a header, "Lines" without "=" is not an entry.
    const std::string bytes = "[Colors]\r\n[x\r\nLines\r\n";
    EXPECT_EQ(IniGetInt(ParseIni(bytes), "Colors", "Lines", 4), 4);
    EXPECT_EQ(Set(bytes, "Colors", "Lines", "5"), "[Colors]\r\nLines=5\r\n[x\r\nLines\r\n");
}

TEST(Ini, BinaryGarbageSurvivesAWrite)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919) & 0xFF);
    const std::string bytes = garbage + "\n[Colors]\nLines=2\n" + garbage;
    const std::string after = Set(bytes, "Colors", "Lines", "3");
    EXPECT_EQ(after.size(), bytes.size());
    EXPECT_EQ(after.substr(0, garbage.size()), garbage);
    EXPECT_EQ(after.substr(after.size() - garbage.size()), garbage);
}

TEST(ProfileInt, ReadsTheLeadingDecimalInteger)
{
    struct Case {
        const char* text;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"17", 17},
        {"+5", 5},
        {"-3", -3},
        {"3.9", 3},
        {"0x10", 0},
        {"12abc", 12},
        {"abc", 0},
        {"-", 0},
        {".5", 0},
        {"007", 7},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"99999999999999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"-99999999999999999999", INT32_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseProfileInt(c.text), c.expected) << c.text;
    const IniDocument document = ParseIni("[S]\nempty=\nblank=   \nword=abc\n");
    EXPECT_EQ(IniGetInt(document, "S", "empty", 42), 42);
    EXPECT_EQ(IniGetInt(document, "S", "blank", 42), 42);
    EXPECT_EQ(IniGetInt(document, "S", "word", 42), 0);
    EXPECT_EQ(IniGetInt(document, "S", "missing", 42), 42);
    EXPECT_EQ(IniGetInt(document, "Nope", "word", 42), 42);
}

TEST(ProfileFile, CreatesAMissingFileAndNeverOverwritesAnUnreadableOne)
{
    TempFolder folder;
    const std::string path = folder.file("p.ini");
    EXPECT_EQ(GetProfileInt("S", "k", 5, path), 5);
    EXPECT_TRUE(WriteProfileString("S", "k", "6", path));
    EXPECT_EQ(ReadFileBytes(path), "[S]\r\nk=6\r\n");
    EXPECT_EQ(GetProfileInt("s", "K", 5, path), 6);

    const std::string folderPath = folder.file("dir.ini");
    std::filesystem::create_directory(folderPath);
    EXPECT_FALSE(WriteProfileString("S", "k", "6", folderPath));
    EXPECT_TRUE(std::filesystem::is_directory(folderPath));
    EXPECT_EQ(GetProfileInt("S", "k", 5, folderPath), 5);
}

TEST(Ini, ALoneCarriageReturnAtTheEndEndsItsLine)
{
    EXPECT_EQ(Set("[Debug]\r\nE6=1\r", "Debug", "E7", "2"), "[Debug]\r\nE6=1\r\nE7=2\r\n");
    EXPECT_EQ(Set("[Debug]\r\nE6=1\r", "Colors", "Lines", "2"), "[Debug]\r\nE6=1\r\n[Colors]\r\nLines=2\r\n");
    EXPECT_EQ(Set("[Debug]\r", "Debug", "E6", "2"), "[Debug]\r\nE6=2\r\n");
    // Its value is replaced without the CR.
    EXPECT_EQ(*IniGetString(ParseIni("[Debug]\r\nE6=1\r"), "Debug", "E6"), "1");
    EXPECT_EQ(Set("[Debug]\r\nE6=1\r", "Debug", "E6", "2"), "[Debug]\r\nE6=2\r");
}

namespace {
// A file as an editor saves it in UTF-16 LE ("Unicode"): the mark, then the
// units, low byte first.
std::string Utf16LeFile(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

const std::string kUtf8Mark = "\xEF\xBB\xBF";
} // namespace

TEST(IniEncodings, Utf16FileHoldsTheSameSectionsAndKeysAndStaysUtf16)
{
    const std::string before = Utf16LeFile(u"; r\u00e9glages \u2013 \U0001F600\r\n[Trigo]\r\nHypoth\u00e9nuse=1\r\n"
                                           u"[Colors]\r\nLines=3\r\nName=caf\u00e9 \u20ac \u65e5\r\n");
    const IniDocument document = ParseIni(before);
    EXPECT_EQ(IniGetInt(document, "Colors", "Lines", -1), 3);
    EXPECT_EQ(IniGetInt(document, "Trigo", "Hypoth\xE9nuse", -1), 1);
    // Read back in the code page: the euro sign is 0x80 there; what it lacks is "?".
    EXPECT_EQ(*IniGetString(document, "colors", "NAME"), "caf\xE9 \x80 ?");

    EXPECT_EQ(Set(before, "Trigo", "Hypoth\xE9nuse", "133.3881"),
              Utf16LeFile(u"; r\u00e9glages \u2013 \U0001F600\r\n[Trigo]\r\nHypoth\u00e9nuse=133.3881\r\n"
                          u"[Colors]\r\nLines=3\r\nName=caf\u00e9 \u20ac \u65e5\r\n"));
    EXPECT_EQ(Set(before, "Colors", "E6", "8"),
              Utf16LeFile(u"; r\u00e9glages \u2013 \U0001F600\r\n[Trigo]\r\nHypoth\u00e9nuse=1\r\n"
                          u"[Colors]\r\nLines=3\r\nName=caf\u00e9 \u20ac \u65e5\r\nE6=8\r\n"));
    EXPECT_EQ(Set(Utf16LeFile(u""), "Trigo", "Hypoth\xE9nuse", "\x80"),
              Utf16LeFile(u"[Trigo]\r\nHypoth\u00e9nuse=\u20ac\r\n"));
}

TEST(IniEncodings, Utf8MarkNoLongerHidesTheFirstSection)
{
    const std::string before = kUtf8Mark + "[Colors]\r\nLines=3\r\n; caf\xC3\xA9\r\n";
    const IniDocument document = ParseIni(before);
    EXPECT_EQ(IniGetInt(document, "Colors", "Lines", -1), 3);
    EXPECT_EQ(Set(before, "Colors", "Lines", "4"), kUtf8Mark + "[Colors]\r\nLines=4\r\n; caf\xC3\xA9\r\n");
    EXPECT_EQ(Set(before, "Trigo", "Hypoth\xE9nuse", "1"),
              kUtf8Mark + "[Colors]\r\nLines=3\r\n; caf\xC3\xA9\r\n[Trigo]\r\nHypoth\xC3\xA9nuse=1\r\n");
    // The single byte 0xE9 is no "é" in a UTF-8 file: a key of its own.
    const std::string stray = kUtf8Mark + "[Trigo]\r\nHypoth\xE9nuse=1\r\n";
    EXPECT_FALSE(IniGetString(ParseIni(stray), "Trigo", "Hypoth\xE9nuse"));
    EXPECT_EQ(*IniGetString(ParseIni(stray + "x=\xE9\r\n"), "Trigo", "x"), "?");
}

TEST(IniEncodings, EveryByteOfAMarkedFileComesBackUnchanged)
{
    // Lone halves of surrogate pairs, a reversed pair, NUL, a last odd byte.
    const std::string units = Utf16LeFile(u"[A]\r\nk=\xD800\r\nl=\xDC00\xD800 \r\nm=\0\r\n"sv);
    const std::string noisy[] = {
        units,
        units + "\x7F",
        Utf16LeFile(u"") + "\x01",
        Utf16LeFile(u""),
        kUtf8Mark + "[A]\r\nk=\xFF\xC3\r\n\xED\xA0\x80\xF4\x90\x80\x80\xC0\xAF",
        kUtf8Mark,
    };
    for (const std::string& bytes : noisy) {
        EXPECT_EQ(IniBytes(ParseIni(bytes)), bytes);
        const std::string after = Set(bytes, "B", "x", "1");
        EXPECT_EQ(IniBytes(ParseIni(after)), after);
        EXPECT_EQ(after.substr(0, bytes.size() / 2 * 2), bytes.substr(0, bytes.size() / 2 * 2));
        EXPECT_EQ(after.size() % 2, bytes.size() % 2);
        EXPECT_EQ(IniGetInt(ParseIni(after), "B", "x", 0), 1);
    }
    // The odd byte stays last, after what was added.
    EXPECT_EQ(Set(Utf16LeFile(u"[A]\r\n") + "\x7F", "A", "k", "1"), Utf16LeFile(u"[A]\r\nk=1\r\n") + "\x7F");
}

TEST(IniEncodings, AnyOtherFormIsReadAsSingleBytes)
{
    // A big-endian mark, half a mark, a mark not at the start.
    for (const std::string& bytes : {std::string("\xFE\xFF[A]\r\n"), std::string("\xFF[A]\r\n"),
                                     std::string("\xEF\xBB[A]\r\n"), "[A]\r\n" + kUtf8Mark + "\r\n"}) {
        EXPECT_EQ(Set(bytes, "B", "Hypoth\xE9nuse", "1"), bytes + "[B]\r\nHypoth\xE9nuse=1\r\n");
    }
}
