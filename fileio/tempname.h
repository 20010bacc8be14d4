#pragma once

#include <string>

// Temporary files of a save, beside the file they will replace. The name
// says whose it is:
//   "." + the first 100 bytes of the file's name + ".decagon-" + the
//   machine's tag + "-" + the process id + "-" + a unique number + ".tmp"
// The machine's tag (8 hex digits) stands for the host name and the process
// id namespace, so that a process id is only ever judged where it means
// that process. The length stays within the system's limit on a name
// however long the file's name is.
std::string TemporaryNameFor(const std::string& target, long long processId, unsigned unique);

// Removes the temporaries of target that an earlier save left behind (one
// killed before it could finish) and that nobody can still be writing: of
// this machine's tag, of a process that no longer runs, regular files of our
// own user. Returns how many were removed.
int RemoveStaleTemporaries(const std::string& target);
