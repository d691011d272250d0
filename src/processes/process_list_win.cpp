#include "processes/process_list_win.h"

#include <tlhelp32.h>

#include <algorithm>
#include <stdexcept>

#include "platform/text_win.h"
#include "platform/unique_handle_win.h"
#include "processes/process_snapshot_win.h"

namespace {
// PROCESS_ALL_ACCESS as Windows XP knows it; the creation time has always been read with it.
constexpr DWORD kProcessAllAccess = 0x1F0FFF;

UniqueKernelHandle Open(DWORD rights, DWORD processId, ProcessList::Opener open = nullptr) {
    return UniqueKernelHandle(open ? open(rights, processId) : OpenProcess(rights, FALSE, processId));
}

// The creation time tells the process from a later one with the same id (the process actions compare it), so every
// route reads it: the limited query rights are enough for it.
void ReadCreationTime(HANDLE process, ProcessRecord& r) {
    uint64_t created = 0;
    if (ProcessQuery::CreationFileTime(process, created)) {
        r.CreationFileTime = created;
        r.CreationTime = ProcessQuery::LocalDateTime(created);
    }
}
}  // namespace

void ProcessList::ReadProcess(ProcessRecord& r, ProcessQuery::OwnerCache* cache, Opener open) {
    using namespace ProcessQuery;
    // One handle with the strongest rights the process grants serves every query that those rights allow; the
    // figures are the same as when each query opens the process with its own rights.
    if (UniqueKernelHandle full = Open(kProcessAllAccess, r.ProcessID, open)) {
        r.FullPath = ImagePath(full.Get());
        Owner(full.Get(), r.UserName, r.Domain, cache);
        ReadCreationTime(full.Get(), r);
        if (!WorkingSet(full.Get(), r.MemoryUsage))
            r.MemoryUsage = 0;
        return;
    }
    if (UniqueKernelHandle info =
            Open(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_QUERY_INFORMATION, r.ProcessID, open)) {
        if (!Owner(info.Get(), r.UserName, r.Domain, cache))
            r.UserName.clear(), r.Domain.clear();
        r.FullPath = ImagePath(info.Get());
        ReadCreationTime(info.Get(), r);
        // Query-information rights include the limited ones that the working-set query needs.
        if (!WorkingSet(info.Get(), r.MemoryUsage))
            r.MemoryUsage = 0;
        return;
    }
    if (UniqueKernelHandle limited = Open(PROCESS_QUERY_LIMITED_INFORMATION, r.ProcessID, open)) {
        r.FullPath = ImagePath(limited.Get());
        ReadCreationTime(limited.Get(), r);
        if (!WorkingSet(limited.Get(), r.MemoryUsage))
            r.MemoryUsage = 0;
    }
}

void ProcessList::Refresh() {
    Clear();
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return;
    ProcessQuery::OwnerCache owners;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        // The system idle pseudo-process (id 0) is no program.
        if (entry.th32ProcessID == 0)
            continue;
        ProcessRecord r;
        r.ExeName = Narrow(entry.szExeFile);
        r.Usage = entry.cntUsage;
        r.ProcessID = entry.th32ProcessID;
        r.DefaultHeapID = entry.th32DefaultHeapID;
        r.ModuleID = entry.th32ModuleID;
        r.Threads = entry.cntThreads;
        r.ParentProcessID = entry.th32ParentProcessID;
        r.PriClassBase = entry.pcPriClassBase;
        ReadProcess(r, &owners);
        items_.push_back(std::move(r));
    }
}

// Refresh reads every process and sorts them all by the working set it read, keeping the snapshot order among equal
// figures; a process it cannot read has 0 and goes to the end. Here the candidates are taken in the order of the
// snapshot's working sets and read the same way until `rows` of them have a figure: these are the rows that Refresh
// would have put first. They are then ordered by the figures read, ties by snapshot order, as Refresh orders them.
void ProcessList::RefreshHeaviest(int rows, Opener open) {
    Clear();
    std::vector<ProcessRecord> all;
    if (!ReadSystemProcesses(all)) {
        Refresh();
        Sort(CompareByMemoryDesc);
        return;
    }
    std::vector<size_t> order(all.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&all](size_t a, size_t b) { return all[a].MemoryUsage > all[b].MemoryUsage; });

    ProcessQuery::OwnerCache owners;
    std::vector<size_t> shown, unreadable;
    size_t next = 0;
    for (; next < order.size(); ++next) {
        ProcessRecord& r = all[order[next]];
        // Clamped figures all look alike: every such process is read before the rows are chosen.
        if (static_cast<int>(shown.size()) >= rows && !MaybeClampedWorkingSet(r.MemoryUsage))
            break;
        // Read from scratch, as Refresh would: what cannot be read stays empty or 0. The snapshot's creation time
        // stays where the process will not give its own: the row's process actions need it to know the process.
        r.FullPath.clear(), r.UserName.clear(), r.Domain.clear();
        r.MemoryUsage = 0;
        ReadProcess(r, &owners, open);
        (r.MemoryUsage != 0 ? shown : unreadable).push_back(order[next]);
    }
    std::sort(shown.begin(), shown.end(), [&all](size_t a, size_t b) {
        return all[a].MemoryUsage != all[b].MemoryUsage ? all[a].MemoryUsage > all[b].MemoryUsage : a < b;
    });
    std::sort(unreadable.begin(), unreadable.end());
    items_.reserve(all.size());
    for (size_t i : shown)
        items_.push_back(std::move(all[i]));
    for (; next < order.size(); ++next)
        items_.push_back(std::move(all[order[next]]));
    for (size_t i : unreadable)
        items_.push_back(std::move(all[i]));
}

void ProcessList::GetItem(int index, ProcessRecord& record) const {
    record = Item(index);
}

const ProcessRecord& ProcessList::Item(int index) const {
    if (index < 0 || index >= Count())
        throw std::out_of_range("Index out of bounds");
    return items_[static_cast<size_t>(index)];
}

void ProcessList::Delete(int index) {
    if (index < 0 || index >= Count())
        throw std::out_of_range("Index out of bounds");
    items_.erase(items_.begin() + index);
}

void ProcessList::Clear() {
    items_.clear();
}

void ProcessList::Sort(Compare compare) {
    std::stable_sort(items_.begin(), items_.end(),
                     [compare](const ProcessRecord& a, const ProcessRecord& b) { return compare(a, b) < 0; });
}

std::string ProcessList::GetImagePath(DWORD processId) {
    UniqueKernelHandle process = Open(PROCESS_QUERY_LIMITED_INFORMATION, processId);
    return process ? ProcessQuery::ImagePath(process.Get()) : std::string();
}

uint64_t ProcessList::GetMemoryUsage(DWORD processId, int unit) {
    UniqueKernelHandle process = Open(PROCESS_QUERY_LIMITED_INFORMATION, processId);
    uint64_t bytes = 0;
    if (!process || !ProcessQuery::WorkingSet(process.Get(), bytes))
        return 0;
    return MemoryInUnit(bytes, unit);
}

double ProcessList::GetCreationTime(DWORD processId) {
    UniqueKernelHandle process = Open(kProcessAllAccess, processId);
    uint64_t created = 0;
    if (!process || !ProcessQuery::CreationFileTime(process.Get(), created))
        return 0;
    return ProcessQuery::LocalDateTime(created);
}

bool ProcessList::GetOwner(DWORD processId, std::string& userName, std::string& domain) {
    UniqueKernelHandle process = Open(PROCESS_QUERY_INFORMATION, processId);
    return process && ProcessQuery::Owner(process.Get(), userName, domain);
}
