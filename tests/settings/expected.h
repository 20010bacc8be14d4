#pragma once

#include <string>

// The settings file as a first start at the default height writes it.
inline std::string DefaultDebugSection()
{
    return "[Debug]\r\n"
           "E6=39.3817, -121.2045\r\n"
           "E7=103.1027, -74.9085\r\n"
           "E8=127.4420, -0.0000\r\n"
           "E9=103.1027, 74.9085\r\n"
           "E10=39.3817, 121.2045\r\n"
           "E1=-39.3817, 121.2045\r\n"
           "E2=-103.1027, 74.9085\r\n"
           "E3=-127.4420, -0.0000\r\n"
           "E4=-103.1027, -74.9085\r\n"
           "E5=-39.3817, -121.2045\r\n";
}

inline std::string DefaultTrigoAndOffsets()
{
    return "[Trigo]\r\n"
           "Rayon Exterieur=127.4420\r\n"
           "Rayon Interieur=120.7842\r\n"
           "Corde=78.7635\r\n"
           "Hypoth\xE9nuse=133.3881\r\n"
           "[Offsets]\r\n"
           "X=0\r\n"
           "Y=0\r\n";
}

inline std::string DefaultColorKeys()
{
    return "E6=8\r\nE7=7\r\nE8=25\r\nE9=29\r\nE10=10\r\nE1=6\r\nE2=18\r\nE3=42\r\nE4=40\r\nE5=1\r\n"
           "Background=0\r\nExternal Circle=34\r\nInternal Circle=24\r\n";
}

inline std::string FirstStartFile()
{
    return DefaultDebugSection() + DefaultTrigoAndOffsets() + "[Colors]\r\n" + DefaultColorKeys() +
           "Lines=17\r\n[Diagonale]\r\nSelected=1\r\n";
}
