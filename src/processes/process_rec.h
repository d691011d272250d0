#pragma once

#include <cstdint>
#include <functional>
#include <string>

// One running process as the tray menu sees it.
struct ProcessRecord {
    std::string ExeName;
    std::string FullPath;
    std::string UserName;
    std::string Domain;
    double CreationTime = 0;        // local date-time, days since 30 December 1899; 0 when unknown
    uint64_t CreationFileTime = 0;  // the same moment in UTC file-time units; tells this process from a later one
    uint64_t MemoryUsage = 0;       // working set in bytes; 0 when it cannot be read
    uint64_t PrivateBytes = 0;      // private committed bytes, from the system-wide list only
    uint32_t Usage = 0;
    uint32_t ProcessID = 0;
    uintptr_t DefaultHeapID = 0;
    uint32_t ModuleID = 0;
    uint32_t Threads = 0;
    uint32_t ParentProcessID = 0;
    int32_t PriClassBase = 0;
};

// Largest working set first: +1 when b uses more than a, 0 when equal, -1 otherwise.
int CompareByMemoryDesc(const ProcessRecord& a, const ProcessRecord& b);

// Unit codes of a memory figure: 0 bytes, 1 KB, 2 MB, 3 GB (truncating); any other unit gives 0.
uint64_t MemoryInUnit(uint64_t bytes, int unit);

// A local file time (100 ns units since 1601) as a date-time: days since 30 December 1899, time of day as fraction.
double FileTimeToDateTime(uint64_t localFileTime);

// \Device\HarddiskVolume2\Windows\explorer.exe -> c:\Windows\explorer.exe, asking queryDosDevice("c:") for each drive
// letter a..z in turn; empty when no drive maps to the device or the path has no device part.
std::string DevicePathToDosPath(
    const std::string& devicePath,
    const std::function<bool(const std::string& drive, std::string& target)>& queryDosDevice);

// Drops the "\??\" prefix that the oldest image-path route may return.
std::string StripNtPathPrefix(const std::string& path);

// The executable's folder, up to and including its last backslash or drive colon ("" when there is none).
std::string FolderOfPath(const std::string& path);

// True for "dwm.exe", "svchost.exe" and "csrss.exe" in any mix of ASCII case.
bool IsSystemProcess(const std::string& exeName);
