// The tray icon's side facing the user: mouse and balloon callbacks, and the owner window it restores and hides.
#include "tray/tray_icon_win.h"

#include <commctrl.h>

namespace {
ShiftState KeyState() {
    ShiftState s = 0;
    if (GetAsyncKeyState(VK_SHIFT) & 0x8000)
        s |= ShiftDown;
    if (GetAsyncKeyState(VK_MENU) & 0x8000)
        s |= AltDown;
    if (GetAsyncKeyState(VK_CONTROL) & 0x8000)
        s |= CtrlDown;
    return s;
}

POINT CursorPosition() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

bool IsBalloonNotification(UINT code) {
    return code >= NIN_BALLOONSHOW && code <= NIN_BALLOONUSERCLICK;
}

// The property of the owner window that names its tray icon while the icon watches the owner's messages.
constexpr wchar_t kOwnerTrayProperty[] = L"LumivexTrayIcon";
}  // namespace

// The overflow area of the notification area stays open after a menu or a double-click unless told to close.
void TrayIcon::CloseOverflowWindow() {
    if (HWND overflow = FindWindowExW(nullptr, nullptr, L"NotifyIconOverflowWindow", nullptr))
        PostMessageW(overflow, WM_CLOSE, 0, 0);
}

// Decodes one callback. Without OnDblClick a click is reported at once on button up; with it, a quick click is held
// back for the double-click time, because the shell announces the second press of a double-click only as
// WM_LBUTTONDBLCLK. A double-click thus gives down, up, double-click, up and no click.
void TrayIcon::HandleCallback(UINT code, POINT anchor) {
    if (IsBalloonNotification(code)) {
        const NotifyEvent* events[] = {&OnBalloonHintShow, &OnBalloonHintHide, &OnBalloonHintTimeout,
                                       &OnBalloonHintClick};
        const NotifyEvent& event = *events[code - NIN_BALLOONSHOW];
        if (event)
            event(*this);
        return;
    }
    if (!enabled_)
        return;
    if (callbackVersion_ == kCallbackVersion4 &&
        (code == NIN_SELECT || code == NIN_KEYSELECT || code == WM_CONTEXTMENU)) {
        HandleVersion4Callback(code, anchor);
        return;
    }
    const POINT at = CursorPosition();
    const ShiftState keys = KeyState();
    switch (code) {
        case WM_MOUSEMOVE:
            if (wantEnterExit_ && cursorLeft_) {
                if (OnMouseEnter)
                    OnMouseEnter(*this);
                cursorLeft_ = false;
            }
            if (OnMouseMove)
                OnMouseMove(*this, keys, at.x, at.y);
            lastCursor_ = at;
            break;
        case WM_LBUTTONDOWN:
            if (OnDblClick) {
                clickDelayTimer_.SetPeriodMs(GetDoubleClickTime());
                clickDelayTimer_.SetActive(true);
            }
            DoMouseDown(MouseButton::Left, keys | LeftButtonDown, at);
            clickPending_ = true;
            if (leftPopup_ && popupMenu_ && autoPopup_)
                PopupMenuAtCursor();
            break;
        case WM_LBUTTONUP:
            if (clickPending_) {
                clickWaiting_ = true;
                // Held longer than the double-click time (or no double-click wanted): the click is due now.
                if (!clickDelayTimer_.Active()) {
                    clickPending_ = clickWaiting_ = false;
                    DoClick();
                }
            }
            clickPending_ = false;
            DoMouseUp(MouseButton::Left, keys | LeftButtonDown, at);
            selectEcho_.Expect();
            break;
        case WM_LBUTTONDBLCLK:
            clickWaiting_ = false;
            doubleClickSeen_ = true;
            DoDblClick();
            if (popupMenu_ && autoPopup_ && !leftPopup_) {
                UINT item = GetMenuDefaultItem(popupMenu_, FALSE, 0);
                if (item != static_cast<UINT>(-1))
                    PostMessageW(owner_ ? owner_ : HandlerWindow(), WM_COMMAND, MAKEWPARAM(item, 0), 0);
            }
            break;
        case WM_RBUTTONDOWN:
            // The press may hold a menu open for long: the shell's WM_CONTEXTMENU for this click follows it.
            contextMenuEcho_.Expect();
            DoMouseDown(MouseButton::Right, keys | RightButtonDown, at);
            if (popupMenu_ && autoPopup_)
                PopupMenuAtCursor();
            contextMenuEcho_.Expect();
            break;
        case WM_RBUTTONUP:
            if (callbackVersion_ == 0 || callbackVersion_ == kCallbackVersion4)
                DoMouseUp(MouseButton::Right, keys | RightButtonDown, at);
            contextMenuEcho_.Expect();
            break;
        case WM_CONTEXTMENU:
        case NIN_SELECT:
        case NIN_KEYSELECT:
            if (callbackVersion_ == 1)
                DoMouseUp(MouseButton::Right, keys | RightButtonDown, at);
            break;
        case WM_MBUTTONDOWN:
            DoMouseDown(MouseButton::Middle, keys | MiddleButtonDown, at);
            break;
        case WM_MBUTTONUP:
            DoMouseUp(MouseButton::Middle, keys | MiddleButtonDown, at);
            break;
        default:
            break;  // right and middle double-clicks are not reported
    }
}

