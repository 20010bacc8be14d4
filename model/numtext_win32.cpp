// ParseNumber for Windows. The C library that Windows programs share reads
// neither "inf", "nan" nor hexadecimal numbers, and its reading depends on
// the process's locale. std::from_chars reads the same numbers as C's strtod
// in the "C" locale, correctly rounded; what strtod does around it (white
// space, a "+" sign, the "0x" prefix, numbers out of range) is done here.
#include "model/numtext.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <system_error>

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// For a number that from_chars found out of range: whether it is too large
// (rather than too small). Its magnitude is then far beyond 1 either way, so
// the sign of its power of ten (or of two) decides.
bool TooLarge(const char* from, const char* to, bool hex)
{
    const char exponentMark = hex ? 'p' : 'e';
    const int digitWeight = hex ? 4 : 1;
    long long power = 0;
    bool seenNonZero = false;
    bool afterPoint = false;
    const char* at = from;
    for (; at < to && (*at | 0x20) != exponentMark; ++at) {
        if (*at == '.') {
            afterPoint = true;
        } else if (!seenNonZero && *at == '0') {
            if (afterPoint)
                power -= digitWeight;
        } else if (!seenNonZero) {
            seenNonZero = true;
            if (!afterPoint)
                power += digitWeight;
        } else if (!afterPoint) {
            power += digitWeight;
        }
    }
    if (at < to) {
        ++at;
        bool negative = false;
        if (at < to && (*at == '+' || *at == '-'))
            negative = *at++ == '-';
        long long exponent = 0;
        for (; at < to && IsDigit(*at); ++at)
            if (exponent < 1000000000)
                exponent = exponent * 10 + (*at - '0');
        power += negative ? -exponent : exponent;
    }
    return power > 0;
}

} // namespace

double ParseNumber(const char* text)
{
    if (text == nullptr)
        return 0.0;
    const char* at = text;
    while (IsSpace(*at))
        ++at;
    bool negative = false;
    if (*at == '+' || *at == '-')
        negative = *at++ == '-';
    // from_chars takes a sign of its own; strtod takes only one.
    if (*at == '+' || *at == '-')
        return 0.0;
    const char* end = at + std::strlen(at);

    bool hex = false;
    const char* digits = at;
    if (at[0] == '0' && (at[1] == 'x' || at[1] == 'X') && (IsHexDigit(at[2]) || (at[2] == '.' && IsHexDigit(at[3])))) {
        hex = true;
        digits = at + 2;
    }
    double value = 0.0;
    const auto result = std::from_chars(digits, end, value, hex ? std::chars_format::hex : std::chars_format::general);
    if (result.ec == std::errc::invalid_argument)
        return 0.0;
    if (result.ec == std::errc::result_out_of_range)
        value = TooLarge(digits, result.ptr, hex) ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}
