#include "fileio/filereplace.h"

#include "fileio/tempname.h"
#include "fileio/writetarget.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>

#include <unistd.h>

namespace {

// Private to our own user until the content is complete.
int OpenExclusive(const std::string& path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}
int CloseFd(int fd) { return ::close(fd); }
int SyncFd(int fd) { return ::fsync(fd); }
long long WriteFd(int fd, const void* buffer, std::size_t count) { return ::write(fd, buffer, count); }
bool RenameOver(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }
long long OwnProcessId() { return ::getpid(); }

// How long a FIFO without a reader is waited for before the save fails.
constexpr std::chrono::seconds kReaderWait{5};

// The permissions a new file gets: 0666 less the umask, read without
// changing it (which would race with other threads).
unsigned NewFileMode()
{
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status) != nullptr)
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found)
            return 0666u & ~mask;
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}

// Opens a FIFO or a device for writing into it as it is. The open does not
// block: a FIFO without a reader is tried again for a while, so that a
// reader started at the same moment is met, but a save never hangs.
int OpenStream(const std::string& path)
{
    const auto deadline = std::chrono::steady_clock::now() + kReaderWait;
    int fd = -1;
    while ((fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)) < 0 &&
           errno == ENXIO && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (fd < 0)
        return -1;
    // What was opened must still be a FIFO or a device: a regular file put
    // there meanwhile would be overwritten in place.
    struct stat info {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || !(S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Flushes a target written into directly. Pipes, terminals and most devices
// have nothing to flush and say so; that is no failure.
bool SyncDirect(int fd)
{
    return ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS || errno == ENOTSUP || errno == EBADF;
}

// Gives the complete temporary the target's permissions, owner and group.
// Where the group cannot be kept, the group gets no access rather than
// another group getting the file's group access.
void WidenToFinal(const PendingFile& pending)
{
    unsigned mode = pending.finalMode;
    const bool otherOwner = pending.owner >= 0 && static_cast<uid_t>(pending.owner) != ::geteuid();
    const bool otherGroup = pending.group >= 0 && static_cast<gid_t>(pending.group) != ::getegid();
    if (otherOwner || otherGroup) {
        const bool both =
            ::fchown(pending.fd, static_cast<uid_t>(pending.owner), static_cast<gid_t>(pending.group)) == 0;
        const bool group = both || (otherGroup && ::fchown(pending.fd, static_cast<uid_t>(-1),
                                                           static_cast<gid_t>(pending.group)) == 0);
        if (otherGroup && !group)
            mode &= ~(070u | S_ISGID);
    }
    (void)::fchmod(pending.fd, static_cast<mode_t>(mode));
}

// Flushes the folder's entry for the renamed file, so that the new name
// survives a power cut. Only an error of the device counts as a failure:
// file systems that cannot flush a folder have nothing to flush.
bool SyncFolderOf(const std::string& path)
{
    const auto cut = path.find_last_of('/');
    const std::string folder = cut == std::string::npos ? "." : cut == 0 ? "/" : path.substr(0, cut);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    const bool synced = ::fsync(fd) == 0 || errno != EIO;
    ::close(fd);
    return synced;
}

std::string TempNameBeside(const std::string& target, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    const auto ticks = static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
    const unsigned unique = (ticks << 8) ^ (counter++ << 4) ^ attempt;
    return TemporaryNameFor(target, OwnProcessId(), unique);
}

bool BeginDirect(PendingFile& pending, const WriteTarget& target)
{
    const int fd = target.kind == TargetKind::Descriptor ? ::fcntl(target.descriptor, F_DUPFD_CLOEXEC, 0)
                                                         : OpenStream(target.path);
    if (fd < 0)
        return false;
    pending.fd = fd;
    pending.targetPath = target.path;
    pending.direct = true;
    return true;
}

} // namespace

bool BeginReplace(PendingFile& pending, const std::string& path)
{
    pending = PendingFile{};
    if (path.empty())
        return false;
    const WriteTarget target = FindWriteTarget(path);
    switch (target.kind) {
    case TargetKind::Refused:
        return false;
    case TargetKind::Stream:
    case TargetKind::Descriptor:
        return BeginDirect(pending, target);
    case TargetKind::Regular:
        // A file without any write permission is read-only to us as well,
        // even where the system would let the super-user overwrite it.
        if ((target.mode & 0222) == 0)
            return false;
        break;
    case TargetKind::NewFile:
        break;
    }

    RemoveStaleTemporaries(target.path);
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        std::string temp = TempNameBeside(target.path, attempt);
        const int fd = OpenExclusive(temp);
        if (fd >= 0) {
            pending.fd = fd;
            pending.tempPath = std::move(temp);
            pending.targetPath = target.path;
            pending.finalMode = target.kind == TargetKind::Regular ? target.mode : NewFileMode();
            pending.owner = target.owner;
            pending.group = target.group;
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
    if (pending.direct) {
        const bool synced = SyncDirect(pending.fd);
        const bool closed = CloseFd(pending.fd) == 0;
        pending = PendingFile{};
        return synced && closed;
    }
    const bool synced = SyncFd(pending.fd) == 0;
    if (synced)
        WidenToFinal(pending);
    const bool closed = CloseFd(pending.fd) == 0;
    pending.fd = -1;
    if (!synced || !closed || !RenameOver(pending.tempPath, pending.targetPath)) {
        std::remove(pending.tempPath.c_str());
        pending.tempPath.clear();
        return false;
    }
    pending.tempPath.clear();
    return SyncFolderOf(pending.targetPath);
}

void AbortReplace(PendingFile& pending)
{
    if (pending.fd >= 0)
        CloseFd(pending.fd);
    pending.fd = -1;
    if (!pending.tempPath.empty())
        std::remove(pending.tempPath.c_str());
    pending.tempPath.clear();
    pending.direct = false;
}

bool PathExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

int CreateForWrite(const std::string& path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

bool CloseWritten(int fd) { return fd >= 0 && ::close(fd) == 0; }

int WriteAllBytes(int fd, const void* buffer, std::size_t count)
{
    if (fd < 0 || buffer == nullptr || count == 0)
        return 0;
    const long long written = WriteFd(fd, buffer, count);
    return written > 0 && static_cast<unsigned long long>(written) == count ? 1 : 0;
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
