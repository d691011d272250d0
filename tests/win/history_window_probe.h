#pragma once

#include <string>

#include "app/history_window_win.h"

// The tests' way into the history window.
class HistoryWindowProbe {
  public:
    explicit HistoryWindowProbe(HistoryWindow& window) : w_(window) {}
    HWND Span(HistorySpan span) const { return w_.spans_[static_cast<size_t>(span)]; }
    HistorySpan Shown() const { return w_.view_.Span(); }
    HWND Row(size_t i) const { return w_.rows_[i]; }
    HWND NoGrowth() const { return w_.none_; }
    HWND Hover() const { return w_.hover_; }
    HWND Copy() const { return w_.copy_; }
    RECT Graph() const { return w_.GraphRect(); }
    UINT Dpi() const { return w_.dpi_; }

  private:
    HistoryWindow& w_;
};

// The program's message loop: dialog keys go to windows that hold controls.
inline void PumpWithDialogKeys(int ms) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
            if (root && (GetWindowLongW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && IsDialogMessageW(root, &msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < static_cast<DWORD>(ms));
}

inline void PressKey(HWND focus, WPARAM key) {
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    PumpWithDialogKeys(50);
}

// The text on the clipboard ("" when there is none).
inline std::wstring ClipboardText() {
    if (!OpenClipboard(nullptr))
        return L"";
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    std::wstring text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : L"";
    if (data)
        GlobalUnlock(data);
    CloseClipboard();
    return text;
}
