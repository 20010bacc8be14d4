#include "tests/support/testsupport.h"

#include "model/geometry.h"

#include <clocale>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#if defined(_WIN32)
#include <random>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {
// Paths are UTF-8 text, as in the program, on every system.
std::filesystem::path PathOf(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string TextOf(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
} // namespace

TempFolder::TempFolder()
{
#if defined(_WIN32)
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const std::filesystem::path candidate = base / ("decagon-test-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error))
            path_ = TextOf(candidate);
    }
    if (path_.empty())
        throw std::runtime_error("cannot make a temporary folder");
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "decagon-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
#endif
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    // Folders made read-only by a test must become writable again to go.
    for (auto it = std::filesystem::recursive_directory_iterator(PathOf(path_), ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
    std::filesystem::permissions(PathOf(path_), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(PathOf(path_), ignored);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(PathOf(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(PathOf(path), ignored);
}

int FilesIn(const std::string& folder)
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(PathOf(folder)))
        ++count;
    return count;
}

bool UseCommaLocale()
{
#if defined(_WIN32)
    for (const char* name : {"German_Germany.1252", "de-DE", "French_France.1252"})
        if (std::setlocale(LC_ALL, name) != nullptr && *std::localeconv()->decimal_point == ',')
            return true;
    return false;
#else
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_ALL, name) != nullptr)
            return true;
    // Build one into a private folder when the system has the sources.
    static const std::string folder = [] {
        std::string dir = (std::filesystem::temp_directory_path() / "decagon-locales").string();
        std::filesystem::create_directories(dir);
        const std::string command = "localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' >/dev/null 2>&1";
        return std::system(command.c_str()) == 0 ? dir : std::string();
    }();
    if (folder.empty())
        return false;
    ::setenv("LOCPATH", folder.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
#endif
}

void UseClassicLocale() { std::setlocale(LC_ALL, "C"); }

double Psnr(const std::uint32_t* a, std::size_t strideA, const std::uint32_t* b, std::size_t strideB, int width,
            int height)
{
    double squares = 0.0;
    for (int y = 0; y < height; ++y, a += strideA, b += strideB)
        for (int x = 0; x < width; ++x)
            for (int shift : {0, 8, 16}) {
                const double d =
                    static_cast<double>((a[x] >> shift) & 0xFFu) - static_cast<double>((b[x] >> shift) & 0xFFu);
                squares += d * d;
            }
    const double mean = squares / (3.0 * width * height);
    return mean == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mean);
}

DecagonRecord RecordWithHeight(double height)
{
    DecagonRecord record;
    SetRecordDefaults(record);
    record.expectedHeight = height;
    ComputeGeometry(record);
    return record;
}

#if defined(_WIN32)
bool CanLimitFileSize() { return false; }

bool RunsWithFileSizeLimit(std::size_t, const std::function<bool()>&) { return false; }
#else
bool CanLimitFileSize() { return true; }

bool RunsWithFileSizeLimit(std::size_t maxBytes, const std::function<bool()>& body)
{
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{maxBytes, maxBytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

#if !defined(_WIN32)
std::future<std::string> ReadFifoToEnd(const std::string& path, std::chrono::milliseconds delay)
{
    return std::async(std::launch::async, [path, delay] {
        std::this_thread::sleep_for(delay);
        const int fd = ::open(path.c_str(), O_RDONLY);
        std::string bytes;
        char chunk[65536];
        ssize_t got = 0;
        while (fd >= 0 && (got = ::read(fd, chunk, sizeof chunk)) > 0)
            bytes.append(chunk, static_cast<std::size_t>(got));
        if (fd >= 0)
            ::close(fd);
        return bytes;
    });
}
#endif
