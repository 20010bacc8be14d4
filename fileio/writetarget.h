#pragma once

#include <string>

// What a save to a path would write, found before anything is written.
enum class TargetKind {
    NewFile,    // nothing there yet: made through a temporary file
    Regular,    // an existing regular file: replaced through a temporary file
    Stream,     // a FIFO or a character device (a terminal, /dev/null): written into as it is
    Descriptor, // one of the process's own open files, named /dev/stdout, /dev/fd/N or
                // /proc/self/fd/N: written into through that descriptor, as "-" would be
    Refused,    // a folder, a socket, a block device, a loop of links, or a link that must not be followed
};

struct WriteTarget {
    TargetKind kind = TargetKind::Refused;
    std::string path;    // where the symbolic links lead: the file that is written or made
    int descriptor = -1; // Descriptor only: the descriptor's number
    // Regular only: the file's permission bits, owner and group.
    unsigned mode = 0;
    long long owner = -1;
    long long group = -1;
};

// Follows the symbolic links of path itself (not of its folders, which the
// system follows) to what a save would write. A link that dangles leads to a
// new file where it points. In a folder that everyone may write and that has
// the sticky bit (like /tmp), a link is followed only when it belongs to the
// folder's owner or to this process's user: the same rule as the system's
// protected symbolic links, which applies even where the system's own check
// is off.
WriteTarget FindWriteTarget(const std::string& path);
