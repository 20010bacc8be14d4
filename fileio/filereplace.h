#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Replacing a file without ever leaving it half written: the new content goes
// into a temporary file in the same folder, which is flushed to disk and then
// renamed over the target, and the folder is flushed too. Until the rename
// the old file stays as it was; after it the new file is complete.
//
// A target that is not a regular file is never replaced by one: a FIFO or a
// character device (a terminal, /dev/null) is written into as it is, and so
// is one of the process's own open files named as /dev/stdout, /dev/fd/N or
// /proc/self/fd/N (a file that standard output appends to gets the content
// appended). Anything else there (a folder, a socket, a block device) is
// refused.
struct PendingFile {
    int fd = -1;
    std::string tempPath; // empty when the target is written into directly
    std::string targetPath;
    bool direct = false;    // written into the target as it is
    unsigned finalMode = 0; // the permissions the new file gets once complete
    long long owner = -1;   // the owner and group it keeps, -1 for ours
    long long group = -1;
};

// Opens a temporary file beside the file that path leads to (a symbolic link
// is followed, so the link itself stays, and a dangling one gets its file
// made; see fileio/writetarget.h for the links that are not followed), or
// the target itself when it is written into directly. Fails when the folder
// cannot be written, or when path is an existing read-only file or a folder.
// The temporary is readable by our own user only until it is complete; then
// it takes the permissions, and where it can the owner and group, of the file
// it replaces (a new file: 0666 less the process's umask). Temporaries that an
// earlier save of the same file left behind are removed first (see
// fileio/tempname.h). A FIFO that has no reader yet is given a few seconds
// to get one.
bool BeginReplace(PendingFile& pending, const std::string& path);

// Flushes, closes and renames the temporary over the target, then flushes
// the folder. On failure the temporary is removed and the target is left as
// it was. A target written into directly is flushed where it can be and
// closed.
bool CommitReplace(PendingFile& pending);

// Closes and removes the temporary; the target is left as it was (what was
// already written into a target written directly stays there).
void AbortReplace(PendingFile& pending);

// Writes count bytes with one system write; 1 only when all of them were
// written. 0 at once, without writing, for a closed file, a null buffer or a
// count of 0. A short write is not retried.
int WriteAllBytes(int fd, const void* buffer, std::size_t count);

// Whether anything is at path (a file, a folder, a link).
bool PathExists(const std::string& path);

// Creates the file at path, or empties the one there, to write straight
// into it; -1 when it cannot be opened. CloseWritten closes it; false when
// what was written could not be completed.
int CreateForWrite(const std::string& path);
bool CloseWritten(int fd);

// The whole sequence for content that is already in memory.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

enum class FileRead { Ok, Missing, Failed };

// Reads a whole regular file. Missing when nothing is at path; Failed when
// something is there that cannot be read as a file (a folder, no permission,
// a read error), so that a caller never mistakes it for an empty file.
FileRead ReadWholeFile(const std::string& path, std::string& bytes);