// Version 4 sends the mouse's own messages and then, for the same click, NIN_SELECT (after a left button up) or
// WM_CONTEXTMENU (after a right one): the mouse is answered by its own messages as in the classic version, and these
// repeats are dropped. What is left comes from the keyboard: Enter or Space (NIN_KEYSELECT, which one Enter may send
// twice) does what a click does, at once; Shift+F10 or the menu key asks for the menu at the icon's anchor point.
void TrayIcon::HandleVersion4Callback(UINT code, POINT anchor) {
    switch (code) {
        case NIN_SELECT:
        case NIN_KEYSELECT: {
            Echo& echo = code == NIN_SELECT ? selectEcho_ : keySelectEcho_;
            if (echo.Take())
                return;
            if (code == NIN_KEYSELECT)
                echo.Expect();
            DoClick();
            if (leftPopup_ && popupMenu_ && autoPopup_)
                PopupMenuAt(anchor.x, anchor.y);
            break;
        }
        case WM_CONTEXTMENU:
            if (contextMenuEcho_.Take())
                return;
            if (OnContextMenu)
                OnContextMenu(*this, anchor.x, anchor.y);
            if (popupMenu_ && autoPopup_)
                PopupMenuAt(anchor.x, anchor.y);
            break;
        default:
            break;
    }
}

void TrayIcon::Echo::Expect() {
    expected_ = true;
    tick_ = GetTickCount();
}

// True for the repeat that was expected within the double-click time; anything later is the user's own.
bool TrayIcon::Echo::Take() {
    const bool repeat = expected_ && GetTickCount() - tick_ <= GetDoubleClickTime();
    expected_ = false;
    return repeat;
}

void TrayIcon::ClickDelayTick() {
    clickDelayTimer_.SetActive(false);
    if (!doubleClickSeen_ && clickWaiting_) {
        clickWaiting_ = false;
        DoClick();
    }
    doubleClickSeen_ = false;
}

void TrayIcon::DoClick() {
    if (OnClick)
        OnClick(*this);
}

void TrayIcon::DoDblClick() {
    if (OnDblClick)
        OnDblClick(*this);
    CloseOverflowWindow();
}

void TrayIcon::DoMouseDown(MouseButton button, ShiftState shift, POINT at) {
    if (OnMouseDown)
        OnMouseDown(*this, button, shift, at.x, at.y);
}

void TrayIcon::DoMouseUp(MouseButton button, ShiftState shift, POINT at) {
    if (OnMouseUp)
        OnMouseUp(*this, button, shift, at.x, at.y);
}

void TrayIcon::RestoreMainWindow() {
    if (!owner_)
        return;
    if (IsIconic(owner_))
        ShowWindow(owner_, SW_RESTORE);
    ShowWindow(owner_, SW_SHOW);
    appButtonHidden_ = false;
    SetForegroundWindow(owner_);
}

void TrayIcon::HideMainWindow() {
    if (!owner_)
        return;
    ShowWindow(owner_, SW_HIDE);
    HideAppButton();
}

// The program's top-level window is the owner itself. Hiding it takes its button off the taskbar; showing it again
// only brings back what HideAppButton took away, so a window that was never shown (the hidden main form at start)
// stays hidden.
void TrayIcon::HideAppButton() {
    if (owner_ && IsWindowVisible(owner_)) {
        ShowWindow(owner_, SW_HIDE);
        appButtonHidden_ = true;
    }
}

void TrayIcon::ShowAppButton() {
    if (owner_ && appButtonHidden_ && !IsWindowVisible(owner_))
        ShowWindow(owner_, SW_SHOWNA);
    appButtonHidden_ = false;
}

// The owner is subclassed the classic way, not through the common controls' subclass functions: those would load
// the common controls library at start, which a tray program showing no dialog does not need (under Wine it is 1.7 MB
// of private memory). Nothing else subclasses the owner after the icon, so unhooking restores the procedure the
// owner had; a procedure that was replaced meanwhile is left alone.
void TrayIcon::HookOwner() {
    if (!SetPropW(owner_, kOwnerTrayProperty, this))
        return;
    ownerPreviousProc_ =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerProc)));
    ownerHooked_ = ownerPreviousProc_ != nullptr;
    if (!ownerHooked_)
        RemovePropW(owner_, kOwnerTrayProperty);
}

void TrayIcon::UnhookOwner() {
    if (ownerHooked_ && IsWindow(owner_)) {
        if (GetWindowLongPtrW(owner_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(OwnerProc))
            SetWindowLongPtrW(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ownerPreviousProc_));
        RemovePropW(owner_, kOwnerTrayProperty);
    }
    ownerHooked_ = false;
}

LRESULT CALLBACK TrayIcon::OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<TrayIcon*>(GetPropW(hwnd, kOwnerTrayProperty));
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    const WNDPROC previous = self->ownerPreviousProc_;
    switch (msg) {
        case WM_SHOWWINDOW:
            if (wParam && lParam == 0)
                SetForegroundWindow(hwnd);
            if (!wParam && lParam == SW_PARENTCLOSING && self->MinimizeSteps())
                return 0;
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MINIMIZE && self->MinimizeSteps())
                return 1;
            if ((wParam & 0xFFF0) == SC_RESTORE && !IsWindowVisible(hwnd))
                ShowWindow(hwnd, SW_SHOWNA);
            break;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED && self->minimizeToTray_)
                self->MinimizeToTrayNow();
            break;
        case WM_NCDESTROY:
            self->UnhookOwner();
            break;
        default:
            break;
    }
    return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}
