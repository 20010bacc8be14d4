#pragma once

#include <cstdint>

// Numbers in a file's headers, written byte by byte in the order the format
// fixes, whatever the machine's own.

inline void PutLe16(unsigned char* at, std::uint32_t value)
{
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
}

inline void PutLe32(unsigned char* at, std::uint32_t value)
{
    PutLe16(at, value);
    PutLe16(at + 2, value >> 16);
}

inline void PutBe32(unsigned char* at, std::uint32_t value)
{
    at[0] = static_cast<unsigned char>(value >> 24);
    at[1] = static_cast<unsigned char>(value >> 16);
    at[2] = static_cast<unsigned char>(value >> 8);
    at[3] = static_cast<unsigned char>(value);
}
