#include "app/main_form_win.h"

#include <commdlg.h>
#include <shellapi.h>

#include <array>

#include "memory/memory_status_win.h"
#include "memory/working_set_win.h"
#include "platform/common_dialogs_win.h"
#include "platform/dpi_win.h"
#include "platform/error_report_win.h"
#include "platform/messages.h"
#include "platform/modal_loops_win.h"
#include "platform/paths_win.h"
#include "platform/system_look_win.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "platform/unique_handle_win.h"
#include "resource.h"
#include "settings/ini_file_reader_win.h"
#include "settings/ini_file_writer_win.h"
#include "settings/profile_win.h"
#include "settings/settings_file.h"
#include "system/privilege_win.h"
#include "system/session_win.h"
#include "system/task_dialog_win.h"
#include "widgets/font_dialog_win.h"
#include "widgets/input_query_win.h"

namespace {
constexpr DWORD kNotifyForThisSession = 0;
}  // namespace

// Every hook the caller left empty reaches the system here, and nowhere else.
MainForm::MainForm(SystemHooks hooks)
    : hooks_(std::move(hooks)), refreshTimer_(500, nullptr), freeTimer_(120000, nullptr) {
    programFolder_ = hooks_.ProgramFolder.empty() ? ProgramFolder() : WithTrailingBackslash(hooks_.ProgramFolder);
    SystemHooks& h = hooks_;
    if (!h.Sample)
        h.Sample = ReadMemoryStatus;
    if (!h.TickCount)
        h.TickCount = [] { return static_cast<uint32_t>(GetTickCount()); };
    if (!h.TrimProcess)
        h.TrimProcess = [](DWORD id) { TrimProcessWorkingSet(id); };
    if (!h.WarningDialog) {
        // Cancellation allowed, so Esc, Alt+F4 and the close box dismiss the warning like "&Close"; classic look.
        h.WarningDialog = [this](TaskDialogTexts& dialog) {
            TaskDialogParams p;
            p.Flags = kTdfAllowDialogCancellation;
            p.MainIcon = TaskIcon::Warning;
            p.FooterIcon = TaskFooterIcon::Blank;
            p.Width = 270;
            p.Parent = Hwnd();
            p.ClassicLook = true;
            return ShowTaskDialog(dialog, p);
        };
    }
    if (!h.PrimaryDpi)
        h.PrimaryDpi = PrimaryMonitorDpi;
    if (!h.WorkArea)
        h.WorkArea = PointWorkArea;
    if (!h.HighContrast)
        h.HighContrast = HighContrastOn;
    if (!h.ReadProcesses)
        h.ReadProcesses = [this](const std::function<void(const SystemProcessEntryView&)>& visit) {
            return processReader_.Read(visit);
        };
    if (!h.ProcessChoice) {
        h.ProcessChoice = [](const ProcessDialogTexts& t) {
            return TaskChoice(t.Instruction, t.Content, t.Buttons, TaskIcon::Information, nullptr,
                              kProcessDialogCaption, t.Footer,
                              t.Footer.empty() ? TaskFooterIcon::Blank : TaskFooterIcon::Warning, kProcessDialogWidth);
        };
    }
    if (!h.ProcessNotice) {
        h.ProcessNotice = [](const std::string& text) {
            TaskMessage(text, "", CommonButtonOk, TaskIcon::Information, nullptr, kProcessDialogCaption);
        };
    }
    if (!h.PickTextColor) {
        // The custom colours stay for the run, as the colour dialog's own memory.
        h.PickTextColor = [this, custom = std::array<COLORREF, 16>{}](COLORREF& color) mutable {
            CHOOSECOLORW cc{};
            cc.lStructSize = sizeof cc;
            cc.hwndOwner = Hwnd();
            cc.rgbResult = color;
            cc.lpCustColors = custom.data();
            cc.Flags = CC_RGBINIT | CC_ANYCOLOR;
            const bool chosen = ShowChooseColor(cc);
            color = cc.rgbResult;
            return chosen;
        };
    }
    OptionsDialogPrompts& s = h.OptionsPrompts;
    if (!s.IsPortableDevice)
        s.IsPortableDevice = [] { return ::IsPortableDevice(); };
    if (!s.ShowPortableWarning) {
        s.ShowPortableWarning = [](TaskDialogTexts& dialog, HWND parent) {
            TaskDialogParams p;
            p.Flags = kTdfAllowDialogCancellation;
            p.MainIcon = TaskIcon::Warning;
            p.FooterIcon = TaskFooterIcon::Information;
            p.Parent = parent;
            p.ClassicLook = true;
            return ShowTaskDialog(dialog, p);
        };
    }
    if (!s.AskYesNo) {
        // The question belongs to the dialog that asks it: in front of it and modal to it.
        s.AskYesNo = [this](const std::string& text) {
            return MessageBoxWithSound(text, MessageKind::Warning, MessageButtonYes | MessageButtonNo,
                                       optionsDialog_ ? optionsDialog_->Hwnd() : Hwnd());
        };
    }
    if (!s.AskThemeName) {
        s.AskThemeName = [](HWND owner, std::string& name) {
            name.clear();
            return InputQuery(owner, Text(TextId::ThemesSaveCaption), Text(TextId::ThemesSavePrompt), name);
        };
    }
    if (!s.PickFont)
        s.PickFont = [](HWND owner, FontSpec& font) { return ExecuteFontDialog(owner, font); };
    if (!h.ShellNotify)
        h.ShellNotify = [](DWORD message, NOTIFYICONDATAW& data) { return Shell_NotifyIconW(message, &data); };
    if (!h.ReportError)
        h.ReportError = ShowErrorBox;
    previousErrorReporter_ = SetErrorReporter(h.ReportError);
    hotKeyManager_.OnHotKeyPressed = [this](HotKeyValue hotKey, WORD index) { HotKeyPressed(hotKey, index); };
}

