#include "tray/tray_icon_win.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <utility>

#include "platform/dib_win.h"
#include "platform/messages.h"
#include "platform/text_win.h"
#include "platform/window_win.h"
#include "tray/icon_mask.h"
#include "tray/notify_text.h"

namespace {
constexpr UINT kBaseFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

bool ProcessIsElevated() {
    UniqueKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put()))
        return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

// Copies a UTF-8 text into a fixed shell field of `units` + 1 wide characters, cut and always terminated.
template <size_t N>
void FillField(wchar_t (&field)[N], const std::string& text) {
    std::wstring wide = Widen(CutToUtf16Units(text, N - 1));
    std::fill(std::begin(field), std::end(field), L'\0');
    std::copy_n(wide.begin(), std::min(wide.size(), N - 1), field);
}

}  // namespace

// One per program: the hidden window that receives every tray icon's callbacks and hears the shell restart. It
// is a hidden top-level window because message-only windows get no broadcasts such as "TaskbarCreated".
class TrayIconHandler : public Window {
  public:
    TrayIconHandler() : taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
        CreateWindowOf(L"LumivexTrayIconHandler", WS_EX_TOOLWINDOW, WS_POPUP, L"", nullptr, 0, 0, 0, 0);
        // An elevated program hears nothing from the (non-elevated) shell unless it lets these messages in; an
        // Explorer restart would otherwise lose the icon for good.
        if (Hwnd() && ProcessIsElevated()) {
            ChangeWindowMessageFilterEx(Hwnd(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
            ChangeWindowMessageFilterEx(Hwnd(), kTrayCallbackMessage, MSGFLT_ALLOW, nullptr);
        }
    }

    static TrayIconHandler& Acquire() {
        if (!instance)
            instance = std::make_unique<TrayIconHandler>();
        return *instance;
    }
    // The last icon to go takes the handler and its window with it.
    static void Release(UINT id) {
        if (!instance)
            return;
        instance->icons_.erase(id);
        if (instance->icons_.empty())
            instance.reset();
    }
    static TrayIconHandler* Instance() { return instance.get(); }

    UINT Add(TrayIcon* icon) {
        UINT id = nextId_++;
        icons_[id] = icon;
        return id;
    }
    UINT TaskbarCreatedMessage() const { return taskbarCreated_; }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kTrayCallbackMessage) {
            // Version 4 puts the icon's id in lParam's high word and the anchor point in wParam; the classic layout
            // has the id in wParam and the message alone in lParam (ids start at 1, so the high word tells them
            // apart).
            const bool version4 = HIWORD(lParam) != 0;
            const UINT id = version4 ? HIWORD(lParam) : static_cast<UINT>(wParam);
            POINT anchor{};
            if (version4)
                anchor = {static_cast<short>(LOWORD(wParam)), static_cast<short>(HIWORD(wParam))};
            else
                GetCursorPos(&anchor);
            auto it = icons_.find(id);
            if (it != icons_.end())
                it->second->HandleCallback(LOWORD(lParam), anchor);
            return 0;
        }
        if (taskbarCreated_ && msg == taskbarCreated_) {
            // A handler may destroy an icon: walk a copy of the ids.
            std::vector<UINT> ids;
            for (const auto& entry : icons_)
                ids.push_back(entry.first);
            for (UINT id : ids) {
                auto it = icons_.find(id);
                if (it != icons_.end())
                    it->second->TaskbarCreated();
            }
            return 0;
        }
        switch (msg) {
            // The handler window lives exactly as long as the icons: no close or session end takes it away.
            case WM_DESTROY:
            case WM_CLOSE:
            case WM_QUERYENDSESSION:
            case WM_ENDSESSION:
            case WM_NCDESTROY:
                return 1;
            default:
                return Window::HandleMessage(msg, wParam, lParam);
        }
    }

  private:
    static std::unique_ptr<TrayIconHandler> instance;
    std::map<UINT, TrayIcon*> icons_;
    UINT nextId_ = 1;
    UINT taskbarCreated_;
};

std::unique_ptr<TrayIconHandler> TrayIconHandler::instance;

