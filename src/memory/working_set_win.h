#pragma once

#include <windows.h>

#include <functional>

// Asks the system to take as many pages as it can from a process's working set (the handle needs
// PROCESS_SET_QUOTA); false when it refuses.
bool TrimWorkingSet(HANDLE process);
// The same for a process by id; false when it cannot be opened or refuses.
bool TrimProcessWorkingSet(DWORD processId);

// Trims the process of every top-level window, visible or not, once per window; failures are skipped.
void TrimAllWindowProcesses(const std::function<void(DWORD processId)>& trim = TrimProcessWorkingSet);
