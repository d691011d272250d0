#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/unique_handle_win.h"
#include "platform/window_win.h"
#include "system/task_dialog_win.h"

class UpdateChecker;
using GetUrlEvent = std::function<void(UpdateChecker& sender,
                                       const std::string& currentVersion,
                                       const std::string& downloadURL,
                                       const std::string& releaseDate,
                                       const std::string& betaVer)>;
using UpdateNotifyEvent = std::function<void(UpdateChecker& sender)>;

// Finds out whether a newer version has been published: downloads the version file on a worker thread
// (VersionFileDownload) and reports what it says on the thread that owns the checker.
class UpdateChecker : private Window {
  public:
    UpdateChecker();
    ~UpdateChecker() override;

    // Starts one download; the outcome arrives later through the events (or the messages) on this thread, at the
    // latest DeadlineMs after the start. Destroying the checker cancels every download still running.
    void CheckNow();
    // Reads a downloaded version file and reports it (the outcome of a successful download).
    void ProcessVersionFile(const std::wstring& file);

    std::string URLCurrVerFile;
    std::string SiteName;
    bool FailureDlg = true;
    bool DownloadDlg = true;
    std::wstring TempFile;
    // How long a check may take from CheckNow to its outcome, connection, redirects and transfer included.
    static constexpr DWORD kDefaultDeadlineMs = 30000;
    DWORD DeadlineMs = kDefaultDeadlineMs;
    // The name the version file lists the program under: the running executable's name without extension.
    std::string ProgramName;
    GetUrlEvent OnGetURL;
    UpdateNotifyEvent OnDownloadFailed;
    const std::vector<std::string>& Changes() const { return changes_; }

    // What the checker reads and shows through, replaceable for tests: the running program's version strings
    // (FileVersion first), the standard message dialog, and the browser that opens a download address.
    std::function<std::optional<std::vector<std::string>>()> OwnVersionStrings;
    std::function<int(const std::string& text, MessageKind kind, unsigned buttons)> ShowMessage;
    std::function<void(const std::string& address)> OpenDownload;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void ReportFailure(bool showDialog);

    std::vector<std::string> changes_;
    // Set when the checker goes; every running download holds it and ends at once.
    std::shared_ptr<UniqueKernelHandle> cancel_;
};

// The question the checker asks when a newer version is out, in the chosen language.
std::string NewVersionPromptText(const std::string& currentVersion, const std::string& siteName);
