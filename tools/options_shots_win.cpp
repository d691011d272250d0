// lumivex-options-shots: shows the options dialog over the default settings and steps through its five pages for
// tools/options_screenshots.sh. For each page it writes "<folder>\page-N.ready" holding the dialog's screen
// rectangle ("left top width height") and waits for "<folder>\page-N.done" before it goes on.
// A second argument, "zh" or "en", is the language of the dialog.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "options/options_dialog_win.h"
#include "platform/paths_win.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "settings/settings_file.h"

namespace {
constexpr UINT kPollMs = 50;
constexpr DWORD kGiveUpMs = 60000;

struct Shots {
    OptionsDialog* Dialog = nullptr;
    std::wstring Folder;
    int Page = -1;  // the page whose picture is being taken
    DWORD Since = 0;
} shots;

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Marker(int page, const wchar_t* kind) {
    return shots.Folder + L"\\page-" + std::to_wstring(page) + kind;
}

void ShowPage(int page) {
    shots.Page = page;
    shots.Since = GetTickCount();
    shots.Dialog->SetActivePage(page);
    RedrawWindow(shots.Dialog->Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r{};
    GetWindowRect(shots.Dialog->Hwnd(), &r);
    char line[64];
    int n = std::snprintf(line, sizeof line, "%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    HANDLE file = CreateFileW(Marker(page, L".ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(n), &written, nullptr);
    CloseHandle(file);
}

void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD) {
    HWND hwnd = shots.Dialog->Hwnd();
    if (!hwnd || !IsWindowVisible(hwnd))
        return;
    if (shots.Page < 0)
        return ShowPage(0);
    bool done = Exists(Marker(shots.Page, L".done"));
    if (!done && GetTickCount() - shots.Since < kGiveUpMs)
        return;
    if (shots.Page + 1 < OptionsDialog::kPageCount)
        return ShowPage(shots.Page + 1);
    PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 2)
        return 2;
    shots.Folder = argv[1];
    const std::string language = argc > 2 ? Narrow(argv[2]) : "zh";  // the "Language" setting to show
    LocalFree(argv);

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&icc);

    Settings settings = Settings{};
    settings.Language = LanguageSetting(LanguageFromSetting(language));
    SetLanguage(LanguageFromSetting(language));
    OptionsDialogHost host;
    host.Values = &settings;
    host.SettingsPath = shots.Folder + L"\\Lumivex.Settings";
    host.ThemesFolder = ProgramFolder() + L"Themes\\";  // the shipped themes fill the theme list
    host.SaveSettingsFile = [] { return true; };
    OptionsDialog dialog(std::move(host), OptionsDialogPrompts{});
    shots.Dialog = &dialog;
    SetTimer(nullptr, 0, kPollMs, Step);
    dialog.Execute(nullptr, false);
    return 0;
}
