#pragma once

#include <string>
#include <vector>

// How the child's standard output is opened, and its limits.
struct SpawnOptions {
    bool appendOutput = false;           // added to the end of outPath (as ">>" does), not emptied
    unsigned long long addressSpace = 0; // RLIMIT_AS in bytes; 0 for none
};

// Starts the program command[0] with the arguments that follow it, its
// standard input from /dev/null and its standard output and error written
// to the files at outPath and errPath (created or emptied), in the
// environment envp (null: this process's own), and waits for its end.
// Returns its exit status, or -1 when it could not be started or did not
// exit normally.
int SpawnAndWait(const std::vector<std::string>& command, const std::string& outPath, const std::string& errPath,
                 char* const* envp = nullptr, const SpawnOptions& options = {});
