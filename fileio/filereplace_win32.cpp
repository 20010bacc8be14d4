// Replacing files on Windows: the same steps as elsewhere, with the system's
// own calls. Paths are UTF-8, as everywhere in the program; they are widened
// for the wide calls, which take a name in any script and have no shorter
// length limit of their own.
#include "fileio/filereplace.h"

#include "fileio/widetext.h"

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

// A name beside the target that no other file has: the start of the target's
// own name (so that it stays within the 255 characters a name may have, and
// never ends inside a character that takes two UTF-16 units), the process, a
// tick count and a counter.
std::wstring TempNameBeside(const std::wstring& target, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    const auto cut = target.find_last_of(L"\\/");
    const std::wstring folder = cut == std::wstring::npos ? std::wstring() : target.substr(0, cut + 1);
    std::wstring name = cut == std::wstring::npos ? target : target.substr(cut + 1);
    std::size_t kept = name.size() < 100 ? name.size() : 100;
    if (kept > 0 && kept < name.size() && name[kept - 1] >= 0xD800 && name[kept - 1] <= 0xDBFF)
        --kept;
    name.resize(kept);
    wchar_t suffix[64];
    std::swprintf(suffix, 64, L".%lx%llx%x%x.tmp", GetCurrentProcessId(),
                  static_cast<unsigned long long>(GetTickCount64() & 0xffffffffULL), counter++, attempt);
    return folder + L"." + name + suffix;
}

} // namespace

bool BeginReplace(PendingFile& pending, const std::string& path)
{
    pending = PendingFile{};
    const std::wstring target = WideOfUtf8(path);
    if (target.empty())
        return false;

    // A folder is never replaced, nor a file marked read-only.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0)
        return false;

    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        const std::wstring temp = TempNameBeside(target, attempt);
        const HANDLE file =
            CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            return false;
        }
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
        if (fd < 0) {
            CloseHandle(file);
            DeleteFileW(temp.c_str());
            return false;
        }
        pending.fd = fd;
        // The names are kept in UTF-8 like every other; the calls below
        // widen them again.
        pending.tempPath = Utf8OfWide(temp);
        pending.targetPath = path;
        return true;
    }
    return false;
}

bool CommitReplace(PendingFile& pending)
{
    if (pending.fd < 0)
        return false;
    const bool flushed = FlushFileBuffers(HandleOf(pending.fd)) != 0;
    const bool closed = _close(pending.fd) == 0;
    pending.fd = -1;
    const std::wstring temp = WideOfUtf8(pending.tempPath);
    const std::wstring target = WideOfUtf8(pending.targetPath);
    const bool moved =
        flushed && closed &&
        MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!moved)
        DeleteFileW(temp.c_str());
    pending.tempPath.clear();
    return moved;
}

void AbortReplace(PendingFile& pending)
{
    if (pending.fd >= 0)
        _close(pending.fd);
    pending.fd = -1;
    if (!pending.tempPath.empty())
        DeleteFileW(WideOfUtf8(pending.tempPath).c_str());
    pending.tempPath.clear();
}

bool PathExists(const std::string& path)
{
    const std::wstring wide = WideOfUtf8(path);
    return !wide.empty() && GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int CreateForWrite(const std::string& path)
{
    const std::wstring wide = WideOfUtf8(path);
    const HANDLE file = wide.empty() ? INVALID_HANDLE_VALUE
                                     : CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd < 0)
        CloseHandle(file);
    return fd;
}

bool CloseWritten(int fd) { return fd >= 0 && _close(fd) == 0; }

int WriteAllBytes(int fd, const void* buffer, std::size_t count)
{
    if (fd < 0 || buffer == nullptr || count == 0)
        return 0;
    const HANDLE file = HandleOf(fd);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    // One system write takes at most 4 GiB - 1 bytes; larger buffers go in
    // parts, each of which must be written whole.
    const auto* bytes = static_cast<const char*>(buffer);
    while (count > 0) {
        const DWORD part = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
        DWORD written = 0;
        if (!WriteFile(file, bytes, part, &written, nullptr) || written != part)
            return 0;
        bytes += part;
        count -= part;
    }
    return 1;
}

FileRead ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    const std::wstring wide = WideOfUtf8(path);
    if (wide.empty())
        return FileRead::Missing;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileRead::Missing : FileRead::Failed;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return FileRead::Failed;
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FileRead::Failed;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0)
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    char chunk[65536];
    DWORD got = 0;
    bool ok = true;
    for (;;) {
        if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        bytes.append(chunk, got);
    }
    CloseHandle(file);
    if (!ok)
        bytes.clear();
    return ok ? FileRead::Ok : FileRead::Failed;
}
