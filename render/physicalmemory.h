#pragma once

#include <cstdint>

// The machine's physical memory in bytes, or 0 when the system cannot tell.
// One implementation per system: physicalmemory.cpp (POSIX) and
// physicalmemory_win32.cpp.
std::uint64_t PhysicalMemoryBytes();
