// What the tray component offers and the program does not use; tray_icon_win.cpp holds what the program does.
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/dib_win.h"
#include "tray/tray_icon_win.h"

namespace {
constexpr int kIconSize = 16;
}  // namespace

UniqueIcon TrayIcon::IconFromBitmap(HBITMAP bitmap, COLORREF maskColor) {
    if (!bitmap)
        return {};
    std::vector<uint32_t> pixels(kIconSize * kIconSize, 0);
    DIBSECTION section{};
    if (GetObjectW(bitmap, sizeof section, &section) == sizeof section && section.dsBm.bmBits &&
        section.dsBmih.biBitCount == 32 && section.dsBm.bmWidth >= kIconSize && section.dsBm.bmHeight >= kIconSize) {
        // A 32-bit picture is read straight from its bits, so it may stay selected into its painter's DC.
        const bool bottomUp = section.dsBmih.biHeight > 0;
        const auto* src = static_cast<const uint8_t*>(section.dsBm.bmBits);
        for (int y = 0; y < kIconSize; ++y) {
            int row = bottomUp ? section.dsBm.bmHeight - 1 - y : y;
            std::memcpy(&pixels[y * kIconSize], src + static_cast<size_t>(row) * section.dsBm.bmWidthBytes,
                        kIconSize * sizeof(uint32_t));
        }
    } else {
        void* bits = nullptr;
        UniqueBitmap copy = CreateTopDownDib(kIconSize, kIconSize, &bits);
        if (!copy || !bits)
            return {};
        UniqueMemoryDc from(CreateCompatibleDC(nullptr));
        UniqueMemoryDc to(CreateCompatibleDC(nullptr));
        {
            SelectGuard a(from.Get(), bitmap);
            SelectGuard b(to.Get(), copy.Get());
            BitBlt(to.Get(), 0, 0, kIconSize, kIconSize, from.Get(), 0, 0, SRCCOPY);
        }
        GdiFlush();
        std::memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
    }
    return IconFromPixels(std::move(pixels), maskColor);
}

void TrayIcon::SetHint(const std::string& hint) {
    hint_ = hint;
    UpdateTrayIcon();
}

void TrayIcon::SetShowHint(bool value) {
    showHint_ = value;
    UpdateTrayIcon();
}

bool TrayIcon::ShowHint() const {
    return showHint_;
}

void TrayIcon::SetEnabled(bool value) {
    enabled_ = value;
}

bool TrayIcon::Enabled() const {
    return enabled_;
}

void TrayIcon::SetLeftPopup(bool value) {
    leftPopup_ = value;
}

bool TrayIcon::LeftPopup() const {
    return leftPopup_;
}

void TrayIcon::PopupMenuAtCursor() {
    POINT at{};
    if (GetCursorPos(&at))
        PopupMenuAt(at.x, at.y);
}

// The menu goes to the owner window (its commands and owner-drawing messages arrive there). The window must be in
// the foreground while the menu is up, or the menu does not close when the user clicks elsewhere; the WM_NULL
// afterwards lets the foreground switch complete, or the next popup would close at once.
void TrayIcon::PopupMenuAt(int x, int y) {
    if (!popupMenu_)
        return;
    HWND target = owner_ ? owner_ : HandlerWindow();
    SetForegroundWindow(target);
    TrackPopupMenuEx(popupMenu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, target, nullptr);
    PostMessageW(target, WM_NULL, 0, 0);
    CloseOverflowWindow();
}

void TrayIcon::SetWantEnterExitEvents(bool value) {
    wantEnterExit_ = value;
    leaveTimer_.SetActive(value);
}

bool TrayIcon::WantEnterExitEvents() const {
    return wantEnterExit_;
}

void TrayIcon::LeaveTick() {
    if (cursorLeft_)
        return;
    POINT at{};
    GetCursorPos(&at);
    if (at.x != lastCursor_.x || at.y != lastCursor_.y) {
        cursorLeft_ = true;
        if (OnMouseExit)
            OnMouseExit(*this);
    }
}

void TrayIcon::SetMinimizeToTray(bool value) {
    minimizeToTray_ = value;
}

bool TrayIcon::MinimizeToTray() const {
    return minimizeToTray_;
}

void TrayIcon::MinimizeToTrayNow() {
    HideMainWindow();
    SetIconVisible(true);
}

bool TrayIcon::MinimizeSteps() {
    if (!minimizeToTray_ || !OnMinimizeToTray)
        return false;
    OnMinimizeToTray(*this);
    MinimizeToTrayNow();
    return true;
}

void TrayIcon::SetIconList(std::vector<HICON> icons) {
    iconList_ = std::move(icons);
    SetIconIndex(0);
}

void TrayIcon::SetIconIndex(int index) {
    if (iconList_.empty()) {
        iconIndex_ = 0;
        UpdateTrayIcon();
        return;
    }
    const int count = static_cast<int>(iconList_.size());
    iconIndex_ = std::clamp(index, 0, count - 1);
    SetIcon(iconList_[iconIndex_]);
}

int TrayIcon::IconIndex() const {
    return iconIndex_;
}

void TrayIcon::SetCycleIcons(bool value) {
    cycleIcons_ = value;
    if (value) {
        SetIconIndex(0);
        iconCycleTimer_.SetPeriodMs(cycleInterval_);
        iconCycleTimer_.SetActive(true);  // a zero interval leaves it stopped until one is set
    } else {
        iconCycleTimer_.SetActive(false);
    }
}

bool TrayIcon::CycleIcons() const {
    return cycleIcons_;
}

void TrayIcon::SetCycleInterval(UINT ms) {
    if (ms == cycleInterval_)
        return;
    cycleInterval_ = ms;
    SetCycleIcons(cycleIcons_);
}

UINT TrayIcon::CycleInterval() const {
    return cycleInterval_;
}

void TrayIcon::CycleTick() {
    if (iconList_.empty())
        return;
    SetIcon(iconList_[iconIndex_]);
    DoCycle();
    SetIconIndex(static_cast<int>(iconList_.size()) - 1 > iconIndex_ ? iconIndex_ + 1 : 0);
}

void TrayIcon::DoCycle() {
    // The next index is reported against the count, so the last image announces the count while the cycle
    // continues with 0.
    int next = !iconList_.empty() && static_cast<int>(iconList_.size()) > iconIndex_ ? iconIndex_ + 1 : 0;
    if (OnCycle)
        OnCycle(*this, next);
}

void TrayIcon::SetDesignPreview(bool value) {
    designPreview_ = value;
}

bool TrayIcon::DesignPreview() const {
    return designPreview_;
}
