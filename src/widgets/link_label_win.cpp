#include "widgets/link_label_win.h"

#include "platform/text_win.h"
#include "widgets/link_markup.h"

namespace {
constexpr COLORREF kLinkColor = RGB(0, 102, 204);
}

bool LinkLabel::Create(HWND parent, int x, int y, int width, int height) {
    return CreateWindowOf(L"TLinkLabel", 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP, L"", parent, x, y, width, height);
}

void LinkLabel::SetCaption(const std::string& caption) {
    caption_ = caption;
    SetWindowTextW(Hwnd(), Widen(LinkMarkupPlainText(caption)).c_str());  // what screen readers and tests see
    Layout();
}

void LinkLabel::SetFontColor(COLORREF color) {
    fontColor_ = color;
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void LinkLabel::SetFont(HFONT font) {
    font_ = font;
    LOGFONTW lf{};
    GetObjectW(font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfUnderline = TRUE;
    underlined_.Reset(CreateFontIndirectW(&lf));
    Layout();
}

RECT LinkLabel::LinkRect(int link) const {
    for (const Piece& p : pieces_)
        if (p.Link == link)
            return p.Rect;
    return RECT{};
}

HGDIOBJ LinkLabel::FontFor(int link) const {
    if (link >= 0 && underlined_)
        return underlined_.Get();
    return font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT);
}

void LinkLabel::Measure(HDC dc) {
    RECT client;
    GetClientRect(Hwnd(), &client);
    int x = 0;
    for (Piece& piece : pieces_) {
        SelectGuard select(dc, FontFor(piece.Link));
        SIZE size{};
        GetTextExtentPoint32W(dc, piece.Text.c_str(), static_cast<int>(piece.Text.size()), &size);
        piece.Rect = RECT{x, 0, x + size.cx, client.bottom};
        x += size.cx;
    }
}

void LinkLabel::Layout() {
    pieces_.clear();
    if (!Hwnd())
        return;
    for (const LinkSegment& s : ParseLinkMarkup(caption_))
        pieces_.push_back(Piece{Widen(s.Text), s.Link, {}});
    WindowDc dc(Hwnd());
    Measure(dc.Get());
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void LinkLabel::Paint(HDC dc) {
    RECT client;
    GetClientRect(Hwnd(), &client);
    HBRUSH background = reinterpret_cast<HBRUSH>(SendMessageW(
        GetParent(Hwnd()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Hwnd())));
    FillRect(dc, &client, background ? background : GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    Measure(dc);  // the painting device context has the last word on where the links are
    for (const Piece& p : pieces_) {
        SelectGuard select(dc, FontFor(p.Link));
        SetTextColor(dc, p.Link >= 0 ? kLinkColor : fontColor_);
        RECT r = p.Rect;
        DrawTextW(dc, p.Text.c_str(), static_cast<int>(p.Text.size()), &r,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
    }
    if (GetFocus() == Hwnd()) {
        RECT focus = LinkRect(0);
        if (focus.right > focus.left)
            DrawFocusRect(dc, &focus);
    }
}

int LinkLabel::LinkAt(POINT p) const {
    for (const Piece& piece : pieces_)
        if (piece.Link >= 0 && PtInRect(&piece.Rect, p))
            return piece.Link;
    return -1;
}

void LinkLabel::Click(int link) {
    for (const Piece& p : pieces_) {
        if (p.Link == link) {
            if (OnLinkClick)
                OnLinkClick(*this, link, Narrow(p.Text));
            return;
        }
    }
}

LRESULT LinkLabel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Hwnd(), &ps);
            Paint(dc);
            EndPaint(Hwnd(), &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        // As a static control does: a window that scales its children for another DPI hands them new fonts so.
        case WM_SETFONT:
            SetFont(reinterpret_cast<HFONT>(wParam));
            if (LOWORD(lParam))
                InvalidateRect(Hwnd(), nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_SIZE:
            Layout();
            return 0;
        case WM_SETCURSOR: {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(Hwnd(), &p);
            if (LinkAt(p) >= 0) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        }
        case WM_LBUTTONDOWN:
            pressed_ = LinkAt(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            if (pressed_ >= 0)
                SetFocus(Hwnd());
            return 0;
        case WM_LBUTTONUP: {
            int link = LinkAt(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            // A click is a press and a release on the same link; the handler may change the caption.
            bool clicked = link >= 0 && link == pressed_;
            pressed_ = -1;
            if (clicked)
                Click(link);
            return 0;
        }
        case WM_GETDLGCODE: {
            // Enter and Space follow the link; every other key keeps its dialog meaning (Tab, Esc).
            const MSG* m = reinterpret_cast<const MSG*>(lParam);
            if (m && m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_SPACE))
                return DLGC_WANTMESSAGE;
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_SPACE) {
                Click(0);
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(Hwnd(), nullptr, TRUE);
            return 0;
        default:
            break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}
