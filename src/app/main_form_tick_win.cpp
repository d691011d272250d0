// The refresh tick, the high-memory warning and memory trimming of the main form.
#include "app/main_form_win.h"

#include "app/foreground_win.h"
#include "memory/working_set_win.h"
#include "resource.h"
#include "system/task_dialog_win.h"

void MainForm::InitTick() {
    refreshTimer_.SetOnFire([this](SimpleTimer&) { RefreshTick(); });
    freeTimer_.SetOnFire([this](SimpleTimer&) { PeriodicFreeTick(); });
    memoryFreer_.SetPeriod(2000);
}

void MainForm::RefreshTick() {
    const MemorySample sample = hooks_.Sample();
    const uint32_t now = hooks_.TickCount();
    lastSample_ = sample;
    view_.Show(*tray_, sample, settings_);
    RecordHistory(sample, now);
    alert_.Check(static_cast<int>(sample.MemoryLoad), now, settings_, *this, static_cast<int>(sample.CommitPercent()));
}

void MainForm::ShowBalloon(const std::string& title, const std::string& text) {
    tray_->ShowBalloon(title, text, BalloonIconKind::Warning, 10);
}

int MainForm::ShowWarningDialog(const std::string& title,
                                const std::string& text,
                                const std::string& buttons,
                                bool& dontShowAgain) {
    TaskDialogTexts dialog;
    dialog.Caption = "Lumivex";
    dialog.Instruction = title;
    dialog.Content = text;
    dialog.ButtonList = buttons;
    dialog.VerifyText = Text(TextId::HighMemoryDontShowAgain);
    ForceForeground(Hwnd());
    const int result = hooks_.WarningDialog(dialog);
    dontShowAgain = dialog.VerifyChecked;
    // A session that ended while the dialog was open leaves nothing to trim or launch.
    return closed_ ? IDCANCEL : result;
}

void MainForm::PeriodicFreeTick() {
    if (settings_.FreeEveryActive)
        FreeMemory();
}

namespace {
// Disables a menu item for as long as it lives, and enables it again however the scope is left.
class DisabledMenuItem {
  public:
    DisabledMenuItem(HMENU menu, UINT id) : menu_(menu), id_(id) {
        if (menu_)
            EnableMenuItem(menu_, id_, MF_BYCOMMAND | MF_GRAYED);
    }
    ~DisabledMenuItem() {
        if (menu_)
            EnableMenuItem(menu_, id_, MF_BYCOMMAND | MF_ENABLED);
    }
    DisabledMenuItem(const DisabledMenuItem&) = delete;
    DisabledMenuItem& operator=(const DisabledMenuItem&) = delete;

  private:
    HMENU menu_;
    UINT id_;
};
}  // namespace

void MainForm::FreeMemory() {
    DisabledMenuItem busy(menu_.Handle(), IDM_FREE_MEMORY);
    TrimAllWindowProcesses(hooks_.TrimProcess);
}
