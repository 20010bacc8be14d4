#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Replacing a file without ever leaving it half written: the new content goes
// into a temporary file in the same folder, which is flushed to disk and then
// renamed over the target. Until the rename the old file stays as it was;
// after it the new file is complete.
struct PendingFile {
    int fd = -1;
    std::string tempPath;
    std::string targetPath;
};

// Opens a temporary file beside path (a symbolic link is followed, so the link
// itself stays). Fails when the folder cannot be written, or when path is an
// existing read-only file or a folder. The temporary takes the permissions of
// the file it will replace.
bool BeginReplace(PendingFile& pending, const std::string& path);

// Flushes, closes and renames the temporary over the target. On failure the
// temporary is removed and the target is left as it was.
bool CommitReplace(PendingFile& pending);

// Closes and removes the temporary; the target is left as it was.
void AbortReplace(PendingFile& pending);

// Writes count bytes with one system write; 1 only when all of them were
// written. 0 at once, without writing, for a closed file, a null buffer or a
// count of 0. A short write is not retried.
int WriteAllBytes(int fd, const void* buffer, std::size_t count);

// The whole sequence for content that is already in memory.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

enum class FileRead { Ok, Missing, Failed };

// Reads a whole regular file. Missing when nothing is at path; Failed when
// something is there that cannot be read as a file (a folder, no permission,
// a read error), so that a caller never mistakes it for an empty file.
FileRead ReadWholeFile(const std::string& path, std::string& bytes);
