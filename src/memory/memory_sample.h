#pragma once

#include <cstdint>

// One reading of the system's memory status; image, hint and high-memory check of a tick all use the same one.
struct MemorySample {
    uint32_t dwMemoryLoad = 0;  // percent, 0-100
    uint64_t ullTotalPhys = 0;
    uint64_t ullAvailPhys = 0;
    uint64_t ullTotalPageFile = 0;
    uint64_t ullAvailPageFile = 0;

    // Used amounts; a reading whose free figure exceeds its total counts as nothing used.
    uint64_t PhysUsed() const { return ullAvailPhys < ullTotalPhys ? ullTotalPhys - ullAvailPhys : 0; }
    uint64_t PageFileUsed() const {
        return ullAvailPageFile < ullTotalPageFile ? ullTotalPageFile - ullAvailPageFile : 0;
    }
    bool operator==(const MemorySample& o) const {
        return dwMemoryLoad == o.dwMemoryLoad && ullTotalPhys == o.ullTotalPhys && ullAvailPhys == o.ullAvailPhys &&
               ullTotalPageFile == o.ullTotalPageFile && ullAvailPageFile == o.ullAvailPageFile;
    }
};
