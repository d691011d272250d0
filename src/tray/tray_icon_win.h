#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/simple_timer_win.h"
#include "platform/unique_handle_win.h"
#include "tray/recent_icons_win.h"

enum class MouseButton { Left = 0, Right = 1, Middle = 2 };
enum ShiftStateBits : unsigned {
    ShiftDown = 0x01,
    AltDown = 0x02,
    CtrlDown = 0x04,
    LeftButtonDown = 0x08,
    RightButtonDown = 0x10,
    MiddleButtonDown = 0x20
};
using ShiftState = unsigned;
enum class BalloonIconKind { None = 0, Info = 1, Warning = 2, Error = 3, User = 4 };

class TrayIcon;
using NotifyEvent = std::function<void(TrayIcon& sender)>;
using MouseEvent = std::function<void(TrayIcon& sender, MouseButton button, ShiftState shift, int x, int y)>;
using MouseMoveEvent = std::function<void(TrayIcon& sender, ShiftState shift, int x, int y)>;
using PointEvent = std::function<void(TrayIcon& sender, int x, int y)>;
using CycleEvent = std::function<void(TrayIcon& sender, int nextIndex)>;
using StartupEvent = std::function<void(TrayIcon& sender, bool& showMainForm)>;
// Stands in for Shell_NotifyIconW (tests watch or refuse the shell calls); an empty function is the shell.
using ShellNotifyFunction = std::function<BOOL(DWORD message, NOTIFYICONDATAW& data)>;

// One icon in the notification area, with its mouse and balloon callbacks decoded on a hidden window that all tray
// icons of the program share.
class TrayIcon {
  public:
    // owner: the window that RestoreMainWindow / HideMainWindow show and hide, that receives the popup menu's
    // commands and that may be minimised to the tray (may be null). shell: where the icon's shell calls go.
    explicit TrayIcon(HWND owner = nullptr, ShellNotifyFunction shell = nullptr);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Called once the owner has assigned properties and handlers: raises OnStartup and brings the shell up to date.
    void Loaded();

    bool AddTrayIcon();
    bool RemoveTrayIcon();
    bool UpdateTrayIcon();
    bool ShowBalloon(const std::string& title, const std::string& text, BalloonIconKind kind, BYTE timeoutSeconds);
    void HideBalloon();
    // An icon of size x size top-down 0xAARRGGBB pixels (the shell shows it unscaled at its own icon size).
    static UniqueIcon IconFromPixels(std::vector<uint32_t> pixels, COLORREF maskColor, int size = 16);
    void RestoreMainWindow();
    void HideMainWindow();
    void HideAppButton();
    void ShowAppButton();
    // 0: the classic callbacks; 1: version 3's; 4: version 4's (the keyboard's select and menu with the icon's
    // anchor point), or the classic ones while the shell refuses version 4.
    void SetCallbackVersion(int version);
    // The version the shell took; RequestedCallbackVersion is the one asked for.
    int CallbackVersion() const { return callbackVersion_; }
    int RequestedCallbackVersion() const { return requestedVersion_; }
    static constexpr int kCallbackVersion4 = 4;

    // The icon is copied; the caller keeps its own.
    void SetIcon(HICON icon);
    HICON Icon() const { return shownIcon_; }
    // Takes the icon and sets the hint with one update of the notification area.
    void SetIconAndHint(UniqueIcon icon, const std::string& hint);
    // The same with the picture's icon, kept among the recent ones (the refresh tick's path).
    void SetPictureAndHint(const TrayPicture& picture, bool transparent, const std::string& hint);
    const std::string& Hint() const { return hint_; }
    void SetIconVisible(bool value);
    bool IconVisible() const { return iconVisible_; }
    // autoPopup: the component pops the menu up by itself on a right click (and a left one with LeftPopup).
    void SetPopupMenu(HMENU menu, bool autoPopup = false);
    HMENU TrayPopupMenu() const { return popupMenu_; }

