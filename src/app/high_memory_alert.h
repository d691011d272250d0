#pragma once

#include <cstdint>
#include <string>

#include "settings/settings.h"

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
};

// The warning when the memory load crosses RedPercent upwards: at most one per five minutes, one dialog at a time.
class HighMemoryAlert {
  public:
    static constexpr uint32_t kQuietTimeMs = 300000;

    // One tick: `load` is the tick's memory load, `now` the system tick count in milliseconds. Unticking the
    // dialog's box for good turns settings.WarnMsgBox off.
    void Check(int load, uint32_t now, Settings& settings, IHighMemoryActions& actions);

    int PreviousLoad() const { return previousLoad_; }
    uint32_t NextWarningTick() const { return nextWarningTick_; }
    bool WarningDialogOpen() const { return warningDialogOpen_; }

  private:
    int previousLoad_ = 0;
    uint32_t nextWarningTick_ = 0;
    bool quietTime_ = false;  // a warning was given less than five minutes ago
    bool warningDialogOpen_ = false;
};
