#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/about_controller_win.h"
#include "app/high_memory_alert.h"
#include "app/history_window_win.h"
#include "app/system_hooks_win.h"
#include "app/tray_icon_view_win.h"
#include "app/tray_menu_win.h"
#include "memory/memory_history.h"
#include "memory/ram_optimization_win.h"
#include "options/options_dialog_win.h"
#include "platform/simple_timer_win.h"
#include "platform/unique_handle_win.h"
#include "platform/window_win.h"
#include "processes/process_growth.h"
#include "processes/process_snapshot_win.h"
#include "settings/settings.h"
#include "system/hot_key_manager_win.h"
#include "system/monitor_off_win.h"
#include "tray/tray_icon_win.h"

// The program's one form: hidden, without a taskbar button, owner of every long-lived object; it is only ever
// seen as the About box. It starts the program and ends it (also when the session ends, from any modal state) and
// hands each message to the part it belongs to: the tray menu, the About box, the tray icon's view.
class MainForm : public Window, private ITrayMenuOwner, private IHighMemoryActions {
  public:
    explicit MainForm(SystemHooks hooks = {});
    ~MainForm() override;

    // Creates the hidden window and runs the start-up sequence.
    bool Create();
    // "退出": asks whether the form may close (saving the settings), releases everything and ends the loop.
    void Quit();
    // Quit, or the session ended: the form is gone and the program's message loop ends.
    bool Closed() const { return closed_; }

    // The refresh tick: picture, hint and the high-memory warning (main_form_tick_win.cpp).
    void RefreshTick();
    // What the benchmarks set up and measure.
    Settings& CurrentSettings() { return settings_; }
    TrayIcon& Tray() { return *tray_; }
    TrayMenu& Menu() { return menu_; }
    SimpleTimer& RefreshTimer() { return refreshTimer_; }
    MemoryFreer& Freer() { return memoryFreer_; }
    // The minute's read of every process's private bytes for the growth ranking, at tick count `now`.
    void ReadGrowth(uint32_t now);

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    friend class MainFormProbe;  // the tests' way in
    void FormCreate();
    void StartupStep(const char* step) const;
    bool FormCloseQuery();
    void FormClose();
    // Log-off, shut-down and the uninstaller (WM_QUERYENDSESSION, WM_ENDSESSION), from any modal state.
    bool QueryEndSession();
    void EndSession();
    void SessionEndCancelled();
    void OnCommand(UINT id);

    void LoadOptions();
    // Writes the whole record; a key that cannot be written is reported as "Unable to write to <path>".
    bool SaveSettingsFile();
    void InitSettings();
    // The language of the settings for every text from now on: the tray menu and the About box at once, the hint
    // with the next tick.
    void ApplyLanguage();
    void ApplyFontColor();
    void InitDefaultMenu() { menu_.ShowDefaultItem(); }

    // Tray notices (main_form_tray_win.cpp).
    void CreateTray();
    void SecondInstanceNotice();
    void StartupNotice(WPARAM firstRun);

    // The tick's side (main_form_tick_win.cpp).
    void InitTick();
    void PeriodicFreeTick();
    // "内存清理": trims every program with a top-level window; the menu item is disabled meanwhile.
    void FreeMemory();
    // What the high-memory warning does.
    void TrimMemory() override { FreeMemory(); }
    void ShowBalloon(const std::string& title, const std::string& text) override;
    int ShowWarningDialog(const std::string& title,
                          const std::string& text,
                          const std::string& buttons,
                          bool& dontShowAgain) override;
    void LaunchTaskManager() override { OpenTaskManager(); }
    bool FindGrower(GrowingProcess& grower) override;
    void EndProcess(const GrowingProcess& process) override;

    // The memory history and the processes that grow (main_form_history_win.cpp).
    void RecordHistory(const MemorySample& sample, uint32_t now);
    void PrepareMenuGrowth();
    std::string MenuGrowthMark(uint32_t processId, uint64_t creationFileTime) const;
    // "内存历史…": opens the history window, or brings it to the front; a grower's row opens the process dialog.
    void ShowHistory();
    void ShowGrowerDialog(const ProcessGrowthEntry& entry);

    // What the tray menu asks.
    bool FormClosed() const override { return closed_; }
    void TextColorChosen() override { ApplyFontColor(); }

    // System actions (main_form_actions_win.cpp).
    void InitSystemActions();
    void OpenTaskManager();
    void TrayDblClick();
    // WM_WTSSESSION_CHANGE: the display goes off on lock when "SwitchOffMonitorOnLock" is set.
    void SessionChange(WPARAM code);

    // Options dialog, themes and the global hot key (main_form_options_win.cpp).
    void ShowSettings(bool themePage);
    void OnSettingsStored();
    void OnSettingsApplied();
    void ApplyHotKey();
    void HotKeyPressed(HotKeyValue hotKey, WORD index);
    std::wstring ThemesFolder() const;

    // Display changes (main_form_display_win.cpp).
    void DisplayChanged();
    void SettingChange(LPARAM lParam);
    bool FollowTaskbarMode();
    bool LoadFirstRunTheme(int index);
    void ApplyDefaultTheme();

    SystemHooks hooks_;
    std::function<void(const std::string&)> previousErrorReporter_;
    std::wstring programFolder_;
    std::wstring settingsPath_;
    bool portableMode_ = false;
    bool firstRun_ = false;
    std::optional<Settings> storedSettings_;  // the record as the settings file holds it, when known
    std::wstring damagedSettingsCopy_;        // where a settings file read only in part was kept at start
    bool settingsReadable_ = true;            // false: the file existed but could not be read at start
    bool closed_ = false;
    bool savedForSessionEnd_ = false;  // the question before the end of the session saved the settings
    Settings settings_;
    HighMemoryAlert alert_;  // PreviousLoad, NextWarningTick, WarningDialogOpen
    bool sessionRegistered_ = false;

    UniqueIcon programIcon_;
    std::unique_ptr<TrayIcon> tray_;
    TrayMenu menu_{*this, settings_, hooks_};
    TrayIconView view_{hooks_};
    AboutController about_{settings_, hooks_.Launchers};
    SimpleTimer refreshTimer_;
    SimpleTimer freeTimer_;
    MonitorOffSequence monitorOff_;
    HotKeyManager hotKeyManager_;
    OptionsDialog* optionsDialog_ = nullptr;  // the open options dialog, or null
    MemoryFreer memoryFreer_;

    MemorySample lastSample_;
    MemoryHistory history_;
    ProcessGrowth growth_;
    bool growthRead_ = false;
    uint32_t lastGrowthTick_ = 0;
    SystemProcessReader processReader_;
    std::vector<std::string> growthNames_;
    std::vector<ProcessMemoryReading> growthReadings_;
    struct MenuGrowth {
        uint32_t ProcessId;
        uint64_t CreationTime;
        uint64_t Bytes;
    };
    std::vector<MenuGrowth> menuGrowth_;            // ranked when the menu opens, for its rows' marks
    std::unique_ptr<HistoryWindow> historyWindow_;  // made when first opened
};

// Runs the program's message loop until WM_QUIT or the form's end; the exit code.
int RunMessageLoop(const MainForm& form);
