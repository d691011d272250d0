#include "desktop_probe.h"

#include <psapi.h>
#include <shellapi.h>
#include <winternl.h>

#include <cstdio>
#include <set>
#include <utility>
#include <vector>

namespace Probe {
namespace {

// The system's list of open handles, as ntdll answers class 16 (the layout every Windows and Wine share).
struct HandleEntry {
    ULONG OwnerProcessId;
    BYTE ObjectType;
    BYTE Flags;
    USHORT Value;
    PVOID Object;
    ULONG Access;
};
struct HandleList {
    ULONG Count;
    HandleEntry Entries[1];
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

using NtQuerySystemInformationFn = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
using NtQueryInformationProcessFn = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

template <typename Function>
Function Ntdll(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

long CountKernelHandles(DWORD processId) {
    auto query = Ntdll<NtQuerySystemInformationFn>("NtQuerySystemInformation");
    if (!query)
        return -1;
    std::vector<unsigned char> buffer(1 << 20);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        NTSTATUS status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status < 0)
            return -1;
        const auto* list = reinterpret_cast<const HandleList*>(buffer.data());
        long count = 0;
        for (ULONG i = 0; i < list->Count; ++i) {
            if (list->Entries[i].OwnerProcessId == processId)
                ++count;
        }
        return count;
    }
    return -1;
}

// One entry of the GDI handle table that the process's PEB points to; the layout is the same for 32-bit and 64-bit
// processes. A free entry has type 0. Wine 8 keeps the table for 64-bit processes only: a 32-bit one reads -1.
struct GdiHandleEntry {
    uint64_t Object;
    uint32_t Owner;
    uint16_t Unique;
    uint8_t Type;
    uint8_t Flags;
    uint64_t UserPointer;
};
constexpr size_t kGdiHandleCount = 0x10000;
// Where the PEB keeps the table's address, for a process of this program's own width.
constexpr size_t kPebGdiSharedHandleTable = sizeof(void*) == 8 ? 0xF8 : 0x94;

long CountGdiObjects(HANDLE process) {
    auto query = Ntdll<NtQueryInformationProcessFn>("NtQueryInformationProcess");
    if (!query)
        return -1;
    PROCESS_BASIC_INFORMATION info{};
    if (query(process, 0 /* ProcessBasicInformation */, &info, sizeof info, nullptr) < 0 || !info.PebBaseAddress) {
        return -1;
    }
    void* table = nullptr;
    SIZE_T read = 0;
    auto* address = reinterpret_cast<const unsigned char*>(info.PebBaseAddress) + kPebGdiSharedHandleTable;
    if (!ReadProcessMemory(process, address, &table, sizeof table, &read) || !table)
        return -1;
    std::vector<GdiHandleEntry> entries(kGdiHandleCount);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiHandleEntry), &read))
        return -1;
    long count = 0;
    for (size_t i = 0; i < read / sizeof(GdiHandleEntry); ++i) {
        if (entries[i].Type != 0)
            ++count;
    }
    return count;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::set<HWND>*>(param)->insert(hwnd);
    return TRUE;
}

// The windows of the process: top-level and message-only, with their children when asked. Under Wine the
// message-only list can repeat top-level windows, hence the set.
std::set<HWND> ProcessWindows(DWORD processId, bool children) {
    std::set<HWND> all;
    for (HWND parent : {static_cast<HWND>(nullptr), HWND_MESSAGE}) {
        for (HWND h = FindWindowExW(parent, nullptr, nullptr, nullptr); h;
             h = FindWindowExW(parent, h, nullptr, nullptr)) {
            all.insert(h);
            if (children)
                EnumChildWindows(h, CollectChild, reinterpret_cast<LPARAM>(&all));
        }
    }
    std::set<HWND> mine;
    for (HWND h : all) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == processId)
            mine.insert(h);
    }
    return mine;
}

long CountWindows(DWORD processId) {
    return static_cast<long>(ProcessWindows(processId, true).size());
}
}  // namespace

bool AttachToDesktop(const wchar_t* name) {
    HDESK desktop = OpenDesktopW(name, 0, FALSE, GENERIC_ALL);
    return desktop && SetThreadDesktop(desktop);
}

namespace {
// Every (window, id) of the process that the shell holds an icon for; nothing without a taskbar.
std::vector<std::pair<HWND, UINT>> ProgramIcons(DWORD processId) {
    std::vector<std::pair<HWND, UINT>> icons;
    if (!FindWindowW(L"Shell_TrayWnd", nullptr))
        return icons;
    // Icons belong to the windows that get their callbacks: top-level or message-only ones.
    for (HWND window : ProcessWindows(processId, false)) {
        for (UINT id = 0; id < 16; ++id) {
            NOTIFYICONDATAW data{};
            data.cbSize = sizeof data;
            data.hWnd = window;
            data.uID = id;
            if (Shell_NotifyIconW(NIM_MODIFY, &data))
                icons.emplace_back(window, id);
        }
    }
    return icons;
}
}  // namespace

int ProgramIconCount(DWORD processId) {
    if (!FindWindowW(L"Shell_TrayWnd", nullptr))
        return -1;
    return static_cast<int>(ProgramIcons(processId).size());
}

std::string ProgramIconList(DWORD processId) {
    std::string list;
    for (const auto& [window, id] : ProgramIcons(processId)) {
        char name[128] = {};
        GetClassNameA(window, name, sizeof name);
        char item[200];
        std::snprintf(item, sizeof item, "%s%s@%p/%u", list.empty() ? "" : ", ", name, static_cast<void*>(window), id);
        list += item;
    }
    return list;
}

HWND FindProcessWindow(const wchar_t* className, DWORD processId) {
    for (HWND parent : {static_cast<HWND>(nullptr), HWND_MESSAGE}) {
        for (HWND h = FindWindowExW(parent, nullptr, className, nullptr); h;
             h = FindWindowExW(parent, h, className, nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (processId == 0 || pid == processId)
                return h;
        }
    }
    return nullptr;
}

ProcessFigures MeasureProcess(DWORD processId) {
    ProcessFigures figures;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process)
        return figures;
    figures.KernelHandles = CountKernelHandles(processId);
    figures.GdiObjects = CountGdiObjects(process);
    figures.Windows = CountWindows(processId);
    // The commit charge is the process's private memory; Wine leaves the newer PrivateUsage field empty.
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, &memory, sizeof memory))
        figures.PrivateBytes = memory.PagefileUsage;
    CloseHandle(process);
    return figures;
}

bool EndGracefully(HWND mainForm, DWORD processId, DWORD timeoutMs) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(mainForm, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    SendMessageTimeoutW(mainForm, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &result);
    bool ended = process && WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    if (process)
        CloseHandle(process);
    return ended;
}

}  // namespace Probe
