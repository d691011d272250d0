#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

// Windows counts memory in 4 KiB pages: a figure kept as a 32-bit page count is exact up to 16 TiB, and stays there
// beyond.
constexpr uint64_t kPageBytes = 4096;

inline uint32_t BytesToPages(uint64_t bytes) {
    return static_cast<uint32_t>(std::min<uint64_t>(bytes / kPageBytes, std::numeric_limits<uint32_t>::max()));
}
