#include "export/formatquality.h"

#include <cctype>
#include <string_view>

namespace {

constexpr int kLosslessWebpQuality = 100;

bool SameNameIgnoringCase(const char* name, std::string_view lowerCase)
{
    std::size_t i = 0;
    for (; name[i] != '\0'; ++i)
        if (i == lowerCase.size() ||
            std::tolower(static_cast<unsigned char>(name[i])) != static_cast<unsigned char>(lowerCase[i]))
            return false;
    return i == lowerCase.size();
}

} // namespace

int QualityForFormat(const char* format, int requested)
{
    if (format != nullptr && SameNameIgnoringCase(format, "webp"))
        return kLosslessWebpQuality;
    return requested;
}
