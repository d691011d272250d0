#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>

// Queries on an open process handle; each answers "unknown" (false, empty) instead of failing loudly.
namespace ProcessQuery {

// How the image path is read: Windows Vista and later (the program's), Windows XP (device path), Windows 2000
// (module file name).
enum class ImageRoute { Vista, DevicePath, ModuleFileName };

// Rights to open a process with for each route's path query.
DWORD ImagePathRights(ImageRoute route);
std::string ImagePath(HANDLE process, ImageRoute route = ImageRoute::Vista);
// Working set in bytes, full 64-bit size even in the 32-bit program on 64-bit Windows.
bool WorkingSet(HANDLE process, uint64_t& bytes);
// Creation time in UTC file-time units; false when it cannot be read or is zero.
bool CreationFileTime(HANDLE process, uint64_t& fileTime);
// Account names already looked up, by user identifier: the processes of one snapshot share a handful of accounts.
struct OwnerCache;
bool Owner(HANDLE process, std::string& userName, std::string& domain, OwnerCache* cache = nullptr);

// Local date-time of a UTC file time (0 stays 0).
double LocalDateTime(uint64_t utcFileTime);

struct OwnerCache {
    std::map<std::string, std::pair<std::string, std::string>> Names;
};

}  // namespace ProcessQuery
