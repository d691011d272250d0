#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "memory/memory_sample.h"
#include "settings/settings.h"

// The user's number separators (UTF-8); the Win32 layer reads them from the user's locale.
struct NumberSeparators {
    std::string Thousands = ",";
    std::string Decimal = ".";
};

// How FormatTrayValue scales an amount: the power of two it divides by (0 bytes, 10 KB, 20 MB, 30 GB) and the
// decimals it shows.
struct TrayValueUnit {
    int Shift = 0;
    int Decimals = 0;
};
TrayValueUnit TrayUnitFor(uint64_t bytes, bool optimizeForGigabytes);

// bytes / 2^shift in the number style: grouped thousands (when `thousands` is not empty), exactly `decimals`
// decimals, rounded half up.
std::string FormatScaled(uint64_t bytes,
                         int shift,
                         int decimals,
                         const std::string& thousands,
                         const std::string& decimal);

// The bare number the icon shows for an amount: bytes below 10240, kilobytes below 10 MiB, then megabytes, or
// gigabytes with two decimals when optimizeForGigabytes.
std::string FormatTrayValue(uint64_t bytes, bool optimizeForGigabytes, const NumberSeparators& separators);

// A readable size with its unit: "2.01 GB", "500 MB", "1.5 KB", "1 byte", "512 bytes".
std::string FormatByteSize(uint64_t bytes, const NumberSeparators& separators);

// The amount the icon shows, in bytes; nothing when it shows the load in percent.
std::optional<uint64_t> DisplayedAmount(const MemorySample& sample, const Settings& settings);

// The text the icon shows, before the picture's own adjustments.
std::string SelectDisplayedValue(const MemorySample& sample,
                                 const Settings& settings,
                                 const NumberSeparators& separators);

// The tray icon's hint: what is displayed (optional), the load, physical memory and page file.
std::string BuildTrayHint(const MemorySample& sample, const Settings& settings, const NumberSeparators& separators);
// The hint the shell shows (and reads out as the icon's name), from BuildTrayHint's: in English it begins with the
// figure the icon shows and what it is ("45% memory in use"); in Chinese it is the same.
std::string BuildTrayTip(const std::string& hint,
                         const MemorySample& sample,
                         const Settings& settings,
                         const NumberSeparators& separators);
