// The refresh tick, the high-memory warning and memory trimming of the main form.
#include "app/main_form_win.h"

#include "app/foreground_win.h"
#include "memory/memory_status_win.h"
#include "memory/working_set_win.h"
#include "resource.h"
#include "system/task_dialog_win.h"
#include "tray/high_contrast.h"
#include "tray/tray_renderer.h"

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
    ITrayTextPainter* text = nullptr;
    if (!settings_.InternalFont) {
        if (!textPainter_)
            textPainter_ = std::make_unique<GdiTextPainter>(displayFont_.Get());
        textPainter_->SetFont(displayFont_.Get());  // the options may have made a new one since the last tick
        text = textPainter_.get();
    }
    const GdiSystemColors colors;
    TrayRenderContext context{colors, text, UserNumberSeparators()};
    context.Size = iconSize_;
    const TrayImage image = RenderTrayImage(sample, highContrast_ ? HighContrastLook(settings_) : settings_, context);

    // The shell call is most of a tick's cost: a tick that would show the same picture (of the same size) and hint
    // sends nothing.
    const bool transparent = settings_.TransBk;
    if (!trayPictureShown_ || image.Picture != shownPicture_ || transparent != shownTransparent_ ||
        image.Hint != tray_->Hint()) {
        tray_->SetIconAndHint(PictureToIcon(image.Picture, transparent), image.Hint);
        shownPicture_ = image.Picture;
        shownTransparent_ = transparent;
        trayPictureShown_ = true;
    }

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
