#include "processes/process_snapshot_win.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "platform/text_win.h"
#include "platform/unique_handle_win.h"
#include "processes/process_query_win.h"

namespace {
// The start of the kernel's SYSTEM_PROCESS_INFORMATION up to the working set, laid out for this program's
// bitness (the system answers a 32-bit program on 64-bit Windows in the 32-bit layout).
struct CountedText {
    USHORT Length;  // bytes
    USHORT MaximumLength;
    PWSTR Buffer;
};

struct SystemProcessEntry {
    ULONG NextEntryOffset;
    ULONG NumberOfThreads;
    LARGE_INTEGER WorkingSetPrivateSize;
    ULONG HardFaultCount;
    ULONG NumberOfThreadsHighWatermark;
    ULONGLONG CycleTime;
    LARGE_INTEGER CreateTime;
    LARGE_INTEGER UserTime;
    LARGE_INTEGER KernelTime;
    CountedText ImageName;
    LONG BasePriority;
    HANDLE UniqueProcessId;
    HANDLE InheritedFromUniqueProcessId;
    ULONG HandleCount;
    ULONG SessionId;
    ULONG_PTR UniqueProcessKey;
    SIZE_T PeakVirtualSize;
    SIZE_T VirtualSize;
    ULONG PageFaultCount;
    SIZE_T PeakWorkingSetSize;
    SIZE_T WorkingSetSize;
    SIZE_T QuotaPeakPagedPoolUsage;
    SIZE_T QuotaPagedPoolUsage;
    SIZE_T QuotaPeakNonPagedPoolUsage;
    SIZE_T QuotaNonPagedPoolUsage;
    SIZE_T PagefileUsage;  // the process's private committed bytes
};
#if defined(_WIN64)
static_assert(offsetof(SystemProcessEntry, UniqueProcessId) == 80 &&
                  offsetof(SystemProcessEntry, WorkingSetSize) == 144,
              "64-bit SYSTEM_PROCESS_INFORMATION");
static_assert(offsetof(SystemProcessEntry, PagefileUsage) == 184, "64-bit private bytes");
#else
static_assert(offsetof(SystemProcessEntry, UniqueProcessId) == 68 &&
                  offsetof(SystemProcessEntry, WorkingSetSize) == 104,
              "32-bit SYSTEM_PROCESS_INFORMATION");
static_assert(offsetof(SystemProcessEntry, PagefileUsage) == 124, "32-bit private bytes");
#endif

constexpr ULONG kSystemProcessInformation = 5;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);

using QuerySystemInformationFn = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);

QuerySystemInformationFn QuerySystemInformation() {
    static const auto query = reinterpret_cast<QuerySystemInformationFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    return query;
}
}  // namespace

// The answer is read into pages of its own, released once the visit is over: held between two reads a minute apart,
// the quarter megabyte or more would count in the program's private memory all the time.
bool SystemProcessReader::Read(const std::function<void(const SystemProcessEntryView&)>& visit) {
    const QuerySystemInformationFn query = QuerySystemInformation();
    if (!query)
        return false;
    // The list grows between the size question and the answer, so each retry asks for some room more than the system
    // said; the next read starts at the size this one needed.
    size_t size = bufferBytes_;
    UniqueVirtualMemory buffer;
    LONG status = kStatusInfoLengthMismatch;
    for (int attempt = 0; attempt < 8 && status == kStatusInfoLengthMismatch; ++attempt) {
        buffer.Reset(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (!buffer)
            return false;
        ULONG needed = 0;
        status = query(kSystemProcessInformation, buffer.Get(), static_cast<ULONG>(size), &needed);
        if (status == kStatusInfoLengthMismatch)
            size = (needed > size ? needed : size * 2) + 64 * 1024;
    }
    if (status < 0)
        return false;
    bufferBytes_ = size;

    const auto* base = static_cast<const unsigned char*>(buffer.Get());
    bool any = false;
    for (size_t offset = 0; offset + sizeof(SystemProcessEntry) <= size;) {
        const auto* entry = reinterpret_cast<const SystemProcessEntry*>(base + offset);
        SystemProcessEntryView view;
        view.ProcessId = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(entry->UniqueProcessId));
        // The system idle pseudo-process (id 0) is no program.
        if (view.ProcessId != 0) {
            if (entry->ImageName.Buffer && entry->ImageName.Length > 0)
                view.Name = std::wstring_view(entry->ImageName.Buffer, entry->ImageName.Length / sizeof(wchar_t));
            view.ParentProcessId =
                static_cast<uint32_t>(reinterpret_cast<uintptr_t>(entry->InheritedFromUniqueProcessId));
            view.Threads = entry->NumberOfThreads;
            view.BasePriority = entry->BasePriority;
            view.WorkingSet = entry->WorkingSetSize;
            view.PrivateBytes = entry->PagefileUsage;
            view.CreationFileTime = static_cast<uint64_t>(entry->CreateTime.QuadPart);
            visit(view);
            any = true;
        }
        if (entry->NextEntryOffset == 0)
            break;
        offset += entry->NextEntryOffset;
    }
    return any;
}

bool ReadSystemProcesses(std::vector<ProcessRecord>& records) {
    records.clear();
    SystemProcessReader reader;
    const bool read = reader.Read([&](const SystemProcessEntryView& e) {
        ProcessRecord r;
        r.ExeName = Narrow(e.Name);
        r.ProcessID = e.ProcessId;
        r.ParentProcessID = e.ParentProcessId;
        r.Threads = e.Threads;
        r.PriClassBase = e.BasePriority;
        r.MemoryUsage = e.WorkingSet;
        r.PrivateBytes = e.PrivateBytes;
        r.CreationFileTime = e.CreationFileTime;
        r.CreationTime = ProcessQuery::LocalDateTime(r.CreationFileTime);
        records.push_back(std::move(r));
    });
    if (!read)
        records.clear();
    return read;
}

bool MaybeClampedWorkingSet(uint64_t bytes) {
#if defined(_WIN64)
    (void)bytes;
    return false;
#else
    return bytes >= 0xFFF00000u;
#endif
}
