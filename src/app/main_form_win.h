#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/about_controller_win.h"
#include "app/high_memory_alert.h"
#include "app/system_hooks_win.h"
#include "app/tray_icon_view_win.h"
#include "memory/memory_format.h"
#include "memory/memory_sample.h"
#include "memory/ram_optimization_win.h"
#include "options/options_dialog_win.h"
#include "platform/simple_timer_win.h"
#include "platform/texts.h"
#include "platform/unique_handle_win.h"
#include "platform/version_info_win.h"
#include "platform/window_win.h"
#include "processes/menu_painter_win.h"
#include "processes/popup_menu_win.h"
#include "processes/process_dialog.h"
#include "processes/process_rec.h"
#include "settings/settings.h"
#include "system/hot_key_manager_win.h"
#include "system/monitor_off_win.h"
#include "system/system_commands_win.h"
#include "tray/tray_icon_win.h"
#include "tray/tray_picture_win.h"
#include "update/update_checker_win.h"

struct TaskDialogTexts;

// The program's one form: hidden, without a taskbar button, owner of every long-lived object; it is only ever
// seen as the About box.
class MainForm : public Window {
  public:
    explicit MainForm(SystemHooks hooks = {});
    ~MainForm() override;

    // Creates the hidden window and runs the start-up sequence.
    bool Create();
    // "退出": asks whether the form may close (saving the settings), releases everything and ends the loop.
    void Quit();

    void LoadOptions();
    // Writes the whole record; a key that cannot be written is reported as "Unable to write to <path>".
    bool SaveOptions();
    void InitSettings();
    void InitDefaultMenu();
    void ApplyFontColor();

    // The refresh tick: picture, hint and the high-memory warning (main_form_tick_win.cpp).
    void RefreshTick();
    void PeriodicFreeTick();
    // "内存清理": trims every program with a top-level window; the menu item is disabled meanwhile.
    void FreeMemory();
    const HighMemoryAlert& Alert() const { return alert_; }
    MemoryFreer& Freer() { return memoryFreer_; }

    Settings& CurrentSettings() { return settings_; }
    const std::wstring& SettingsPath() const { return settingsPath_; }
    bool PortableMode() const { return portableMode_; }
    const std::wstring& ProgramFolderPath() const { return programFolder_; }
    bool FirstRun() const { return firstRun_; }
    HMENU TrayMenu() const { return trayMenu_.Handle(); }
    HICON DefaultProgramIcon() const { return defaultProgramIcon_.Get(); }
    HICON TaskManagerIcon() const { return taskManagerIcon_.Get(); }
    TrayIcon& Tray() { return *tray_; }
    SimpleTimer& RefreshTimer() { return refreshTimer_; }
    SimpleTimer& FreeTimer() { return freeTimer_; }
    bool SessionNotificationRegistered() const { return sessionRegistered_; }

    // Quit, or the session ended: the form is gone and the program's message loop ends.
    bool Closed() const { return closed_; }
    // The tray menu (main_form_menu_win.cpp). A right press rebuilds the process and memory rows and pops the menu
    // up at the cursor.
    void TrayMouseDown(TrayIcon& sender, MouseButton button, ShiftState shift, int x, int y);
    // The rows of the heaviest programs (ShowTopProcess) and of the hint's lines (ShowMemMenu).
    void BuildMenuRows(const std::string& hint);
    static void RemeasureMenu(HMENU menu);
    void BuildProcessRows();
    void BuildMemoryRows(const std::string& hint);
    void RemoveProcessRows();
    void RemoveMemoryRows();
    void MeasureItem(MEASUREITEMSTRUCT& measure);
    void DrawItem(const DRAWITEMSTRUCT& draw);
    // A process row's click: the dialog about the program, then the chosen action.
    void KillItem(const MenuItemEx& row);
    PopupMenu& TrayPopupMenu() { return trayMenu_; }
    MenuPainter& Painter() { return menuPainter_; }
    VersionInfoReader& FileVer() { return fileVer_; }
    MenuDrawContext MenuContext() const;
    // The text an item shows: its caption, and after a tab the hot key beside "内存清理".
    std::string MenuItemText(const MenuItemEx& item) const;
    // One process row from a record of the sorted list.
    std::unique_ptr<MenuItemEx> MakeProcessRow(const ProcessRecord& r, UINT id, const NumberSeparators& separators);

