#pragma once

#include "render/palette.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Just enough reading of the SVG we write to check it: its start tags in
// document order, each with its name, its attributes' text and how deep it
// stands.
struct SvgTag {
    std::string name;
    std::string text; // the whole start tag
    int depth;

    std::string Attribute(const std::string& attribute) const
    {
        const std::string key = " " + attribute + "=\"";
        const auto at = text.find(key);
        if (at == std::string::npos)
            return {};
        const auto start = at + key.size();
        return text.substr(start, text.find('"', start) - start);
    }
    double Number(const std::string& attribute) const { return std::strtod(Attribute(attribute).c_str(), nullptr); }
};

inline std::vector<SvgTag> SvgTags(const std::string& svg)
{
    std::vector<SvgTag> tags;
    int depth = 0;
    for (auto at = svg.find('<'); at != std::string::npos; at = svg.find('<', at + 1)) {
        const auto end = svg.find('>', at);
        if (end == std::string::npos)
            break;
        const std::string tag = svg.substr(at, end - at + 1);
        if (tag.rfind("<?", 0) == 0)
            continue;
        if (tag.rfind("</", 0) == 0) {
            --depth;
            continue;
        }
        const auto nameEnd = tag.find_first_of(" />", 1);
        tags.push_back({tag.substr(1, nameEnd - 1), tag, depth});
        if (tag[tag.size() - 2] != '/')
            ++depth;
    }
    return tags;
}

// The numbers of a points or dasharray list, separated by spaces or commas.
inline std::vector<double> SvgNumbers(const std::string& list)
{
    std::vector<double> numbers;
    const char* at = list.c_str();
    while (*at != '\0') {
        if (*at == ' ' || *at == ',') {
            ++at;
            continue;
        }
        char* end = nullptr;
        numbers.push_back(std::strtod(at, &end));
        if (end == at)
            break;
        at = end;
    }
    return numbers;
}

// A colour as the drawing writes it: "#rrggbb".
inline std::string SvgColor(ColorValue color)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", ColorRed(color), ColorGreen(color), ColorBlue(color));
    return text;
}
