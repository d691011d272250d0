#pragma once

#include <vector>

#include "processes/process_rec.h"

// Every running process from one system-information call, in the system's order (the idle pseudo-process left out):
// name, ids, threads, base priority, working set and creation time. Path and owner stay empty. False when the call
// is missing or fails; records is then empty.
bool ReadSystemProcesses(std::vector<ProcessRecord>& records);

// True when a working set the snapshot gave may be a clamped figure (a 32-bit program on 64-bit Windows sees sizes
// of 4 GB and more as the largest 32-bit size); the process's own query gives the real one.
bool MaybeClampedWorkingSet(uint64_t bytes);
