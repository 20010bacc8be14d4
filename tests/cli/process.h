#pragma once

#include <string>
#include <vector>

// Runs a program to its end and tells how it ended and what it wrote.
struct ProcessResult {
    int exitStatus = -1; // -1 when it did not exit normally
    std::string out;
    std::string err;
};

struct ProcessOptions {
    std::vector<std::string> unsetVariables; // removed from the child's environment
    std::vector<std::string> setVariables;   // NAME=VALUE, added to the child's environment
    std::string standardOutput;              // a file to write standard output to instead of capturing it
    bool appendOutput = false;               // standardOutput is appended to, as ">>" does
    unsigned long long addressSpace = 0;     // the child's RLIMIT_AS in bytes; 0 for none
};

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOptions& options = {});

// How long a file has been unchanged: its modification time in nanoseconds.
long long ModificationTime(const std::string& path);

// The names in a folder, sorted.
std::vector<std::string> FolderNames(const std::string& folder);
