#include "render/memorybudget.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

constexpr std::uint64_t kFallbackBudget = std::uint64_t{1} << 30;
constexpr std::uint64_t kSmallAddressSpaceBudget = std::uint64_t{512} << 20;

bool ReadSmallFile(const std::string& path, std::string& text)
{
    text.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    char chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && text.size() < (std::size_t{1} << 20))
        text.append(chunk, got);
    std::fclose(file);
    return true;
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

// A limit file's number: digits, then at most a line end. "max" and anything
// else that is not a number is no limit.
std::uint64_t ParseLimit(std::string_view text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 20)
        return kNoMemoryLimit;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return kNoMemoryLimit;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (kNoMemoryLimit - digit) / 10)
            return kNoMemoryLimit;
        value = value * 10 + digit;
    }
    return value;
}

// mountinfo writes a space, tab, newline or backslash in a path as a
// backslash and three octal digits.
std::string DecodeMountPath(std::string_view text)
{
    std::string path;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '3' && text[i + 2] >= '0' &&
            text[i + 2] <= '7' && text[i + 3] >= '0' && text[i + 3] <= '7') {
            path += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0'));
            i += 3;
        } else {
            path += text[i];
        }
    }
    return path;
}

struct GroupMount {
    std::string root;       // the group tree's folder that is mounted
    std::string mountPoint; // where it is mounted
};

// The mounts of the version 2 tree, or of the version 1 trees that hold the
// memory controller.
std::vector<GroupMount> FindGroupMounts(std::string_view mountInfo, bool version2)
{
    std::vector<GroupMount> mounts;
    for (std::string_view line : Split(mountInfo, '\n')) {
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const std::size_t dash = line.find(" - ");
        if (dash == std::string_view::npos)
            continue;
        const std::vector<std::string_view> before = Split(line.substr(0, dash), ' ');
        const std::vector<std::string_view> after = Split(line.substr(dash + 3), ' ');
        if (before.size() < 5 || after.size() < 3)
            continue;
        if (version2 ? after[0] != "cgroup2" : after[0] != "cgroup")
            continue;
        if (!version2) {
            const std::vector<std::string_view> options = Split(after[2], ',');
            if (std::find(options.begin(), options.end(), "memory") == options.end())
                continue;
        }
        mounts.push_back({DecodeMountPath(before[3]), DecodeMountPath(before[4])});
    }
    return mounts;
}

// The least limit in fileName from the group's folder up to the mount point.
std::uint64_t LeastLimitUpwards(const GroupMount& mount, std::string_view groupPath, const char* fileName)
{
    // A group path inside the mounted folder is taken relative to it; in a
    // control-group namespace the path is already relative to the mount.
    std::string relative(groupPath);
    if (mount.root != "/" && relative.compare(0, mount.root.size(), mount.root) == 0 &&
        (relative.size() == mount.root.size() || relative[mount.root.size()] == '/'))
        relative.erase(0, mount.root.size());
    // A path that climbs is not followed.
    for (std::string_view part : Split(relative, '/'))
        if (part == "..")
            return kNoMemoryLimit;
    while (!relative.empty() && relative.back() == '/')
        relative.pop_back();

    std::uint64_t least = kNoMemoryLimit;
    std::string text;
    while (true) {
        if (ReadSmallFile(mount.mountPoint + relative + "/" + fileName, text))
            least = std::min(least, ParseLimit(text));
        if (relative.empty())
            return least;
        relative.erase(relative.rfind('/'));
    }
}

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
// The room a resource limit leaves above what is in use.
std::uint64_t RoomUnder(int resource, std::uint64_t inUse)
{
    struct rlimit limit {};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return kNoMemoryLimit;
    const auto cap = static_cast<std::uint64_t>(limit.rlim_cur);
    return cap > inUse ? cap - inUse : 0;
}
#endif

} // namespace

std::uint64_t BudgetForLimits(const MemoryLimits& limits, bool smallAddressSpace)
{
    const std::uint64_t least = std::min({limits.physical, limits.controlGroup, limits.addressSpace, limits.data});
    std::uint64_t budget = least == kNoMemoryLimit ? kFallbackBudget : least / 4;
    if (smallAddressSpace)
        budget = std::min(budget, kSmallAddressSpaceBudget);
    return budget;
}

std::uint64_t ControlGroupMemoryLimit(std::string_view selfCgroup, std::string_view mountInfo)
{
    std::uint64_t least = kNoMemoryLimit;
    for (std::string_view line : Split(selfCgroup, '\n')) {
        // hierarchy-id:controllers:path; version 2 is "0::path".
        const std::size_t first = line.find(':');
        const std::size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
        if (second == std::string_view::npos)
            continue;
        const std::string_view controllers = line.substr(first + 1, second - first - 1);
        const std::string_view path = line.substr(second + 1);
        if (path.empty() || path.front() != '/')
            continue;
        const bool version2 = line.substr(0, first) == "0" && controllers.empty();
        if (!version2) {
            const std::vector<std::string_view> names = Split(controllers, ',');
            if (std::find(names.begin(), names.end(), "memory") == names.end())
                continue;
        }
        for (const GroupMount& mount : FindGroupMounts(mountInfo, version2))
            least = std::min(least, LeastLimitUpwards(mount, path, version2 ? "memory.max" : "memory.limit_in_bytes"));
    }
    return least;
}

MemoryLimits CurrentMemoryLimits()
{
    MemoryLimits limits;
#if defined(_WIN32)
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (GlobalMemoryStatusEx(&status)) {
        limits.physical = status.ullTotalPhys;
        limits.addressSpace = status.ullAvailVirtual;
    }
#else
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        limits.physical = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
#if !defined(__EMSCRIPTEN__) // a browser has neither: its bound is the memory's
    std::string selfCgroup, mountInfo;
    if (ReadSmallFile("/proc/self/cgroup", selfCgroup) && ReadSmallFile("/proc/self/mountinfo", mountInfo))
        limits.controlGroup = ControlGroupMemoryLimit(selfCgroup, mountInfo);

    // /proc/self/statm: total size, resident, shared, text, library,
    // data and stack, all in pages.
    std::uint64_t total = 0, data = 0;
    std::string statm;
    if (pageSize > 0 && ReadSmallFile("/proc/self/statm", statm)) {
        const std::vector<std::string_view> fields = Split(statm, ' ');
        if (fields.size() >= 6) {
            total = ParseLimit(fields[0]);
            data = ParseLimit(fields[5]);
            total = total == kNoMemoryLimit ? 0 : total * static_cast<std::uint64_t>(pageSize);
            data = data == kNoMemoryLimit ? 0 : data * static_cast<std::uint64_t>(pageSize);
        }
    }
    limits.addressSpace = RoomUnder(RLIMIT_AS, total);
    limits.data = RoomUnder(RLIMIT_DATA, data);
#endif
#endif
    return limits;
}

std::uint64_t MemoryByteBudget()
{
    static const std::uint64_t budget = BudgetForLimits(CurrentMemoryLimits(), sizeof(void*) < 8);
    return budget;
}
