// The main form's tray icon: created visible with the program icon, and the notices shown on it.
#include "app/main_form_win.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "resource.h"

namespace {
// Lets the messages that are already waiting run, as the start-up notice does between its two steps.
void ProcessPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
}  // namespace

void MainForm::CreateTray() {
    tray_ = std::make_unique<TrayIcon>(Hwnd(), hooks_.ShellNotify);
    UniqueIcon small(static_cast<HICON>(LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(IDI_LUMIVEX), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    // Without the program's own icon (a build without resources) the tray shows the standard application icon.
    HICON icon = small ? small.Get() : programIcon_ ? programIcon_.Get() : LoadIconW(nullptr, IDI_APPLICATION);
    tray_->SetIcon(icon);
    // Version 4 brings the keyboard's select and menu (Win+B, then Enter or Shift+F10).
    tray_->SetCallbackVersion(TrayIcon::kCallbackVersion4);
    tray_->SetIconVisible(true);
    tray_->Loaded();
}

void MainForm::SecondInstanceNotice() {
    tray_->ShowBalloon("Lumivex", Text(TextId::BalloonAlreadyRunning), BalloonIconKind::Info, 10);
}

void MainForm::StartupNotice(WPARAM firstRun) {
    if (!damagedSettingsCopy_.empty()) {
        const std::wstring& copy = damagedSettingsCopy_;
        tray_->ShowBalloon(
            "Lumivex", FormatText(TextId::BalloonSettingsDamaged, {Narrow(copy.substr(copy.find_last_of(L'\\') + 1))}),
            BalloonIconKind::Warning, 10);
    } else if (firstRun == 1) {
        tray_->ShowBalloon("Lumivex", Text(TextId::BalloonWelcome), BalloonIconKind::None, 10);
    }
    ProcessPendingMessages();
    tray_->HideAppButton();
    ProcessPendingMessages();
    tray_->ShowAppButton();
}
