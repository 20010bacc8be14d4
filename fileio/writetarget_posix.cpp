#include "fileio/writetarget.h"

#include <cerrno>
#include <sys/stat.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Systems allow about this many links in one path; more is a loop.
constexpr int kMostLinks = 40;

std::string FolderOf(const std::string& path)
{
    const auto cut = path.find_last_of('/');
    if (cut == std::string::npos)
        return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

std::string NameOf(const std::string& path)
{
    const auto cut = path.find_last_of('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Whether folder is the process's own list of open descriptors, where every
// entry names an open file rather than a path.
bool IsOwnDescriptorFolder(const std::string& folder)
{
    struct stat info {
    }, own{};
    if (::stat(folder.c_str(), &info) != 0)
        return false;
    for (const char* candidate : {"/proc/self/fd", "/proc/thread-self/fd"})
        if (::stat(candidate, &own) == 0 && SameFile(info, own))
            return true;
    return false;
}

// The descriptor a name of /proc/self/fd stands for, or -1.
int DescriptorNumber(const std::string& name)
{
    if (name.empty() || name.size() > 9)
        return -1;
    int number = 0;
    for (const char c : name) {
        if (c < '0' || c > '9')
            return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

// The system's protected symbolic links: in a sticky folder that everyone
// may write, only links of the folder's owner or of our own user are
// followed, so that nobody can plant a link there that sends our file
// elsewhere.
bool MayFollowLink(const std::string& folder, const struct stat& link)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0)
        return false;
    const bool shared = (info.st_mode & S_ISVTX) != 0 && (info.st_mode & S_IWOTH) != 0;
    return !shared || link.st_uid == info.st_uid || link.st_uid == ::geteuid();
}

bool ReadLink(const std::string& path, std::string& target)
{
    std::string buffer(256, '\0');
    while (true) {
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0)
            return false;
        if (static_cast<std::size_t>(length) < buffer.size()) {
            target.assign(buffer.data(), static_cast<std::size_t>(length));
            return !target.empty();
        }
        if (buffer.size() > 65536)
            return false;
        buffer.resize(buffer.size() * 2);
    }
}

WriteTarget Refused(const std::string& path)
{
    WriteTarget target;
    target.path = path;
    return target;
}

WriteTarget OfDescriptor(const std::string& path, int number)
{
    WriteTarget target = Refused(path);
    const int flags = ::fcntl(number, F_GETFL);
    struct stat info {};
    if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY || ::fstat(number, &info) != 0)
        return target;
    if (S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode) || S_ISSOCK(info.st_mode)) {
        target.kind = TargetKind::Descriptor;
        target.descriptor = number;
    }
    return target;
}

} // namespace

WriteTarget FindWriteTarget(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop <= kMostLinks; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            WriteTarget target = Refused(current);
            if (errno == ENOENT)
                target.kind = TargetKind::NewFile;
            return target;
        }
        if (S_ISLNK(info.st_mode)) {
            const std::string folder = FolderOf(current);
            if (IsOwnDescriptorFolder(folder)) {
                const int number = DescriptorNumber(NameOf(current));
                return number < 0 ? Refused(current) : OfDescriptor(current, number);
            }
            std::string next;
            if (!MayFollowLink(folder, info) || !ReadLink(current, next))
                return Refused(current);
            current = next.front() == '/' ? next : folder + "/" + next;
            continue;
        }
        WriteTarget target = Refused(current);
        if (S_ISREG(info.st_mode)) {
            target.kind = TargetKind::Regular;
            target.mode = info.st_mode & 07777;
            target.owner = info.st_uid;
            target.group = info.st_gid;
        } else if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
            target.kind = TargetKind::Stream;
        }
        return target;
    }
    return Refused(current);
}
