#pragma once

#include <string>
#include <string_view>
#include <vector>

// Where the program runs without a file system (the browser), the files it
// reads and writes (the settings file, the exports) are kept in memory by
// fileio/filereplace_memory.cpp, behind the same calls as everywhere else
// (fileio/filereplace.h). The page moves them in and out: the settings
// between memory and the browser's storage, an export out to a download.
//
// Paths are plain byte strings; a folder is any path that some file's path
// continues with "/". A replacement becomes visible whole when it is
// committed, never part-written.

// The bytes of the file at path; nullptr when there is none. Valid until the
// file is next written or removed.
const std::string* MemoryFile(std::string_view path);

// Puts bytes at path, replacing any file there.
void PutMemoryFile(std::string_view path, std::string bytes);

// Removes the file at path; false when there was none.
bool RemoveMemoryFile(std::string_view path);

// The names of the files directly in folder, in byte order.
std::vector<std::string> MemoryFilesIn(std::string_view folder);
