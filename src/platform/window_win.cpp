#include "platform/window_win.h"
#include "platform/common_controls_win.h"

#include <exception>
#include <string>

#include "platform/error_report_win.h"
#include "platform/texts.h"

HINSTANCE ProgramInstance() {
    return GetModuleHandleW(nullptr);
}

namespace {
// No exception may unwind through the system's message dispatch: it ends the handler and is reported.
template <typename F>
auto Guarded(F&& f, decltype(f()) fallback) -> decltype(f()) {
    try {
        return f();
    } catch (const std::exception& e) {
        ReportError(FormatText(TextId::ErrorInAction, {e.what()}));
    } catch (...) {
        ReportError(Text(TextId::ErrorUnexpected));
    }
    return fallback;
}

// By the time a base destructor runs, the derived part of the object is gone: the window is detached first, so
// the messages DestroyWindow sends (WM_DESTROY, WM_NCDESTROY, focus changes) go to DefWindowProc and never to a
// destroyed HandleMessage.
void DetachAndDestroy(HWND& hwnd) {
    HWND h = hwnd;
    hwnd = nullptr;
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    DestroyWindow(h);
}
}  // namespace

Window::~Window() {
    if (hwnd_)
        DetachAndDestroy(hwnd_);
}

void Window::DestroyOwnWindow() {
    if (hwnd_) {
        HWND h = hwnd_;
        DestroyWindow(h);  // WM_NCDESTROY clears hwnd_ and the back pointer
        hwnd_ = nullptr;
    }
}

bool Window::CreateWindowOf(const wchar_t* className,
                            DWORD exStyle,
                            DWORD style,
                            const wchar_t* title,
                            HWND parent,
                            int x,
                            int y,
                            int width,
                            int height,
                            HICON icon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(ProgramInstance(), className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = WndProc;
        wc.hInstance = ProgramInstance();
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = className;
        wc.hIcon = icon;
        wc.hIconSm = icon;
        if (!RegisterClassExW(&wc))
            return false;
    }
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr, ProgramInstance(),
                           this) != nullptr;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK Window::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        LRESULT r = Guarded([&] { return self->HandleMessage(msg, wParam, lParam); }, LRESULT{0});
        self->hwnd_ = nullptr;
        return r;
    }
    return Guarded([&] { return self->HandleMessage(msg, wParam, lParam); }, LRESULT{0});
}

// As for windows: detached before it is destroyed, so no message of the teardown reaches the derived dialog.
Dialog::~Dialog() {
    if (hwnd_ && modeless_)
        DetachAndDestroy(hwnd_);
}

// No dialog opens while the session ends: it would only hold the log-off up.
INT_PTR Dialog::ShowModal(HWND owner, int templateId) {
    if (SessionEnding())
        return IDCANCEL;
    modeless_ = false;
    CommonControls();
    return DialogBoxParamW(ProgramInstance(), MAKEINTRESOURCEW(templateId), owner, DlgProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::ShowModal(HWND owner, const DLGTEMPLATE* dialogTemplate) {
    if (SessionEnding())
        return IDCANCEL;
    modeless_ = false;
    CommonControls();
    return DialogBoxIndirectParamW(ProgramInstance(), dialogTemplate, owner, DlgProc, reinterpret_cast<LPARAM>(this));
}

HWND Dialog::CreateModeless(HWND owner, int templateId) {
    modeless_ = true;
    CommonControls();
    return CreateDialogParamW(ProgramInstance(), MAKEINTRESOURCEW(templateId), owner, DlgProc,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return FALSE;
    INT_PTR r = Guarded([&] { return self->HandleMessage(msg, wParam, lParam); }, INT_PTR{FALSE});
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return r;
}
