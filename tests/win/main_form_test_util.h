#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/main_form_win.h"
#include "test_shell.h"
#include "win_test_util.h"

// The tests' way inside a main form (MainForm declares it a friend). What a test changes in Hooks() after the form
// was created reaches it, but for the shell call and the error reporter, which the form takes as it starts.
class MainFormProbe {
  public:
    explicit MainFormProbe(MainForm& form) : form_(form) {}
    SystemHooks& Hooks() const { return form_.hooks_; }
    TrayIconView& View() const { return form_.view_; }
    AboutController& About() const { return form_.about_; }

    const std::wstring& SettingsPath() const { return form_.settingsPath_; }
    bool PortableMode() const { return form_.portableMode_; }
    bool FirstRun() const { return form_.firstRun_; }
    bool SaveSettingsFile() const { return form_.SaveSettingsFile(); }
    void InitSettings() const { form_.InitSettings(); }
    void InitDefaultMenu() const { form_.InitDefaultMenu(); }
    void ApplyHotKey() const { form_.ApplyHotKey(); }
    HotKeyManager& HotKeys() const { return form_.hotKeyManager_; }
    // The open options dialog, or null.
    OptionsDialog* ShownOptionsDialog() const { return form_.optionsDialog_; }
    SimpleTimer& FreeTimer() const { return form_.freeTimer_; }
    void PeriodicFreeTick() const { form_.PeriodicFreeTick(); }
    void FreeMemory() const { form_.FreeMemory(); }
    void TrayDblClick() const { form_.TrayDblClick(); }
    const HighMemoryAlert& Alert() const { return form_.alert_; }
    const MonitorOffSequence& MonitorOff() const { return form_.monitorOff_; }
    HistoryWindow* History() const { return form_.historyWindow_.get(); }

  private:
    MainForm& form_;
};

namespace WinTest {

// The errors a form reports, in place of its boxes.
struct ErrorCapture {
    SystemHooks Hooks() {
        SystemHooks hooks;
        hooks.ReportError = [this](const std::string& t) { Errors += t + "\n"; };
        return hooks;
    }
    std::string Errors;
};

// A main form whose program folder is `dir` (settings beside it when the test puts a file there, otherwise in an
// application-data folder inside `dir`, never the user's) and whose destruction does not end the test's message loop.
// Unless the test gives its own, the refresh tick reads a calm memory state, never the machine's (a busy machine would
// otherwise warn and trim during unrelated tests), trimming touches no process, and the tray icon talks to the test
// shell.
inline std::unique_ptr<MainForm> MakeForm(const TempDir& dir, SystemHooks o = {}) {
    o.ProgramFolder = dir.Path();
    o.QuitOnDestroy = false;
    if (o.UserDataFolder.empty())
        o.UserDataFolder = dir.File(L"AppData");
    if (!o.Sample) {
        o.Sample = [] {
            MemorySample calm;
            calm.MemoryLoad = 40;
            calm.TotalPhys = calm.TotalPageFile = 8ull << 30;
            calm.AvailPhys = calm.AvailPageFile = 5ull << 30;
            return calm;
        };
    }
    if (!o.TrimProcess)
        o.TrimProcess = [](DWORD) {};
    if (!o.ShellNotify)
        o.ShellNotify = TestShell::Function();
    auto form = std::make_unique<MainForm>(std::move(o));
    EXPECT_TRUE(form->Create());
    return form;
}

// The same with a settings file of its own beside it (portable mode): what the test changes never reaches the
// per-user settings that later tests would read.
inline std::unique_ptr<MainForm> MakePortableForm(const TempDir& dir, SystemHooks o = {}) {
    WriteBytes(dir.File(L"Lumivex.Settings"), "[General]\r\n");
    return MakeForm(dir, std::move(o));
}

}  // namespace WinTest