    // What the component offers beyond the program's use (tray_icon_extras_win.cpp).
    // Turns a 16 x 16 bitmap into an icon, with maskColor as the transparent colour (0x1FFFFFFF: none).
    static UniqueIcon IconFromBitmap(HBITMAP bitmap, COLORREF maskColor);
    void PopupMenuAtCursor();
    void PopupMenuAt(int x, int y);
    void MinimizeToTrayNow();
    void SetHint(const std::string& hint);
    void SetShowHint(bool value);
    bool ShowHint() const;
    void SetEnabled(bool value);
    bool Enabled() const;
    void SetLeftPopup(bool value);
    bool LeftPopup() const;
    void SetWantEnterExitEvents(bool value);
    bool WantEnterExitEvents() const;
    void SetMinimizeToTray(bool value);
    bool MinimizeToTray() const;
    // Icon cycling: icons are borrowed and must outlive the component's use of them.
    void SetIconList(std::vector<HICON> icons);
    void SetIconIndex(int index);
    int IconIndex() const;
    void SetCycleIcons(bool value);
    bool CycleIcons() const;
    void SetCycleInterval(UINT ms);
    UINT CycleInterval() const;
    // Form-designer flag, kept for completeness; the running program never previews.
    void SetDesignPreview(bool value);
    bool DesignPreview() const;

    // The shared hidden window that receives the callbacks (tests post to it; menus take the foreground through it).
    static HWND HandlerWindow();
    // The message id of "TaskbarCreated", which the shell broadcasts when it (re)starts.
    static UINT TaskbarCreatedMessage();
    // While a first add fails (no taskbar yet at log-on) it is tried again at this period.
    static constexpr UINT kAddRetryMs = 1000;
    bool AddPending() const { return addRetryTimer_.Active(); }
    UINT Id() const { return notifyData_.uID; }
    const NOTIFYICONDATAW& NotifyData() const { return notifyData_; }

    NotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseExit;
    MouseEvent OnMouseDown, OnMouseUp;
    MouseMoveEvent OnMouseMove;
    // Version 4: the menu asked for from the keyboard (Shift+F10, the menu key) at the point the shell gives. A mouse
    // menu stays OnMouseDown / OnMouseUp's; a keyboard select (Enter, Space) raises OnClick.
    PointEvent OnContextMenu;
    NotifyEvent OnBalloonHintShow, OnBalloonHintHide, OnBalloonHintTimeout, OnBalloonHintClick;
    // Never set by the program: raised by icon cycling, by minimising to the tray and by Loaded.
    CycleEvent OnCycle;
    NotifyEvent OnMinimizeToTray;
    StartupEvent OnStartup;

  private:
    friend class TrayIconHandler;
    // A shell message that repeats, for one action of the user, what the icon has just been told.
    class Echo {
      public:
        void Expect();
        bool Take();

      private:
        bool expected_ = false;
        DWORD tick_ = 0;
    };

    // anchor: where the shell places a keyboard action (version 4), else the cursor.
    void HandleCallback(UINT code, POINT anchor);
    void HandleVersion4Callback(UINT code, POINT anchor);
    UINT BaseFlags() const;
    void TaskbarCreated();
    bool Notify(DWORD message);
    void PrepareNotifyData();
    void RetryAdd();
    void ClickDelayTick();
    void LeaveTick();
    void CycleTick();
    void DoClick();
    void DoDblClick();
    void DoCycle();
    void DoMouseDown(MouseButton button, ShiftState shift, POINT at);
    void DoMouseUp(MouseButton button, ShiftState shift, POINT at);
    static void CloseOverflowWindow();
    bool MinimizeSteps();
    void HookOwner();
    void UnhookOwner();
    static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND owner_;
    ShellNotifyFunction shell_;
    bool ownerHooked_ = false;
    WNDPROC ownerPreviousProc_ = nullptr;
    NOTIFYICONDATAW notifyData_{};
    UniqueIcon icon_;
    RecentIcons recentIcons_;
    HICON shownIcon_ = nullptr;  // icon_, or one of recentIcons_
    std::string hint_;
    bool showHint_ = true;
    bool iconVisible_ = false;
    bool enabled_ = true;
    HMENU popupMenu_ = nullptr;
    bool autoPopup_ = false;
    bool leftPopup_ = false;
    bool wantEnterExit_ = false;
    bool minimizeToTray_ = false;
    bool designPreview_ = false;
    bool appButtonHidden_ = false;
    std::vector<HICON> iconList_;
    int iconIndex_ = 0;
    bool cycleIcons_ = false;
    UINT cycleInterval_ = 0;
    int callbackVersion_ = 0;
    int requestedVersion_ = 0;
    Echo selectEcho_, contextMenuEcho_, keySelectEcho_;
    bool clickPending_ = false;
    bool clickWaiting_ = false;
    bool doubleClickSeen_ = false;
    bool cursorLeft_ = true;
    POINT lastCursor_{};
    SimpleTimer iconCycleTimer_;
    SimpleTimer clickDelayTimer_;
    SimpleTimer leaveTimer_;
    SimpleTimer addRetryTimer_;
};
