#include "update/update_checker_win.h"

#include <memory>

#include "platform/messages.h"
#include "platform/paths_win.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "platform/version_info_win.h"
#include "platform/web_address.h"
#include "system/system_commands_win.h"
#include "update/download_win.h"
#include "update/temp_file_win.h"
#include "update/version_file.h"
#include "update/version_text.h"

std::string NewVersionPromptText(const std::string& currentVersion, const std::string& siteName) {
    return FormatText(TextId::UpdateNewVersion, {currentVersion, siteName});
}

namespace {
constexpr int kIdYes = 6;

// Reads at most limit + 1 bytes, so a file beyond the limit is recognised without reading all of it.
std::optional<std::string> ReadFileUpTo(const std::wstring& file, size_t limit) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string data(limit + 1, '\0');
    DWORD total = 0, n = 0;
    while (total < data.size() &&
           ReadFile(h, data.data() + total, static_cast<DWORD>(data.size() - total), &n, nullptr) && n > 0) {
        total += n;
    }
    CloseHandle(h);
    data.resize(total);
    return data;
}

}  // namespace

// One download. It copies everything it needs at the start, so the checker may change (or go) meanwhile; it
// reaches the checker only by sending its window a message, and frees itself when it ends. When the checker goes,
// its cancel event ends the download at once and nothing is reported.
struct VersionFileDownload {
    HWND Target = nullptr;
    std::wstring Address;
    std::wstring TempFile;
    ULONGLONG Deadline = 0;
    std::shared_ptr<UniqueKernelHandle> Cancel;
    bool ShowFailureDialog = false;
    bool DownloadFailed = false;

    static DWORD WINAPI Execute(void* param) {
        std::unique_ptr<VersionFileDownload> self(static_cast<VersionFileDownload*>(param));
        DownloadResult result =
            DownloadToFile({self->Address, self->TempFile, kMaxVersionFileBytes, self->Deadline, self->Cancel->Get()});
        self->DownloadFailed = result != DownloadResult::Ok;
        // Synchronous: the user-interface thread handles the outcome while this thread waits. A window destroyed
        // meanwhile answers 0 and the file, if any, is not left behind.
        bool cancelled = WaitForSingleObject(self->Cancel->Get(), 0) == WAIT_OBJECT_0;
        if (cancelled || !SendMessageW(self->Target, kDownloadDoneMessage, 0, reinterpret_cast<LPARAM>(self.get()))) {
            if (result == DownloadResult::Ok)
                DeleteFileW(self->TempFile.c_str());
        }
        return 0;
    }
};

UpdateChecker::UpdateChecker()
    : URLCurrVerFile(),
      SiteName("Brindell Software"),
      TempFile(TempFolder() + L"curr_ver.tmp"),
      cancel_(std::make_shared<UniqueKernelHandle>(CreateEventW(nullptr, TRUE, FALSE, nullptr))) {
    ProgramName = Narrow(ExecutablePath());
    ProgramName = ProgramNameOf(ProgramName);
    OwnVersionStrings = []() -> std::optional<std::vector<std::string>> {
        VersionInfoReader reader;
        reader.SetFilename("");  // the program's own executable
        if (!reader.HasVersionInfo())
            return std::nullopt;
        std::vector<std::string> values;
        for (const char* key : {"FileVersion", "LegalCopyright", "ProductName", "ProductVersion"}) {
            std::string value = reader.GetValue(key);
            if (!value.empty())
                values.push_back(value);
        }
        return values;
    };
    ShowMessage = [](const std::string& text, MessageKind kind, unsigned buttons) {
        return MessageBoxWithSound(text, kind, buttons, nullptr);
    };
    OpenDownload = [](const std::string& address) { OpenWebPage(nullptr, address); };
    CreateWindowOf(L"TUpdateChecker", 0, 0, L"", HWND_MESSAGE);
}

// Never waits for a download: each one sees the event, closes its connection and ends without a word.
UpdateChecker::~UpdateChecker() {
    if (*cancel_)
        SetEvent(cancel_->Get());
}

void UpdateChecker::CheckNow() {
    auto download = std::make_unique<VersionFileDownload>();
    download->Target = Hwnd();
    download->Address = Widen(URLCurrVerFile);
    download->TempFile = TempFile;
    download->Deadline = GetTickCount64() + DeadlineMs;
    download->Cancel = cancel_;
    download->ShowFailureDialog = FailureDlg;
    HANDLE thread = CreateThread(nullptr, 0, VersionFileDownload::Execute, download.get(), CREATE_SUSPENDED, nullptr);
    if (!thread) {
        ReportFailure(FailureDlg);
        return;
    }
    download.release();  // the thread owns it now
    SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST);
    ResumeThread(thread);
    CloseHandle(thread);
}

void UpdateChecker::ReportFailure(bool showDialog) {
    if (showDialog) {
        if (ShowMessage)
            ShowMessage(Text(TextId::UpdateDownloadFailed), MessageKind::Warning, MessageButtonOk);
    } else if (OnDownloadFailed) {
        OnDownloadFailed(*this);
    }
}

void UpdateChecker::ProcessVersionFile(const std::wstring& file) {
    std::optional<std::vector<std::string>> own = OwnVersionStrings ? OwnVersionStrings() : std::nullopt;
    std::optional<std::string> text = ReadFileUpTo(file, kMaxVersionFileBytes);
    // The file has served its purpose; it is not left behind in the temporary folder.
    DeleteFileW(file.c_str());
    // Without its own version the program cannot compare, and a file beyond the limit is no version file: both
    // end as a failed check rather than in silence, so the owner never waits for an answer that cannot come.
    if (!own || own->empty() || !text || text->size() > kMaxVersionFileBytes) {
        ReportFailure(FailureDlg);
        return;
    }
    VersionFileInfo info = ParseVersionFile(*text, ProgramName);
    changes_ = info.Changes;
    if (OnGetURL)
        OnGetURL(*this, info.CurrentVersion, info.DownloadURL, info.ReleaseDate, info.BetaVer);
    if (IsNewerVersion(info.CurrentVersion, own->front()) && DownloadDlg && ShowMessage) {
        int answer = ShowMessage(NewVersionPromptText(info.CurrentVersion, SiteName), MessageKind::Confirmation,
                                 MessageButtonYes | MessageButtonNo);
        // The address comes from the network: only a web address goes to the shell, never a program or a file.
        if (answer == kIdYes && IsWebAddress(info.DownloadURL) && OpenDownload)
            OpenDownload(info.DownloadURL);
    }
}

LRESULT UpdateChecker::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != kDownloadDoneMessage)
        return Window::HandleMessage(msg, wParam, lParam);
    const auto* download = reinterpret_cast<const VersionFileDownload*>(lParam);
    if (!download->DownloadFailed)
        ProcessVersionFile(download->TempFile);
    else
        ReportFailure(download->ShowFailureDialog);
    return 1;
}
