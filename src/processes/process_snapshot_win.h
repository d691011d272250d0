#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "processes/process_rec.h"

// Every running process from one system-information call, in the system's order (the idle pseudo-process left out):
// name, ids, threads, base priority, working set and creation time. Path and owner stay empty. False when the call
// is missing or fails; records is then empty.
bool ReadSystemProcesses(std::vector<ProcessRecord>& records);

// One process of the system-wide list, valid during the visit.
struct SystemProcessEntryView {
    uint32_t ProcessId = 0;
    uint32_t ParentProcessId = 0;
    uint32_t Threads = 0;
    int32_t BasePriority = 0;
    uint64_t WorkingSet = 0;
    uint64_t PrivateBytes = 0;  // private committed bytes
    uint64_t CreationFileTime = 0;
    std::wstring_view Name;
};

// The system-wide list read again and again into one buffer.
class SystemProcessReader {
  public:
    // Visits every process but the idle one; false when the call is missing or fails, or lists none.
    bool Read(const std::function<void(const SystemProcessEntryView&)>& visit);

  private:
    size_t bufferBytes_ = 256 * 1024;
};

// True when a working set the snapshot gave may be a clamped figure (a 32-bit program on 64-bit Windows sees sizes
// of 4 GB and more as the largest 32-bit size); the process's own query gives the real one.
bool MaybeClampedWorkingSet(uint64_t bytes);
