#include "settings/filereplace.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The POSIX implementation; Windows has its own in filereplace_win32.cpp.

namespace {

int OpenExclusive(const std::string& path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
int CloseFd(int fd) { return ::close(fd); }
int SyncFd(int fd) { return ::fsync(fd); }
long long WriteFd(int fd, const void* buffer, std::size_t count) { return ::write(fd, buffer, count); }
bool RenameOver(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }
std::string ResolveLink(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return path;
    std::string target = resolved;
    std::free(resolved);
    return target;
}
constexpr char kSeparators[] = "/";

std::string TempNameBeside(const std::string& target, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    const auto cut = target.find_last_of(kSeparators);
    const std::string folder = cut == std::string::npos ? std::string() : target.substr(0, cut + 1);
    // The temporary's name keeps at most the first 100 bytes of the file's
    // own name, so that it stays within the system's limit on a name's
    // length however long the file's name is; the suffix keeps it unique.
    const std::string name = (cut == std::string::npos ? target : target.substr(cut + 1)).substr(0, 100);
    const auto ticks = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%llx%x%x.tmp", ticks & 0xffffffffULL, counter++, attempt);
    return folder + "." + name + suffix;
}

} // namespace

bool BeginReplace(PendingFile& pending, const std::string& path)
{
    pending = PendingFile{};
    if (path.empty())
        return false;
    const std::string target = ResolveLink(path);

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        // A folder is never replaced, and a file without any write permission
        // is read-only to us as well, even where the system would let the
        // super-user overwrite it.
        if ((existing.st_mode & S_IFMT) == S_IFDIR)
            return false;
        if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return false;
    }

    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        std::string temp = TempNameBeside(target, attempt);
        const int fd = OpenExclusive(temp);
        if (fd >= 0) {
            if (exists)
                (void)::fchmod(fd, existing.st_mode & 07777);
            pending.fd = fd;
            pending.tempPath = std::move(temp);
            pending.targetPath = target;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool CommitReplace(PendingFile& pending)
{
    if (pending.fd < 0)
        return false;
    const bool synced = SyncFd(pending.fd) == 0;
    const bool closed = CloseFd(pending.fd) == 0;
    pending.fd = -1;
    if (!synced || !closed || !RenameOver(pending.tempPath, pending.targetPath)) {
        std::remove(pending.tempPath.c_str());
        pending.tempPath.clear();
        return false;
    }
    pending.tempPath.clear();
    return true;
}

void AbortReplace(PendingFile& pending)
{
    if (pending.fd >= 0)
        CloseFd(pending.fd);
    pending.fd = -1;
    if (!pending.tempPath.empty())
        std::remove(pending.tempPath.c_str());
    pending.tempPath.clear();
}

int WriteAllBytes(int fd, const void* buffer, std::size_t count)
{
    if (fd < 0 || buffer == nullptr || count == 0)
        return 0;
    const long long written = WriteFd(fd, buffer, count);
    return written > 0 && static_cast<unsigned long long>(written) == count ? 1 : 0;
}

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

FileRead ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Failed;
    if ((info.st_mode & S_IFMT) != S_IFREG)
        return FileRead::Failed;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return FileRead::Failed;
    if (info.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    if (!ok)
        bytes.clear();
    return ok ? FileRead::Ok : FileRead::Failed;
}
