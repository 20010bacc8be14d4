#include "tests/support/pillow.h"

#include "tests/support/testsupport.h"

#include <cstdio>
#include <sstream>

bool DecodeWithPillow(const std::string& path, PillowImage& image)
{
    image = PillowImage{};
    const std::string rgbPath = path + ".rgb";
    const std::string command =
        std::string(DECAGON_PYTHON3) + " '" + DECAGON_PILLOW_DECODE + "' '" + path + "' '" + rgbPath + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return false;
    std::string answer;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        answer += buffer;
    if (::pclose(pipe) != 0)
        return false;
    std::istringstream(answer) >> image.format >> image.width >> image.height;
    const std::string rgb = ReadFileBytes(rgbPath);
    std::remove(rgbPath.c_str());
    const std::size_t count = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    if (image.width <= 0 || image.height <= 0 || rgb.size() != count * 3)
        return false;
    image.pixels.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        image.pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(static_cast<unsigned char>(rgb[3 * i])) << 16 |
                          static_cast<std::uint32_t>(static_cast<unsigned char>(rgb[3 * i + 1])) << 8 |
                          static_cast<unsigned char>(rgb[3 * i + 2]);
    return true;
}
