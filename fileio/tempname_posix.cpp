#include "fileio/tempname.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kKeptNameBytes = 100;
constexpr char kMark[] = ".decagon-";

constexpr char kSeparators[] = "/";

std::string FolderPart(const std::string& target)
{
    const auto cut = target.find_last_of(kSeparators);
    return cut == std::string::npos ? std::string() : target.substr(0, cut + 1);
}

std::string NamePart(const std::string& target)
{
    const auto cut = target.find_last_of(kSeparators);
    return cut == std::string::npos ? target : target.substr(cut + 1);
}

// What every temporary name of target starts with.
std::string NamePrefix(const std::string& target) { return "." + NamePart(target).substr(0, kKeptNameBytes) + kMark; }

unsigned MachineTag()
{
    static const unsigned tag = [] {
        std::string identity;
        char host[256] = {};
        if (::gethostname(host, sizeof host - 1) == 0)
            identity = host;
        struct stat space {};
        if (::stat("/proc/self/ns/pid", &space) == 0)
            identity += "/" + std::to_string(static_cast<unsigned long long>(space.st_ino));
        // FNV-1a.
        std::uint32_t hash = 2166136261u;
        for (const char c : identity)
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        return static_cast<unsigned>(hash);
    }();
    return tag;
}

long long OwnProcessId() { return ::getpid(); }

// Reads hex or decimal digits from text at `at`; false when there are none
// or too many.
bool ReadNumber(std::string_view text, std::size_t& at, int base, unsigned long long& value)
{
    const std::size_t start = at;
    value = 0;
    while (at < text.size() && at - start < 16) {
        const char c = text[at];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (digit < 0)
            break;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        ++at;
    }
    return at > start && (at == text.size() || text[at] < '0' || text[at] > '9');
}

// The tag and process id of a temporary name that follows the pattern after
// its prefix: "<tag>-<pid>-<unique>.tmp".
bool ParseRest(std::string_view rest, unsigned long long& tag, unsigned long long& processId)
{
    std::size_t at = 0;
    unsigned long long unique = 0;
    if (!ReadNumber(rest, at, 16, tag) || at != 8 || at >= rest.size() || rest[at++] != '-')
        return false;
    if (!ReadNumber(rest, at, 10, processId) || at >= rest.size() || rest[at++] != '-')
        return false;
    if (!ReadNumber(rest, at, 16, unique))
        return false;
    return rest.substr(at) == ".tmp";
}

bool ProcessIsGone(long long processId)
{
    if (processId <= 0 || processId == OwnProcessId())
        return false;
    return ::kill(static_cast<pid_t>(processId), 0) != 0 && errno == ESRCH;
}

} // namespace

std::string TemporaryNameFor(const std::string& target, long long processId, unsigned unique)
{
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "%08x-%lld-%x.tmp", MachineTag(), processId, unique);
    return FolderPart(target) + NamePrefix(target) + suffix;
}

int RemoveStaleTemporaries(const std::string& target)
{
    std::string folder = FolderPart(target);
    const std::string prefix = NamePrefix(target);
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        unsigned long long tag = 0, processId = 0;
        if (name.substr(0, prefix.size()) != prefix || !ParseRest(name.substr(prefix.size()), tag, processId))
            continue;
        if (tag != MachineTag() || !ProcessIsGone(static_cast<long long>(processId)))
            continue;
        const std::string path = folder + std::string(name);
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
            continue;
        if (::unlink(path.c_str()) == 0)
            ++removed;
    }
    ::closedir(listing);
    return removed;
}