TrayIcon::TrayIcon(HWND owner, ShellNotifyFunction shell)
    : owner_(owner),
      shell_(std::move(shell)),
      iconCycleTimer_(1000, [this](SimpleTimer&) { CycleTick(); }),
      clickDelayTimer_(1000, [this](SimpleTimer&) { ClickDelayTick(); }),
      leaveTimer_(20, [this](SimpleTimer&) { LeaveTick(); }),
      addRetryTimer_(kAddRetryMs, [this](SimpleTimer&) { RetryAdd(); }) {
    TrayIconHandler& handler = TrayIconHandler::Acquire();
    notifyData_.cbSize = sizeof notifyData_;
    notifyData_.hWnd = handler.Hwnd();
    notifyData_.uID = handler.Add(this);
    notifyData_.uFlags = BaseFlags();
    notifyData_.uCallbackMessage = kTrayCallbackMessage;
    if (owner_)
        HookOwner();
}

TrayIcon::~TrayIcon() {
    // No ghost icon stays behind in the notification area.
    if (iconVisible_)
        RemoveTrayIcon();
    iconCycleTimer_.SetActive(false);
    clickDelayTimer_.SetActive(false);
    leaveTimer_.SetActive(false);
    addRetryTimer_.SetActive(false);
    UnhookOwner();
    TrayIconHandler::Release(notifyData_.uID);
}

void TrayIcon::Loaded() {
    if (owner_ && OnStartup) {
        bool showMainForm = true;
        OnStartup(*this, showMainForm);
        if (!showMainForm)
            HideMainWindow();
    }
    UpdateTrayIcon();
    SetIconVisible(iconVisible_);
    SetCycleIcons(cycleIcons_);
    SetWantEnterExitEvents(wantEnterExit_);
    SetCallbackVersion(requestedVersion_);
}

HWND TrayIcon::HandlerWindow() {
    TrayIconHandler* handler = TrayIconHandler::Instance();
    return handler ? handler->Hwnd() : nullptr;
}

UINT TrayIcon::TaskbarCreatedMessage() {
    return RegisterWindowMessageW(L"TaskbarCreated");
}

bool TrayIcon::Notify(DWORD message) {
    NOTIFYICONDATAW data = notifyData_;
    return (shell_ ? shell_(message, data) : Shell_NotifyIconW(message, &data)) != FALSE;
}

void TrayIcon::PrepareNotifyData() {
    notifyData_.hIcon = shownIcon_;
    if (!hint_.empty() && showHint_)
        FillField(notifyData_.szTip, hint_);
    else
        std::fill(std::begin(notifyData_.szTip), std::end(notifyData_.szTip), L'\0');
}

bool TrayIcon::AddTrayIcon() {
    iconVisible_ = true;
    PrepareNotifyData();
    if (Notify(NIM_ADD)) {
        addRetryTimer_.SetActive(false);
        // The shell forgets the callback version with the icon; a re-added icon asks for it again.
        if (requestedVersion_ != 0)
            SetCallbackVersion(requestedVersion_);
        return true;
    }
    // An icon that is already there only needs bringing up to date.
    if (Notify(NIM_MODIFY)) {
        addRetryTimer_.SetActive(false);
        return true;
    }
    // No taskbar yet (log-on, Explorer starting): keep trying until it takes the icon.
    if (!addRetryTimer_.Active())
        addRetryTimer_.SetActive(true);
    return false;
}

void TrayIcon::RetryAdd() {
    if (iconVisible_)
        AddTrayIcon();
    else
        addRetryTimer_.SetActive(false);
}

void TrayIcon::TaskbarCreated() {
    if (iconVisible_)
        AddTrayIcon();
}

bool TrayIcon::RemoveTrayIcon() {
    iconVisible_ = false;
    addRetryTimer_.SetActive(false);
    PrepareNotifyData();
    return Notify(NIM_DELETE);
}

bool TrayIcon::UpdateTrayIcon() {
    PrepareNotifyData();
    return Notify(NIM_MODIFY);
}

UINT TrayIcon::BaseFlags() const {
    // Version 4 hides the standard hint unless asked for it; the hint is what the icon shows when hovered.
    return requestedVersion_ == kCallbackVersion4 ? kBaseFlags | NIF_SHOWTIP : kBaseFlags;
}

