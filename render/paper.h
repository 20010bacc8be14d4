#pragma once

#include <string>

// Paper for the printable drawing, in millimetres as held upright (width
// the shorter side for the named sizes).

enum class PaperKind { A4, Letter, A3, Legal, Custom };

struct Paper {
    PaperKind kind = PaperKind::A4;
    double widthMm = 210.0;
    double heightMm = 297.0;
};

// The smallest and largest side a custom paper may have: room for the test
// square and its text, and the largest page a PDF reader must show (200 in).
constexpr double kSmallestPaperSideMm = 100.0;
constexpr double kLargestPaperSideMm = 5080.0;

Paper PaperOfKind(PaperKind kind);

// The paper's name for the command line: "a4", "letter", "a3", "legal", or
// "WIDTHxHEIGHT" for a custom size.
std::string PaperName(const Paper& paper);

// Whether the paper is one of the North American sizes, which also get a
// test square of 2 inches.
bool PaperUsesInches(const Paper& paper);

// Reads "a4", "letter", "a3", "legal" (in any case) or "WIDTHxHEIGHT" in
// millimetres, each side between kSmallestPaperSideMm and
// kLargestPaperSideMm. Returns false, leaving paper as it was, otherwise.
bool ParsePaper(const std::string& text, Paper& paper);

// The paper a locale names by its size in whole millimetres (glibc's
// LC_PAPER gives 210 x 297 or 216 x 279): Letter, Legal and A3 by their
// rounded sizes, A4 for anything else.
Paper PaperOfLocaleSize(int widthMm, int heightMm);

// The paper of a Windows LOCALE_IPAPERSIZE code: 1 Letter, 5 Legal, 8 A3,
// 9 A4; A4 for any other code.
Paper PaperOfWindowsCode(int code);

// The paper the system's settings name: on Linux the locale's LC_PAPER
// (from the environment, without changing the process's locale), on Windows
// the user's locale. A4 when nothing says.
Paper SystemPaper();
