#include "render/paper.h"

#include "model/numtext.h"
#include "render/truescale.h"

#include <cmath>
#include <cstddef>

namespace {

struct NamedPaper {
    PaperKind kind;
    const char* name;
    double widthMm;
    double heightMm;
};

constexpr NamedPaper kNamedPapers[] = {
    {PaperKind::A4, "a4", 210.0, 297.0},
    {PaperKind::Letter, "letter", 215.9, 279.4},
    {PaperKind::A3, "a3", 297.0, 420.0},
    {PaperKind::Legal, "legal", 215.9, 355.6},
};

std::string Lower(const std::string& text)
{
    std::string lower = text;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// One side of a custom size: digits with at most one full stop, nothing
// else, within the limits.
bool ReadSide(const std::string& text, double& side)
{
    std::size_t digits = 0;
    std::size_t stops = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.')
            ++stops;
        else
            return false;
    }
    if (digits == 0 || stops > 1)
        return false;
    side = ParseNumber(text.c_str());
    return side >= kSmallestPaperSideMm && side <= kLargestPaperSideMm;
}

} // namespace

Paper PaperOfKind(PaperKind kind)
{
    for (const NamedPaper& named : kNamedPapers)
        if (named.kind == kind)
            return Paper{kind, named.widthMm, named.heightMm};
    return Paper{};
}

std::string PaperName(const Paper& paper)
{
    for (const NamedPaper& named : kNamedPapers)
        if (named.kind == paper.kind)
            return named.name;
    std::string name;
    AppendCompact(name, paper.widthMm, 3);
    name += 'x';
    AppendCompact(name, paper.heightMm, 3);
    return name;
}

bool PaperUsesInches(const Paper& paper) { return paper.kind == PaperKind::Letter || paper.kind == PaperKind::Legal; }

bool ParsePaper(const std::string& text, Paper& paper)
{
    const std::string lower = Lower(text);
    for (const NamedPaper& named : kNamedPapers) {
        if (lower == named.name) {
            paper = PaperOfKind(named.kind);
            return true;
        }
    }
    const std::size_t cross = lower.find('x');
    double width = 0.0;
    double height = 0.0;
    if (cross == std::string::npos || !ReadSide(lower.substr(0, cross), width) ||
        !ReadSide(lower.substr(cross + 1), height))
        return false;
    paper = Paper{PaperKind::Custom, width, height};
    return true;
}

Paper PaperOfLocaleSize(int widthMm, int heightMm)
{
    for (const NamedPaper& named : kNamedPapers)
        if (widthMm == std::lround(named.widthMm) && heightMm == std::lround(named.heightMm))
            return PaperOfKind(named.kind);
    return PaperOfKind(PaperKind::A4);
}

Paper PaperOfWindowsCode(int code)
{
    switch (code) {
    case 1:
        return PaperOfKind(PaperKind::Letter);
    case 5:
        return PaperOfKind(PaperKind::Legal);
    case 8:
        return PaperOfKind(PaperKind::A3);
    default:
        return PaperOfKind(PaperKind::A4);
    }
}
