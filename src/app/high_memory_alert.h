#pragma once

#include <cstdint>
#include <string>

#include "settings/settings.h"

// The warning dialog's button list and the result of each button; -1 for a button it does not have.
struct WarningButtons {
    std::string List;
    int FreeMemory = -1;
    int TaskManager = -1;
    int EndProcess = -1;
};
WarningButtons WarningButtonsFor(bool trimmed, bool namedGrower);

// A process that grew by more than the settings' share of physical memory in the last 30 minutes.
struct GrowingProcess {
    uint32_t ProcessId = 0;
    uint64_t CreationTime = 0;
    std::string ExeName;
    std::string GrowthText;  // the growth as a readable size: "1.8 GB"
};

// What the high-memory warning does in the world; the main form does it with the tray, the dialogs and trimming.
class IHighMemoryActions {
  public:
    virtual ~IHighMemoryActions() = default;
    virtual void TrimMemory() = 0;
    virtual void ShowBalloon(const std::string& title, const std::string& text) = 0;
    // Shows the warning dialog (after taking the foreground); returns 100 + the index of the button chosen.
    virtual int ShowWarningDialog(const std::string& title,
                                  const std::string& text,
                                  const std::string& buttons,
                                  bool& dontShowAgain) = 0;
    virtual void LaunchTaskManager() = 0;
    // The process to name in the warning, if one grew that much.
    virtual bool FindGrower(GrowingProcess& /*grower*/) { return false; }
    // "End it": ends the process when its id still names the same one.
    virtual void EndProcess(const GrowingProcess& /*process*/) {}
};

// The warning when the memory load crosses RedPercent upwards, or the commit charge CommitRedPercent of its limit
// (when set): at most one per five minutes, one dialog at a time.
class HighMemoryAlert {
  public:
    static constexpr uint32_t kQuietTimeMs = 300000;

    // One tick: `load` is the tick's memory load, `commitPercent` its commit charge in percent of the limit, `now`
    // the system tick count in milliseconds. Unticking the dialog's box for good turns settings.WarnMsgBox off.
    void Check(int load, uint32_t now, Settings& settings, IHighMemoryActions& actions, int commitPercent = 0);

    int PreviousLoad() const { return previousLoad_; }
    uint32_t NextWarningTick() const { return nextWarningTick_; }
    bool WarningDialogOpen() const { return warningDialogOpen_; }

  private:
    void Warn(int load, bool commit, Settings& settings, IHighMemoryActions& actions);

    int previousLoad_ = 0;
    int previousCommit_ = 0;
    uint32_t nextWarningTick_ = 0;
    bool quietTime_ = false;  // a warning was given less than five minutes ago
    bool warningDialogOpen_ = false;
};
