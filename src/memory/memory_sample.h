#pragma once

#include <cstdint>

// The commit charge in percent of the commit limit, 0 without a limit.
inline double CommitChargePercent(uint64_t used, uint64_t limit) {
    return limit == 0 ? 0.0 : static_cast<double>(used) * 100.0 / static_cast<double>(limit);
}

// One reading of the system's memory status; image, hint and high-memory check of a tick all use the same one.
struct MemorySample {
    uint32_t MemoryLoad = 0;  // percent, 0-100
    uint64_t TotalPhys = 0;
    uint64_t AvailPhys = 0;
    uint64_t TotalPageFile = 0;
    uint64_t AvailPageFile = 0;

    // Used amounts; a reading whose free figure exceeds its total counts as nothing used.
    uint64_t PhysUsed() const { return AvailPhys < TotalPhys ? TotalPhys - AvailPhys : 0; }
    uint64_t PageFileUsed() const { return AvailPageFile < TotalPageFile ? TotalPageFile - AvailPageFile : 0; }
    // The commit limit is TotalPageFile; whole percent, rounded down.
    uint32_t CommitPercent() const { return static_cast<uint32_t>(CommitChargePercent(PageFileUsed(), TotalPageFile)); }
    bool operator==(const MemorySample& o) const {
        return MemoryLoad == o.MemoryLoad && TotalPhys == o.TotalPhys && AvailPhys == o.AvailPhys &&
               TotalPageFile == o.TotalPageFile && AvailPageFile == o.AvailPageFile;
    }
};
