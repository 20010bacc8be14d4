#pragma once

#include "model/record.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <future>
#include <string>

// Defined when the tests are built with AddressSanitizer, whose shadow memory
// does not fit under an address-space limit.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DECAGON_UNDER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define DECAGON_UNDER_ASAN 1
#endif

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// How many entries a folder holds (temporary files left behind included).
int FilesIn(const std::string& folder);

// Switches the process to a locale whose decimal separator is a comma
// (building one with localedef when none is installed). False when no such
// locale can be had; the caller then skips.
bool UseCommaLocale();
// Back to the classic locale.
void UseClassicLocale();

// The peak signal-to-noise ratio of b against a, in decibels, over the red,
// green and blue bytes of width x height 32-bit pixels (0x..RRGGBB), in rows
// strideA and strideB pixels apart; 99 when the pixels are equal.
double Psnr(const std::uint32_t* a, std::size_t strideA, const std::uint32_t* b, std::size_t strideB, int width,
            int height);

// A record with the defaults and the results computed for a height, as the
// dialog holds it after Compute (no settings file involved).
DecagonRecord RecordWithHeight(double height);

// Runs body in a child process whose files may grow to at most maxBytes, so
// that writes past it come back short for real. True when body returned true.
bool RunsWithFileSizeLimit(std::size_t maxBytes, const std::function<bool()>& body);
// Whether the system has such a limit (Windows has none); tests skip without.
bool CanLimitFileSize();

#if !defined(_WIN32)
// Reads a FIFO to its end (until its last writer closes it) in another
// thread, opening it for reading only after the delay.
std::future<std::string> ReadFifoToEnd(const std::string& path,
                                       std::chrono::milliseconds delay = std::chrono::milliseconds(0));
#endif