// A shell that does not know version 4 (Windows before Vista) refuses it: the icon then asks for the classic callbacks,
// which every shell gives. Wine's shell differs from Windows here: it takes any version number without a check (so
// it never refuses), sends the version-4 layout and, after a button's own messages, NIN_SELECT or WM_CONTEXTMENU as
// Windows does, but never a keyboard's (its icons take no focus) and shows the hint with or without NIF_SHOWTIP.
void TrayIcon::SetCallbackVersion(int version) {
    requestedVersion_ = version;
    callbackVersion_ = version;
    notifyData_.uFlags = BaseFlags();
    if (!iconVisible_)
        return;  // asked for when the icon is added
    if (version == kCallbackVersion4) {
        notifyData_.uVersion = NOTIFYICON_VERSION_4;
        if (Notify(NIM_SETVERSION))
            return;
        callbackVersion_ = 0;
        notifyData_.uVersion = 0;
    } else if (version == 0 || version == 1) {
        notifyData_.uVersion = version == 1 ? NOTIFYICON_VERSION : 0;
    }
    Notify(NIM_SETVERSION);
}

void TrayIcon::HideBalloon() {
    notifyData_.uFlags |= NIF_INFO;
    notifyData_.szInfo[0] = L'\0';
    UpdateTrayIcon();
    // Later tip and icon updates must not carry the balloon flag.
    notifyData_.uFlags = BaseFlags();
}

bool TrayIcon::ShowBalloon(const std::string& title,
                           const std::string& text,
                           BalloonIconKind kind,
                           BYTE timeoutSeconds) {
    HideBalloon();
    notifyData_.uFlags |= NIF_INFO;
    FillField(notifyData_.szInfo, text);
    FillField(notifyData_.szInfoTitle, title);
    notifyData_.uTimeout = timeoutSeconds * 1000u;
    notifyData_.dwInfoFlags = static_cast<DWORD>(kind);
    bool shown = UpdateTrayIcon();
    notifyData_.uFlags = BaseFlags();
    return shown;
}

UniqueIcon TrayIcon::IconFromPixels(std::vector<uint32_t> pixels, COLORREF maskColor, int size) {
    if (size <= 0 || pixels.size() != static_cast<size_t>(size) * static_cast<size_t>(size))
        return {};
    void* bits = nullptr;
    UniqueBitmap color = CreateTopDownDib(size, size, &bits);
    if (!color || !bits)
        return {};
    std::vector<uint8_t> mask = BuildIconMask(pixels, size, size, maskColor);
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(uint32_t));
    UniqueBitmap maskBitmap(CreateBitmap(size, size, 1, 1, mask.data()));
    ICONINFO iconInfo{TRUE, 0, 0, maskBitmap.Get(), color.Get()};
    // The icon gets its own copies of both bitmaps; ours go with this scope.
    return UniqueIcon(CreateIconIndirect(&iconInfo));
}

void TrayIcon::SetIcon(HICON icon) {
    UniqueIcon previous(icon_.Release());
    icon_.Reset(icon ? CopyIcon(icon) : nullptr);
    shownIcon_ = icon_.Get();
    UpdateTrayIcon();
}

void TrayIcon::SetIconAndHint(UniqueIcon icon, const std::string& hint) {
    UniqueIcon previous(icon_.Release());  // destroyed after the shell has the new one
    icon_ = std::move(icon);
    shownIcon_ = icon_.Get();
    hint_ = hint;
    UpdateTrayIcon();
}

void TrayIcon::SetPictureAndHint(const TrayPicture& picture, bool transparent, const std::string& hint) {
    UniqueIcon evicted;  // destroyed after the shell has the new one
    shownIcon_ = recentIcons_.IconFor(picture, transparent, evicted);
    hint_ = hint;
    UpdateTrayIcon();
}

void TrayIcon::SetIconVisible(bool value) {
    if (value)
        AddTrayIcon();
    else
        RemoveTrayIcon();
}

void TrayIcon::SetPopupMenu(HMENU menu, bool autoPopup) {
    popupMenu_ = menu;
    autoPopup_ = autoPopup;
}
