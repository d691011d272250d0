#include "processes/process_query_win.h"

#include <psapi.h>

#include <vector>

#include "platform/native_path_win.h"
#include "platform/system_library_win.h"
#include "platform/text_win.h"
#include "processes/process_rec.h"

namespace ProcessQuery {
namespace {
constexpr DWORD kPathBufferChars = 260;

template <typename F>
F KernelProc(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

// psapi.dll lives on for the life of the program once loaded.
const SystemLibrary& Psapi() {
    static SystemLibrary psapi(L"psapi.dll");
    return psapi;
}

// A function of kernel32 (Windows 7 and later carry the K32 names there) or else of psapi.dll.
template <typename F>
F KernelOrPsapiProc(const char* kernelName, const char* psapiName) {
    if (F f = KernelProc<F>(kernelName))
        return f;
    return Psapi().Proc<F>(psapiName);
}

uint64_t FromFileTime(const FILETIME& ft) {
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

#if !defined(_WIN64)
// The 64-bit layout of the kernel's VM_COUNTERS, as the native side of a 64-bit system answers it.
struct VmCounters64 {
    ULONGLONG PeakVirtualSize;
    ULONGLONG VirtualSize;
    ULONG PageFaultCount;
    ULONG Padding;
    ULONGLONG PeakWorkingSetSize;
    ULONGLONG WorkingSetSize;
    ULONGLONG QuotaPeakPagedPoolUsage;
    ULONGLONG QuotaPagedPoolUsage;
    ULONGLONG QuotaPeakNonPagedPoolUsage;
    ULONGLONG QuotaNonPagedPoolUsage;
    ULONGLONG PagefileUsage;
    ULONGLONG PeakPagefileUsage;
};
static_assert(sizeof(VmCounters64) == 88, "VM_COUNTERS of a 64-bit system");

// A 32-bit program sees SIZE_T figures clamped to 4 GB; the 64-bit query through ntdll gives the real size.
bool NativeWorkingSet(HANDLE process, uint64_t& bytes) {
    using QueryFn = LONG(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtWow64QueryInformationProcess64")));
    if (!RunningUnderWow64() || !query)
        return false;
    constexpr ULONG kProcessVmCounters = 3;
    VmCounters64 counters{};
    if (query(process, kProcessVmCounters, &counters, sizeof counters, nullptr) < 0)
        return false;
    bytes = counters.WorkingSetSize;
    return true;
}
#else
bool NativeWorkingSet(HANDLE, uint64_t&) {
    return false;
}
#endif
}  // namespace

DWORD ImagePathRights(ImageRoute route) {
    return route == ImageRoute::Vista ? PROCESS_QUERY_LIMITED_INFORMATION : PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
}

std::string ImagePath(HANDLE process, ImageRoute route) {
    wchar_t buffer[kPathBufferChars] = {};
    switch (route) {
        case ImageRoute::Vista: {
            using QueryFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
            static const auto query = KernelProc<QueryFn>("QueryFullProcessImageNameW");
            DWORD size = kPathBufferChars;
            if (query && query(process, 0, buffer, &size))
                return Narrow(std::wstring_view(buffer, size));
            return {};
        }
        case ImageRoute::DevicePath: {
            using GetNameFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD);
            static const auto get =
                KernelOrPsapiProc<GetNameFn>("GetProcessImageFileNameW", "GetProcessImageFileNameW");
            DWORD n = get ? get(process, buffer, kPathBufferChars) : 0;
            if (n == 0)
                return {};
            return DevicePathToDosPath(Narrow(std::wstring_view(buffer, n)),
                                       [](const std::string& drive, std::string& target) {
                                           wchar_t devices[500];
                                           if (!QueryDosDeviceW(Widen(drive).c_str(), devices, 500))
                                               return false;
                                           target = Narrow(devices);  // the first target, up to its NUL
                                           return true;
                                       });
        }
        case ImageRoute::ModuleFileName: {
            using GetNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);
            static const auto get = KernelOrPsapiProc<GetNameFn>("K32GetModuleFileNameExW", "GetModuleFileNameExW");
            DWORD n = get ? get(process, nullptr, buffer, kPathBufferChars) : 0;
            return n ? StripNtPathPrefix(Narrow(std::wstring_view(buffer, n))) : std::string();
        }
    }
    return {};
}

bool WorkingSet(HANDLE process, uint64_t& bytes) {
    if (NativeWorkingSet(process, bytes))
        return true;
    using GetInfoFn = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    static const auto get = KernelOrPsapiProc<GetInfoFn>("K32GetProcessMemoryInfo", "GetProcessMemoryInfo");
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!get || !get(process, &counters, sizeof counters))
        return false;
    bytes = counters.WorkingSetSize;
    return true;
}

bool CreationFileTime(HANDLE process, uint64_t& fileTime) {
    FILETIME creation{}, exitTime{}, kernel{}, user{};
    if (!GetProcessTimes(process, &creation, &exitTime, &kernel, &user))
        return false;
    fileTime = FromFileTime(creation);
    return fileTime != 0;
}

double LocalDateTime(uint64_t utcFileTime) {
    if (utcFileTime == 0)
        return 0;
    FILETIME utc{static_cast<DWORD>(utcFileTime), static_cast<DWORD>(utcFileTime >> 32)}, local{};
    if (!FileTimeToLocalFileTime(&utc, &local))
        return 0;
    return FileTimeToDateTime(FromFileTime(local));
}

bool Owner(HANDLE process, std::string& userName, std::string& domain, OwnerCache* cache) {
    UniqueKernelHandle token;
    if (!OpenProcessToken(process, TOKEN_QUERY, token.Put()))
        return false;
    DWORD length = 0;
    std::vector<BYTE> buffer;
    while (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &length)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || length <= buffer.size())
            return false;
        buffer.resize(length);
    }
    PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    if (!IsValidSid(sid))
        return false;
    std::string key(static_cast<const char*>(sid), GetLengthSid(sid));
    if (cache) {
        auto found = cache->Names.find(key);
        if (found != cache->Names.end()) {
            userName = found->second.first;
            domain = found->second.second;
            return true;
        }
    }
    DWORD nameLength = 0, domainLength = 0;
    SID_NAME_USE use;
    LookupAccountSidW(nullptr, sid, nullptr, &nameLength, nullptr, &domainLength, &use);
    if (nameLength == 0 || domainLength == 0)
        return false;
    std::wstring name(nameLength, L'\0'), dom(domainLength, L'\0');
    if (!LookupAccountSidW(nullptr, sid, name.data(), &nameLength, dom.data(), &domainLength, &use))
        return false;
    userName = Narrow(name.c_str());
    domain = Narrow(dom.c_str());
    if (cache)
        cache->Names[key] = {userName, domain};
    return true;
}

}  // namespace ProcessQuery
