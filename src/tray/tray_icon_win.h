#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/unique_handle_win.h"
#include "tray/simple_timer_win.h"

enum class TMouseButton { mbLeft = 0, mbRight = 1, mbMiddle = 2 };
enum TShiftStateBits : unsigned {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20
};
using TShiftState = unsigned;
enum class BalloonIconKind { None = 0, Info = 1, Warning = 2, Error = 3, User = 4 };

class TTrayIcon;
using TNotifyEvent = std::function<void(TTrayIcon& sender)>;
using TMouseEvent = std::function<void(TTrayIcon& sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TTrayIcon& sender, TShiftState shift, int x, int y)>;
using TCycleEvent = std::function<void(TTrayIcon& sender, int nextIndex)>;

// One icon in the notification area, with its mouse and balloon callbacks decoded on a hidden window that all tray
// icons of the program share.
class TTrayIcon {
public:
    // owner: the window that RestoreMainWindow / HideMainWindow show and hide (may be null).
    explicit TTrayIcon(HWND owner = nullptr);
    ~TTrayIcon();
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    bool AddTrayIcon();
    bool RemoveTrayIcon();
    bool UpdateTrayIcon();
    bool ShowBalloon(const std::string& title, const std::string& text, BalloonIconKind kind, BYTE timeoutSeconds);
    void HideBalloon();
    // Turns a 16 x 16 bitmap into an icon, with maskColor as the transparent colour (0x1FFFFFFF: none).
    static UniqueIcon IconFromBitmap(HBITMAP bitmap, COLORREF maskColor);
    void PopupMenuAtCursor();
    void PopupMenuAt(int x, int y);
    void RestoreMainWindow();
    void HideMainWindow();
    void HideAppButton();
    void ShowAppButton();
    void SetCallbackVersion(int version);

    // The icon is copied; the caller keeps its own.
    void SetIcon(HICON icon);
    HICON Icon() const { return icon_.Get(); }
    void SetHint(const std::string& hint);
    const std::string& Hint() const { return hint_; }
    void SetShowHint(bool value);
    void SetIconVisible(bool value);
    bool IconVisible() const { return iconVisible_; }
    void SetEnabled(bool value) { enabled_ = value; }
    bool Enabled() const { return enabled_; }
    void SetPopupMenu(HMENU menu, bool autoPopup = false);
    void SetLeftPopup(bool value) { leftPopup_ = value; }
    void SetWantEnterExitEvents(bool value);
    void SetMinimizeToTray(bool value) { minimizeToTray_ = value; }
    // Icon cycling: icons are borrowed and must outlive the component's use of them.
    void SetIconList(std::vector<HICON> icons);
    void SetIconIndex(int index);
    int IconIndex() const { return iconIndex_; }
    void SetCycleIcons(bool value);
    void SetCycleInterval(UINT ms);

    // The shared hidden window that receives the callbacks (tests post to it; menus take the foreground through it).
    static HWND HandlerWindow();
    UINT Id() const { return notifyData_.uID; }
    const NOTIFYICONDATAW& NotifyData() const { return notifyData_; }

    TNotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseExit;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TCycleEvent OnCycle;
    TNotifyEvent OnBalloonHintShow, OnBalloonHintHide, OnBalloonHintTimeout, OnBalloonHintClick;
    TNotifyEvent OnMinimizeToTray;

private:
    // Implementation state lives here (see tray_icon_win.cpp).
    HWND owner_;
    NOTIFYICONDATAW notifyData_{};
    UniqueIcon icon_;
    std::string hint_;
    bool showHint_ = true;
    bool iconVisible_ = false;
    bool enabled_ = true;
    bool leftPopup_ = false;
    bool minimizeToTray_ = false;
    int iconIndex_ = 0;
};
