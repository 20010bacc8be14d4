#include "tests/cli/process.h"

#include "tests/cli/spawn.h"
#include "tests/support/testsupport.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

extern char** environ;

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOptions& options)
{
    TempFolder capture;
    const std::string outPath = options.standardOutput.empty() ? capture.file("out") : options.standardOutput;
    const std::string errPath = capture.file("err");

    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string entry = *variable;
        const std::string name = entry.substr(0, entry.find('='));
        if (std::find(options.unsetVariables.begin(), options.unsetVariables.end(), name) ==
            options.unsetVariables.end())
            environment.push_back(entry);
    }
    environment.insert(environment.end(), options.setVariables.begin(), options.setVariables.end());
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    std::vector<std::string> command = {program};
    command.insert(command.end(), arguments.begin(), arguments.end());
    ProcessResult result;
    result.exitStatus =
        SpawnAndWait(command, outPath, errPath, envp.data(), SpawnOptions{options.appendOutput, options.addressSpace});
    if (options.standardOutput.empty())
        result.out = ReadFileBytes(outPath);
    result.err = ReadFileBytes(errPath);
    return result;
}

long long ModificationTime(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return -1;
    return static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
