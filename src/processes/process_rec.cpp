#include "processes/process_rec.h"

#include "platform/ascii_text.h"

int CompareByMemoryDesc(const ProcessRecord& a, const ProcessRecord& b) {
    if (b.MemoryUsage > a.MemoryUsage)
        return 1;
    if (b.MemoryUsage == a.MemoryUsage)
        return 0;
    return -1;
}

uint64_t MemoryInUnit(uint64_t bytes, int unit) {
    if (unit < 0 || unit > 3)
        return 0;
    return bytes >> (10 * unit);
}

double FileTimeToDateTime(uint64_t localFileTime) {
    // 109205 days lie between 1 January 1601 and 30 December 1899.
    constexpr double kTicksPerDay = 864000000000.0;
    constexpr double kDaysFrom1601To1899 = 109205.0;
    return static_cast<double>(localFileTime) / kTicksPerDay - kDaysFrom1601To1899;
}

std::string DevicePathToDosPath(
    const std::string& devicePath,
    const std::function<bool(const std::string& drive, std::string& target)>& queryDosDevice) {
    if (devicePath.size() < 2)
        return {};
    size_t second = devicePath.find('\\', 1);
    if (second == std::string::npos)
        return {};
    size_t third = devicePath.find('\\', second + 1);
    if (third == std::string::npos)
        return {};
    std::string device = devicePath.substr(0, third);
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        std::string drive = std::string(1, letter) + ":";
        std::string target;
        if (!queryDosDevice(drive, target))
            continue;
        if (SameTextIgnoringAsciiCase(target, device))
            return drive + devicePath.substr(third);
    }
    return {};
}

std::string StripNtPathPrefix(const std::string& path) {
    return path.compare(0, 4, "\\??\\") == 0 ? path.substr(4) : path;
}

std::string FolderOfPath(const std::string& path) {
    size_t end = path.find_last_of("\\:");
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

bool IsSystemProcess(const std::string& exeName) {
    for (const char* name : {"DWM.EXE", "SVCHOST.EXE", "CSRSS.EXE"})
        if (SameTextIgnoringAsciiCase(exeName, name))
            return true;
    return false;
}
