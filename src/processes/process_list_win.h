#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "processes/process_query_win.h"
#include "processes/process_rec.h"

// A snapshot of the running processes, one record each; the tray menu makes one per right-click.
class ProcessList {
  public:
    using Compare = int (*)(const ProcessRecord&, const ProcessRecord&);
    // OpenProcess's place (tests stand in a process that grants fewer rights); null is OpenProcess.
    using Opener = HANDLE (*)(DWORD rights, DWORD processId);

    // Empties the list and fills it from a new snapshot (the idle pseudo-process is never kept).
    void Refresh();
    // The same first `rows` records as Refresh and a sort by working set give, read as Refresh reads them, while only
    // those processes (and any that cannot be read in their place) are opened: one system-wide snapshot gives every
    // working set. The records after them carry the snapshot's name, ids, working set and creation time only; every
    // record keeps the snapshot's creation time where its process cannot be read.
    // Falls back to Refresh and the sort where the snapshot cannot be had.
    void RefreshHeaviest(int rows, Opener open = nullptr);
    int Count() const { return static_cast<int>(items_.size()); }
    // Throws std::out_of_range("Index out of bounds") outside 0..Count()-1.
    void GetItem(int index, ProcessRecord& record) const;
    const ProcessRecord& Item(int index) const;
    void Delete(int index);
    void Clear();
    // Negative compare results put the first record first; equal records keep their snapshot order.
    void Sort(Compare compare);

    // Each opens the process by itself; a process that cannot be opened or read gives empty text, 0 or false.
    static std::string GetImagePath(DWORD processId);
    static uint64_t GetMemoryUsage(DWORD processId, int unit);
    static double GetCreationTime(DWORD processId);
    static bool GetOwner(DWORD processId, std::string& userName, std::string& domain);

    // Fills the figures that come from opening the process (path, owner, times, working set) into record; the
    // creation time is read with whichever rights the process grants, and kept as it was when it cannot be read.
    static void ReadProcess(ProcessRecord& record, ProcessQuery::OwnerCache* cache, Opener open = nullptr);

  private:
    std::vector<ProcessRecord> items_;
};
