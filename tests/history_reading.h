#pragma once

#include <cstdint>

#include "memory/memory_sample.h"

// A reading of an 8 GiB machine with `load` percent in use and `commit` percent of a 10 GiB commit limit committed.
inline MemorySample HistoryReading(uint32_t load, uint32_t commit) {
    constexpr uint64_t kGiB = 1ull << 30;
    MemorySample s;
    s.MemoryLoad = load;
    s.TotalPhys = 8 * kGiB;
    s.AvailPhys = 8 * kGiB - load * 8 * kGiB / 100;
    s.TotalPageFile = 10 * kGiB;
    s.AvailPageFile = 10 * kGiB - commit * 10 * kGiB / 100;
    return s;
}
