// The refresh tick, the high-memory warning and memory trimming of the main form.
#include "app/main_form_win.h"

#include "app/foreground_win.h"
#include "memory/working_set_win.h"
#include "resource.h"
#include "system/task_dialog_win.h"

// What the warning does, done with the form's tray, dialogs and trimming.
class FormAlertActions : public IHighMemoryActions {
  public:
    explicit FormAlertActions(MainForm& form) : form_(form) {}
    void TrimMemory() override { form_.FreeMemory(); }
    void ShowBalloon(const std::string& title, const std::string& text) override {
        form_.Tray().ShowBalloon(title, text, BalloonIconKind::Warning, 10);
    }
    int ShowWarningDialog(const std::string& title,
                          const std::string& text,
                          const std::string& buttons,
                          bool& dontShowAgain) override {
        TaskDialogTexts dialog;
        dialog.Caption = "Lumivex";
        dialog.Instruction = title;
        dialog.Content = text;
        dialog.ButtonList = buttons;
        dialog.VerifyText = Text(TextId::HighMemoryDontShowAgain);
        ForceForeground(form_.Hwnd());
        const int result = form_.ShowWarningDialog(dialog);
        dontShowAgain = dialog.VerifyChecked;
        return result;
    }
    void LaunchTaskManager() override { form_.OpenTaskManager(); }

  private:
    MainForm& form_;
};

void MainForm::InitTick() {
    refreshTimer_.SetOnFire([this](SimpleTimer&) { RefreshTick(); });
    freeTimer_.SetOnFire([this](SimpleTimer&) { PeriodicFreeTick(); });
    memoryFreer_.SetPeriod(2000);
}

void MainForm::RefreshTick() {
    const MemorySample sample = hooks_.Sample();
    view_.Show(*tray_, sample, settings_);
    FormAlertActions actions(*this);
    alert_.Check(static_cast<int>(sample.MemoryLoad), hooks_.TickCount(), settings_, actions);
}

int MainForm::ShowWarningDialog(TaskDialogTexts& dialog) {
    const int result = hooks_.WarningDialog(dialog);
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
    DisabledMenuItem busy(trayMenu_.Handle(), IDM_FREE_MEMORY);
    TrimAllWindowProcesses(hooks_.TrimProcess);
}
