#pragma once

#include <string>
#include <string_view>

// Numbers as text, always in the classic "C" form ("." as decimal point, no
// grouping) whatever locale the process runs in.

// The text of printf's "%.<decimals>f": fixed notation, no exponent, a "-"
// for negative values including negative zero, "inf", "-inf" or "nan".
std::string FormatFixed(double value, int decimals);

// Appends FormatFixed(value, decimals) to out.
void AppendFixed(std::string& out, double value, int decimals);

// strtod in the "C" locale: leading white space is skipped, conversion stops
// at the first character that cannot continue the number, and text that
// does not begin with a number gives 0.
double ParseNumber(const char* text);
