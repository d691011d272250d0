#include "widgets/licence_viewer_win.h"

#include "platform/text_win.h"
#include "platform/texts.h"

namespace {
constexpr int kWidth = 560, kHeight = 440, kMargin = 10, kButtonWidth = 75, kButtonHeight = 23;

// The edit control wants CR LF line ends.
std::wstring WithCrLf(const std::string& text) {
    std::wstring wide = Widen(text), out;
    out.reserve(wide.size() + wide.size() / 32);
    for (size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == L'\n' && (i == 0 || wide[i - 1] != L'\r'))
            out += L'\r';
        out += wide[i];
    }
    return out;
}
}  // namespace

void LicenceViewer::Show(HWND owner, const std::string& title, const std::string& text) {
    if (!Hwnd()) {
        RECT r{0, 0, kWidth, kHeight};
        if (!CreateWindowOf(L"TLicenceViewer", WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, L"", owner, CW_USEDEFAULT,
                            CW_USEDEFAULT, r.right, r.bottom)) {
            return;
        }
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            font_.Reset(CreateFontIndirectW(&metrics.lfMessageFont));
        edit_ = CreateWindowExW(
            WS_EX_CLIENTEDGE, L"EDIT", L"",
            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0, 0,
            Hwnd(), nullptr, ProgramInstance(), nullptr);
        ok_ = CreateWindowExW(0, L"BUTTON", Widen(Text(TextId::ButtonOk)).c_str(),
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0, Hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), ProgramInstance(), nullptr);
        for (HWND child : {edit_, ok_})
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
        LayoutChildren();
        // Centred on the owner (the About box), or on the screen.
        RECT area{};
        if (!owner || !IsWindowVisible(owner) || !GetWindowRect(owner, &area))
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        SetWindowPos(Hwnd(), nullptr, (area.left + area.right - kWidth) / 2, (area.top + area.bottom - kHeight) / 2, 0,
                     0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowTextW(Hwnd(), Widen(title).c_str());
    SetWindowTextW(edit_, WithCrLf(text).c_str());
    ShowWindow(Hwnd(), SW_SHOW);
    SetForegroundWindow(Hwnd());
    SetFocus(ok_);
}

void LicenceViewer::LayoutChildren() {
    RECT client;
    GetClientRect(Hwnd(), &client);
    const int buttonTop = client.bottom - kMargin - kButtonHeight;
    MoveWindow(edit_, kMargin, kMargin, client.right - 2 * kMargin, buttonTop - 2 * kMargin, TRUE);
    MoveWindow(ok_, client.right - kMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight, TRUE);
}

LRESULT LicenceViewer::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            if (edit_)
                LayoutChildren();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
                DestroyOwnWindow();
            return 0;
        case WM_CLOSE:
            DestroyOwnWindow();
            return 0;
        case WM_NCDESTROY:
            edit_ = ok_ = nullptr;
            break;
        default:
            break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}
