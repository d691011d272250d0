#include "processes/process_actions_win.h"

#include <shellapi.h>

#include "memory/working_set_win.h"
#include "platform/ascii_text.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"
#include "processes/process_dialog.h"
#include "processes/process_query_win.h"
#include "processes/process_rec.h"

namespace {
// Opens the process for `rights` when the id still names the process of `identity`.
ProcessActionOutcome OpenSameProcess(const ProcessIdentity& identity, DWORD rights, UniqueKernelHandle& process) {
    process.Reset(OpenProcess(rights | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, identity.ProcessID));
    if (!process) {
        // A process that the system still knows but keeps from us differs from one that is gone.
        UniqueKernelHandle probe(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, identity.ProcessID));
        if (probe || GetLastError() == ERROR_ACCESS_DENIED)
            return ProcessActionOutcome::NoAccess;
        return ProcessActionOutcome::Ended;
    }
    if (WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0)
        return ProcessActionOutcome::Ended;
    if (identity.CreationFileTime != 0) {
        uint64_t created = 0;
        ProcessQuery::CreationFileTime(process.Get(), created);
        return created == identity.CreationFileTime ? ProcessActionOutcome::Done : ProcessActionOutcome::Ended;
    }
    if (!identity.FullPath.empty()) {
        std::string path = ProcessQuery::ImagePath(process.Get());
        return SameTextIgnoringAsciiCase(path, identity.FullPath) ? ProcessActionOutcome::Done
                                                                  : ProcessActionOutcome::Ended;
    }
    // Nothing was known of the process when the menu was built; the id is all there is to go by.
    return ProcessActionOutcome::Done;
}
}  // namespace

ProcessActionOutcome RunProcessAction(int choice, const ProcessIdentity& identity, HWND owner) {
    switch (NormalizeProcessChoice(choice)) {
        case ChoiceOpenFolder: {
            std::string folder = FolderOfPath(identity.FullPath);
            if (folder.empty())
                return ProcessActionOutcome::Nothing;
            std::wstring quoted = L"\"" + Widen(folder) + L"\"";
            ShellExecuteW(owner, L"OPEN", quoted.c_str(), L"", L"", SW_SHOW);
            return ProcessActionOutcome::Done;
        }
        case ChoiceFreeMemory: {
            UniqueKernelHandle process;
            ProcessActionOutcome outcome = OpenSameProcess(identity, PROCESS_SET_QUOTA, process);
            if (outcome == ProcessActionOutcome::Done)
                TrimWorkingSet(process.Get());
            return outcome;
        }
        case ChoiceEndProcess: {
            UniqueKernelHandle process;
            ProcessActionOutcome outcome = OpenSameProcess(identity, PROCESS_TERMINATE, process);
            if (outcome == ProcessActionOutcome::Done)
                TerminateProcess(process.Get(), 0);
            return outcome;
        }
        default:
            return ProcessActionOutcome::Nothing;
    }
}
