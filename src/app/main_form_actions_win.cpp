// The main form's system actions: the tray icon's double-click, the Task Manager command and switching the
// display off when the workstation is locked.
#include "app/main_form_win.h"

#include "platform/messages.h"
#include "resource.h"
#include "system/double_click_action.h"

namespace {
constexpr WPARAM kWtsSessionLock = 7;
constexpr WPARAM kWtsSessionUnlock = 8;
}  // namespace

void MainForm::InitSystemActions() {
    tray_->OnDblClick = [this](TrayIcon&) { TrayDblClick(); };
}

void MainForm::OpenTaskManager() {
    hooks_.Launchers.TaskManager(Hwnd());
}

void MainForm::TrayDblClick() {
    switch (DoubleClickActionOf(settings_.DoubleClickAction)) {
        case DoubleClickAction::TaskManager:
            OpenTaskManager();
            break;
        case DoubleClickAction::FreeMemory:
            hooks_.Launchers.MenuCommand(Hwnd(), IDM_FREE_MEMORY);
            break;
        case DoubleClickAction::MemoryBalloon:
            // The memory text of the last refresh, also when the tip itself is switched off.
            tray_->ShowBalloon("Lumivex", tray_->Hint(), BalloonIconKind::Info, 40);
            break;
        case DoubleClickAction::ShowSettings:
            hooks_.Launchers.MenuCommand(Hwnd(), IDM_SETTINGS);
            break;
        case DoubleClickAction::LockComputer:
            hooks_.Launchers.Lock();
            break;
        case DoubleClickAction::RunDialog:
            hooks_.Launchers.RunDialog(kApplicationTitle, Hwnd(), programIcon_.Get());
            break;
        case DoubleClickAction::ShutDownDialog:
            hooks_.Launchers.ShutDownDialog();
            break;
        case DoubleClickAction::MemoryHistory:
            hooks_.Launchers.MenuCommand(Hwnd(), IDM_MEMORY_HISTORY);
            break;
        case DoubleClickAction::Nothing:
            break;
    }
}

// The power-off commands go out from a timer, so the icon and its menu keep answering meanwhile. Unlocking ends a
// sequence that is still running: the user who has just unlocked must not see the display go dark.
void MainForm::SessionChange(WPARAM code) {
    if (code == kWtsSessionLock && settings_.SwitchOffMonitorOnLock)
        monitorOff_.Start(Hwnd());
    else if (code == kWtsSessionUnlock)
        monitorOff_.Stop();
}
