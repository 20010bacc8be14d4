// The file calls over files kept in memory (fileio/memoryfiles.h), for the
// browser, which gives a page no file system. A replacement is gathered
// apart and takes the file's place whole when committed, as a rename does
// on disk; a file written straight into (CreateForWrite) is emptied at once
// and filled as it is written.

#include "fileio/filereplace.h"
#include "fileio/memoryfiles.h"

#include <functional>
#include <map>

namespace {

struct OpenFile {
    std::string path;
    std::string bytes; // a replacement's content, until it is committed
    bool direct = false;
};

std::map<std::string, std::string, std::less<>>& Files()
{
    static std::map<std::string, std::string, std::less<>> files;
    return files;
}

std::map<int, OpenFile>& OpenFiles()
{
    static std::map<int, OpenFile> open;
    return open;
}

bool IsFolder(std::string_view path)
{
    const std::string prefix = std::string(path) + "/";
    const auto next = Files().lower_bound(prefix);
    return next != Files().end() && next->first.compare(0, prefix.size(), prefix) == 0;
}

// A path that a file can take: not empty, not ending in "/", not a folder.
bool CanHoldFile(std::string_view path) { return !path.empty() && path.back() != '/' && !IsFolder(path); }

int Open(std::string_view path, bool direct)
{
    static int lastFd = 2; // past the standard streams, as a system numbers them
    OpenFiles()[++lastFd] = OpenFile{std::string(path), {}, direct};
    return lastFd;
}

} // namespace

const std::string* MemoryFile(std::string_view path)
{
    const auto found = Files().find(path);
    return found == Files().end() ? nullptr : &found->second;
}

void PutMemoryFile(std::string_view path, std::string bytes)
{
    const auto found = Files().find(path);
    if (found != Files().end())
        found->second = std::move(bytes);
    else
        Files().emplace(std::string(path), std::move(bytes));
}

bool RemoveMemoryFile(std::string_view path)
{
    const auto found = Files().find(path);
    if (found == Files().end())
        return false;
    Files().erase(found);
    return true;
}

std::vector<std::string> MemoryFilesIn(std::string_view folder)
{
    const std::string prefix = std::string(folder) + "/";
    std::vector<std::string> names;
    for (auto at = Files().lower_bound(prefix); at != Files().end() && at->first.compare(0, prefix.size(), prefix) == 0;
         ++at) {
        const std::string name = at->first.substr(prefix.size());
        if (name.find('/') == std::string::npos)
            names.push_back(name);
    }
    return names;
}

bool BeginReplace(PendingFile& pending, const std::string& path)
{
    pending = PendingFile{};
    if (!CanHoldFile(path))
        return false;
    pending.fd = Open(path, false);
    pending.targetPath = path;
    return true;
}

bool CommitReplace(PendingFile& pending)
{
    const auto found = OpenFiles().find(pending.fd);
    pending.fd = -1;
    if (found == OpenFiles().end())
        return false;
    OpenFile file = std::move(found->second);
    OpenFiles().erase(found);
    // The path may have become a folder since the file was opened.
    if (!CanHoldFile(file.path))
        return false;
    PutMemoryFile(file.path, std::move(file.bytes));
    return true;
}

void AbortReplace(PendingFile& pending)
{
    OpenFiles().erase(pending.fd);
    pending.fd = -1;
}

int WriteAllBytes(int fd, const void* buffer, std::size_t count)
{
    const auto found = OpenFiles().find(fd);
    if (found == OpenFiles().end() || buffer == nullptr || count == 0)
        return 0;
    OpenFile& file = found->second;
    std::string* target = &file.bytes;
    if (file.direct) {
        const auto written = Files().find(file.path);
        if (written == Files().end())
            return 0; // removed while open
        target = &written->second;
    }
    target->append(static_cast<const char*>(buffer), count);
    return 1;
}

bool PathExists(const std::string& path) { return MemoryFile(path) != nullptr || IsFolder(path); }

int CreateForWrite(const std::string& path)
{
    if (!CanHoldFile(path))
        return -1;
    PutMemoryFile(path, {});
    return Open(path, true);
}

bool CloseWritten(int fd) { return OpenFiles().erase(fd) == 1; }

FileRead ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    if (const std::string* file = MemoryFile(path)) {
        bytes = *file;
        return FileRead::Ok;
    }
    return IsFolder(path) ? FileRead::Failed : FileRead::Missing;
}
