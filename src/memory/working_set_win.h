#pragma once

#include <windows.h>

#include <functional>

// Asks the system to take as many pages as it can from a process's working set; false when it cannot.
bool TrimProcessWorkingSet(DWORD processId);

// Trims the process of every top-level window, visible or not, once per window; failures are skipped.
void TrimAllWindowProcesses(const std::function<void(DWORD processId)>& trim = TrimProcessWorkingSet);
