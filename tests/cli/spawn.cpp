#include "tests/cli/spawn.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

int WaitFor(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The same with a resource limit, which posix_spawn cannot set: a fork that
// only makes async-signal-safe calls before exec.
int ForkWithLimit(char* const* argv, const std::string& outPath, const std::string& errPath, char* const* envp,
                  const SpawnOptions& options)
{
    const int outFlags = O_WRONLY | O_CREAT | (options.appendOutput ? O_APPEND : O_TRUNC);
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath.c_str(), outFlags, 0644);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const rlimit limit{options.addressSpace, options.addressSpace};
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
            ::setrlimit(RLIMIT_AS, &limit) != 0)
            ::_exit(127);
        ::execve(argv[0], argv, envp);
        ::_exit(127);
    }
    return WaitFor(pid);
}

} // namespace

int SpawnAndWait(const std::vector<std::string>& command, const std::string& outPath, const std::string& errPath,
                 char* const* envp, const SpawnOptions& options)
{
    if (command.empty())
        return -1;
    std::vector<std::string> text = command;
    std::vector<char*> argv;
    for (std::string& argument : text)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (options.addressSpace != 0)
        return ForkWithLimit(argv.data(), outPath, errPath, envp != nullptr ? envp : environ, options);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(),
                                     O_WRONLY | O_CREAT | (options.appendOutput ? O_APPEND : O_TRUNC), 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp != nullptr ? envp : environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    return WaitFor(pid);
}
