#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The process a menu row was built for: its id and what tells it from a later process with the same id.
struct ProcessIdentity {
    DWORD ProcessID = 0;
    uint64_t CreationFileTime = 0;  // 0 when it could not be read
    std::string FullPath;           // "" when it could not be read
};

enum class ProcessActionOutcome {
    Done,      // the action ran (its own result is not examined)
    Ended,     // the process has ended, or its id now names another program: nothing was done
    NoAccess,  // the process exists but may not be opened for the action: nothing was done
    Nothing,   // the choice asks for nothing
};

// Runs the process dialog's choice: open the program's folder, empty the working set or end the process. Freeing
// and ending first make sure the id still names the same process.
ProcessActionOutcome RunProcessAction(int choice, const ProcessIdentity& identity, HWND owner);