    // System actions (main_form_actions_win.cpp).
    void OpenTaskManager();
    void TrayDblClick();
    // WM_WTSSESSION_CHANGE: the display goes off on lock when "SwitchOffMonitorOnLock" is set.
    void SessionChange(WPARAM code);
    const MonitorOffSequence& MonitorOff() const { return monitorOff_; }

    // Options dialog, themes and the global hot key (main_form_options_win.cpp).
    void ShowSettings(bool themePage);
    void OpenSettings();
    void ShowThemesPage();
    void UpdateSettingsSubmenu();
    void ChooseTextColor();
    void ToggleTransparentBackground();
    void ApplyHotKey();
    void HotKeyPressed(HotKeyValue hotKey, WORD index);
    void ApplyDefaultTheme();
    std::wstring ThemesFolder() const;
    HotKeyManager& HotKeys() { return hotKeyManager_; }
    // The shortcut the tray menu shows beside "内存清理": the low 16 bits of RefreshHotkey (0: none).
    WORD FreeMemoryShortcut() const { return freeMemoryShortcut_; }
    // The open options dialog, or null.
    OptionsDialog* ShownOptionsDialog() const { return optionsDialog_; }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    friend class MainFormProbe;  // the tests' way in
    void FormCreate();
    bool FormCloseQuery();
    void FormClose();
    // Log-off, shut-down and the uninstaller (WM_QUERYENDSESSION, WM_ENDSESSION), from any modal state.
    bool QueryEndSession();
    void EndSession();
    void SessionEndCancelled();
    void BuildPopupMenu();
    // The language of the settings for every text from now on: the tray menu and the About box at once, the hint
    // with the next tick.
    void ApplyLanguage();
    void ExtractMenuIcons();
    void OnCommand(UINT id);
    // Tray notices (main_form_tray_win.cpp).
    void CreateTray();
    void SecondInstanceNotice();
    void StartupNotice(WPARAM firstRun);
    void InitSystemActions();
    // The tick's side (main_form_tick_win.cpp).
    friend class FormAlertActions;
    void InitTick();
    int ShowWarningDialog(TaskDialogTexts& dialog);
    void InitTrayMenu();
    // Display changes (main_form_display_win.cpp).
    void DisplayChanged();
    void SettingChange(LPARAM lParam);
    bool FollowTaskbarMode();
    bool LoadFirstRunTheme(int index);
    bool HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    static std::unique_ptr<MenuItemEx> MakeSeparator(int tag);

    SystemHooks hooks_;
    std::function<void(const std::string&)> previousErrorReporter_;
    std::wstring programFolder_;
    std::wstring settingsPath_;
    bool portableMode_ = false;
    bool firstRun_ = false;
    bool settingsReadable_ = true;  // false: the file existed but could not be read at start
    bool closed_ = false;
    bool savedForSessionEnd_ = false;  // the question before the end of the session saved the settings
    Settings settings_;
    HighMemoryAlert alert_;  // PreviousLoad, NextWarningTick, WarningDialogOpen
    int menuTextHeight_ = 0;
    HCURSOR handPointCursor_ = nullptr;
    bool sessionRegistered_ = false;

    UniqueIcon programIcon_;
    UniqueIcon defaultProgramIcon_;
    UniqueIcon taskManagerIcon_;
    PopupMenu trayMenu_;
    HMENU settingsSubmenu_ = nullptr;     // submenu, owned by trayMenu_
    MenuItemEx* settingsItem_ = nullptr;  // the item that carries settingsSubmenu_
    std::unique_ptr<TrayIcon> tray_;
    MenuItemEx* fixedItemsSeparator_ =
        nullptr;  // the separator below which the fixed items start; process rows go above it
    MenuPainter menuPainter_;
    VersionInfoReader fileVer_;
    SimpleTimer refreshTimer_;
    SimpleTimer freeTimer_;

    AboutController about_{settings_, hooks_.Launchers};
    MonitorOffSequence monitorOff_;

    // Options dialog, themes and the global hot key (main_form_options_win.cpp).
    void OptionsStored();
    void OptionsApplied();
    HotKeyManager hotKeyManager_;
    WORD freeMemoryShortcut_ = 0;
    OptionsDialog* optionsDialog_ = nullptr;
    COLORREF textColor_ = RGB(0, 0, 0);  // "文本颜色" starts with the colour last chosen in this run
    MemoryFreer memoryFreer_;
    TrayIconView view_{hooks_};
};
