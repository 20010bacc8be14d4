#include "fileio/filereplace.h"

// The same on every system, over the system's own steps.
bool ReplaceFileContents(const std::string& path, std::string_view bytes)
{
    PendingFile pending;
    if (!BeginReplace(pending, path))
        return false;
    // An empty file needs no write at all.
    if (!bytes.empty() && WriteAllBytes(pending.fd, bytes.data(), bytes.size()) == 0) {
        AbortReplace(pending);
        return false;
    }
    return CommitReplace(pending);
}