MainForm::~MainForm() {
    if (!closed_ && Hwnd())
        FormClose();
    closed_ = true;
    tray_.reset();  // takes the icon out of the notification area
    DestroyOwnWindow();
    SetErrorReporter(std::move(previousErrorReporter_));
}

bool MainForm::Create() {
    programIcon_.Reset(static_cast<HICON>(
        LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(IDI_LUMIVEX), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    // A tool window never gets a taskbar button; the window stays hidden until it serves as the About box.
    // WS_EX_CONTROLPARENT: the About box's controls get the dialog keys from the message loop.
    if (!CreateWindowOf(Widen(kMainWindowClass).c_str(), WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT,
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, Widen(kApplicationTitle).c_str(), nullptr,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, programIcon_.Get())) {
        return false;
    }
    StartupStep("window");
    CreateTray();
    StartupStep("tray icon");
    FormCreate();
    return true;
}

void MainForm::FormCreate() {
    alert_ = HighMemoryAlert();  // PreviousLoad 0, no warning given yet

    SettingsLocation location = GetSettingsFileName(programFolder_, hooks_.UserDataFolder);
    settingsPath_ = location.Path;
    portableMode_ = location.PortableMode;
    SetErrorLogPath(LogPathBeside(settingsPath_));
    settings_.Font = FontSpec{};  // "Tahoma", 6 until the settings say otherwise

    menu_.Create(Hwnd());
    tray_->SetPopupMenu(menu_.Handle());
    tray_->OnMouseDown = [this](TrayIcon& sender, MouseButton button, ShiftState, int, int) {
        menu_.TrayMouseDown(sender, button);
    };
    tray_->OnContextMenu = [this](TrayIcon& sender, int x, int y) { menu_.PopUp(sender, POINT{x, y}); };
    menu_.OnOpening = [this] { PrepareMenuGrowth(); };
    menu_.GrowthMark = [this](uint32_t processId, uint64_t created) { return MenuGrowthMark(processId, created); };
    StartupStep("tray menu");
    InitTick();
    view_.RefreshLook();
    LoadOptions();
    StartupStep("settings read");
    InitSettings();
    StartupStep("settings applied");
    about_.Create(Hwnd(), programIcon_.Get(), *tray_);
    StartupStep("About box");
    InitSystemActions();
    sessionRegistered_ = RegisterSessionEvents(Hwnd(), kNotifyForThisSession);
    StartupStep("session events");
    menu_.LoadIcons();
    StartupStep("menu icons");
    RefreshTick();  // the icon shows the memory state before the message loop starts
    StartupStep("first tick");
    EnablePrivilege(L"SeDebugPrivilege", true);
    StartupStep("privilege");
}

void MainForm::StartupStep(const char* step) const {
    if (hooks_.StartupStep)
        hooks_.StartupStep(step);
}

void MainForm::ApplyLanguage() {
    SetLanguage(LanguageFromSetting(settings_.Language));
    menu_.SetTexts();
    about_.SetTexts();
}

namespace {
// Another program may hold the settings file for a moment while the program starts (a backup, a virus scanner, a
// package manager): the start waits that long for it.
constexpr DWORD kSettingsLockedWaitMs = 2000;
}  // namespace

void MainForm::LoadOptions() {
    // The file is read once, and every value comes from those bytes. A file that cannot be read loads as the
    // defaults; saving those over it would lose every setting, so such a session saves nothing, and says so.
    IniFileProfile profile(settingsPath_, kMaxSettingsFileBytes, kSettingsLockedWaitMs);
    const IniFileContents& contents = profile.Contents();
    settingsReadable_ = contents.Result != IniFileContents::State::Failed;
    if (!settingsReadable_) {
        ReportSystemError(FormatText(TextId::ErrorCannotRead, {Narrow(settingsPath_)}), contents.Error);
    }
    damagedSettingsCopy_.clear();
    if (contents.Result == IniFileContents::State::Damaged) {
        // What could be read is used; the file as it was is kept before the first save writes over it.
        std::optional<std::wstring> copy = KeepBadCopy(settingsPath_, contents.Bytes, false);
        if (copy) {
            damagedSettingsCopy_ = *copy;
            LogError(Narrow(settingsPath_) +
                     " was damaged; what could be read is used, and the file as it was is kept as " + Narrow(*copy));
        } else {
            settingsReadable_ = false;
            ReportSystemError(FormatText(TextId::ErrorCannotKeepDamagedCopy, {Narrow(settingsPath_)}), GetLastError());
        }
    }
    LoadedSettings loaded = LoadSettings(profile, settings_.Font);
    const bool wholeFile = contents.Result == IniFileContents::State::Read && loaded.EveryKey;
    profile.Release();
    settings_ = loaded.Values;
    firstRun_ = loaded.FirstRun;
    storedSettings_.reset();
    if (wholeFile)
        storedSettings_ = settings_;
    ApplyLanguage();
    ApplyFontColor();
    ApplyHotKey();
    if (firstRun_)
        ApplyDefaultTheme();
    InitDefaultMenu();
    // The welcome balloon belongs to the very first start only.
    PostMessageW(Hwnd(), kStartupNoticeMessage, firstRun_ ? 1 : 0, 0);
}

bool MainForm::SaveSettingsFile() {
    if (!settingsReadable_) {
        ReportError(FormatText(TextId::ErrorCannotWriteUnread, {Narrow(settingsPath_)}));
        return false;
    }
    IniFileWriter profile(settingsPath_);
    if (SaveSettings(profile, settings_)) {
        storedSettings_ = settings_;
        return true;
    }
    ReportSystemError(FormatText(TextId::ErrorCannotWrite, {Narrow(settingsPath_)}), profile.LastError());
    return false;
}

void MainForm::ApplyFontColor() {
    ::ApplyFontColor(settings_);
    view_.SetDisplayFont(settings_.Font);
}

void MainForm::InitSettings() {
    refreshTimer_.SetPeriodMs(static_cast<UINT>(settings_.RefreshRate));
    refreshTimer_.SetActive(true);
    // The periodic freeing counts down from the last change of its interval or its switch: closing the options
    // with neither changed leaves the countdown running.
    freeTimer_.SetPeriodMs(static_cast<UINT>(settings_.FreeEveryMinutes) * 60000u);
    if (freeTimer_.Active() != settings_.FreeEveryActive)
        freeTimer_.SetActive(settings_.FreeEveryActive);
}

bool MainForm::FormCloseQuery() {
    SaveSettingsFile();
    return true;
}

void MainForm::FormClose() {
    if (historyWindow_)
        historyWindow_->Close();
    view_.ReleaseDisplayFont();
    menu_.Close();
    if (sessionRegistered_)
        UnregisterSessionEvents(Hwnd());
    sessionRegistered_ = false;
    refreshTimer_.SetActive(false);
    freeTimer_.SetActive(false);
    hotKeyManager_.ClearHotKeys();
}

void MainForm::Quit() {
    if (closed_ || !FormCloseQuery())
        return;
    FormClose();
    closed_ = true;
    DestroyOwnWindow();
}

// The session may end: the answer is always yes. Every modal state ends here (a tray menu, a dialog or a message
// box would otherwise keep its loop, and with it the program, alive) and the settings are saved; from now on an error
// goes to the log only, since a box would hold the log-off up until someone answered it.
bool MainForm::QueryEndSession() {
    if (closed_)
        return true;
    SetSessionEnding(true);
    EndModalLoops();
    // Windows allows a few seconds here: a record the file already holds is not written again (nor is the file read
    // to find that out), however large the file has grown.
    savedForSessionEnd_ = (storedSettings_ && *storedSettings_ == settings_) || SaveSettingsFile();
    return true;
}

// After this message the system may end the process at any moment, so whatever must outlive it happens now: the
// settings are saved (unless the question just before did so), the icon leaves the notification area, the form
// closes and the message loop is told to end. The modal loops still on the stack then return into a closed form;
// their continuations check closed_.
void MainForm::EndSession() {
    if (closed_)
        return;
    SetSessionEnding(true);
    EndModalLoops();
    if (!savedForSessionEnd_)
        SaveSettingsFile();
    tray_->SetIconVisible(false);
    FormClose();
    closed_ = true;
    DestroyOwnWindow();  // WM_DESTROY ends the program's message loop
}

// Another program refused, and the session goes on: so does the program, with its boxes.
void MainForm::SessionEndCancelled() {
    savedForSessionEnd_ = false;
    SetSessionEnding(false);
}

void MainForm::OnCommand(UINT id) {
    switch (id) {
        case IDM_CLOSE:
            Quit();
            break;
        case IDM_ABOUT:
            about_.Show();
            break;
        case IDM_LAUNCH_TASK_MANAGER:
            OpenTaskManager();
            break;
        case IDM_THEMES:
            ShowSettings(true);
            break;
        case IDM_SETTINGS:
            ShowSettings(false);
            break;
        case IDOK:
        case IDCANCEL:
            about_.Hide();
            break;
        case IDM_FREE_MEMORY:
            FreeMemory();
            break;
        case IDM_MEMORY_HISTORY:
            ShowHistory();
            break;
        default:
            break;
    }
}

// The About box and the tray menu take their own messages (the menu's painting, its rows' and submenu's commands)
// first; what is left is the form's.
LRESULT MainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0;
        about_.HandleMessage(msg, wParam, lParam, result) || menu_.HandleMessage(msg, wParam, lParam, result))
        return result;
    switch (msg) {
        case WM_CLOSE:
            // The close box and Alt+F4 only hide the About box; the program keeps running.
            ShowWindow(Hwnd(), SW_HIDE);
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0)
                OnCommand(LOWORD(wParam));
            return 0;
        case WM_WTSSESSION_CHANGE:
            SessionChange(wParam);
            return 0;
        case WM_QUERYENDSESSION:
            return QueryEndSession() ? TRUE : FALSE;
        case WM_ENDSESSION:
            if (wParam)
                EndSession();
            else
                SessionEndCancelled();
            return 0;
        case kSecondInstanceMessage:
            SecondInstanceNotice();
            return 0;
        case kStartupNoticeMessage:
            StartupNotice(wParam);
            return 0;
        case WM_DPICHANGED:
        case WM_DISPLAYCHANGE:
            DisplayChanged();
            return 0;
        case WM_SETTINGCHANGE:
            SettingChange(lParam);
            return 0;
        case WM_SYSCOLORCHANGE:
            // High-contrast colours are system colours; a tick shows the new ones.
            if (view_.PictureShown())
                RefreshTick();
            return 0;
        case WM_DESTROY:
            if (hooks_.QuitOnDestroy)
                PostQuitMessage(0);
            return 0;
        default:
            return Window::HandleMessage(msg, wParam, lParam);
    }
}

// The loop ends with WM_QUIT or once the form has closed: when the session ends while the tray menu is open, the menu's
// own loop may take the WM_QUIT that the form's end posts, and the program would stay.
int RunMessageLoop(const MainForm& form) {
    MSG msg{};
    BOOL r = 0;
    while (!form.Closed() && (r = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (r == -1)
            break;
        // Windows that hold controls (the About box, the licence text) get the dialog keys: Tab, Enter, Esc.
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root && (GetWindowLongW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && IsDialogMessageW(root, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return r == 0 ? static_cast<int>(msg.wParam) : (r == -1 ? 1 : 0);
}
