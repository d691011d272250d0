#include "app/about_box_win.h"

#include "platform/text_win.h"
#include "platform/texts.h"
#include "platform/window_win.h"
#include "resource.h"

namespace {
constexpr int kLeft = 80, kRowWidth = 280, kRowHeight = 18, kBandHeight = 48;
constexpr int kPictureSize = 48;
constexpr COLORREF kBandColor = RGB(240, 240, 240);
constexpr COLORREF kBandLine = RGB(223, 223, 223);

void MoveBy(HWND child, int dy) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(child, nullptr, r.left, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Gives the form a client area of width x height, keeping its position.
void SetClientSize(HWND form, int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(form, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(form, GWL_EXSTYLE)));
    SetWindowPos(form, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

std::string LicenceText() {
    HRSRC info = FindResourceW(ProgramInstance(), MAKEINTRESOURCEW(IDR_LICENSE), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL data = info ? LoadResource(ProgramInstance(), info) : nullptr;
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(ProgramInstance(), info)) : std::string();
}

HWND AboutBox::Static(const std::string& text, int x, int y, int width, int height, HFONT font) {
    HWND h = CreateWindowExW(0, L"STATIC", Widen(text).c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX, x, y, width,
                             height, form_, nullptr, ProgramInstance(), nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return h;
}

void AboutBox::Create(HWND form, HICON picture, const std::string& homeCaption) {
    form_ = form;
    picture_ = picture;
    // Laid out in pixels of 96 dpi with a font made for 96 dpi, then scaled as a whole to the DPI of the monitor it
    // is on, so rows, fonts and the band keep their proportions at every scale.
    scaler_.Attach(form, kDefaultDpi);
    white_.Reset(CreateSolidBrush(RGB(255, 255, 255)));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW lf{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        lf = metrics.lfMessageFont;
    else
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(kDefaultDpi), static_cast<int>(SystemDpi()));
    font_.Reset(CreateFontIndirectW(&lf));
    lf.lfWeight = FW_BOLD;
    lf.lfHeight = lf.lfHeight * 4 / 3;
    boldFont_.Reset(CreateFontIndirectW(&lf));

    SetClientSize(form, kClientWidth, kClientHeight);
    Static("Lumivex", kLeft, 14, kRowWidth, 24, boldFont_.Get());
    versionLabel_ = Static("Version ", kLeft, 40, kRowWidth, kRowHeight, font_.Get());
    auto link = [&](LinkLabel& label, const std::string& caption, int x, int y) {
        label.Create(form, x, y, kClientWidth - x - 12, kRowHeight);
        label.SetFont(font_.Get());
        label.SetCaption(caption);
    };
    link(HomePageLink, "<link>" + homeCaption + "</link>", kLeft, 58);
    rights_ = Static("", kLeft, 76, kRowWidth, kRowHeight, font_.Get());
    updates_ = Static("", kLeft, 102, kRowWidth, kRowHeight, font_.Get());
    link(LabelDownload, "<link>" + std::string(Text(TextId::UpdateCheck)) + "</link>", kLeft + 12, 120);
    link(SupportLink, "", kLeft, 144);
    link(LicenceLink, "", kLeft, 162);
    donationImage_ = RECT{kLeft, 184, kLeft + 16, 184 + 16};
    link(DonationLink, "", kLeft + 22, 183);
    okButton_ =
        CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                        kClientWidth - 12 - 75, kClientHeight - kBandHeight + (kBandHeight - 23) / 2, 75, 23, form,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButton1Id)), ProgramInstance(), nullptr);
    SendMessageW(okButton_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    SetTexts();
    scaler_.Rescale(WindowDpi(form), nullptr);
}

RECT AboutBox::DonationImageRect() const {
    return RECT{Px(donationImage_.left), Px(donationImage_.top), Px(donationImage_.right), Px(donationImage_.bottom)};
}

int AboutBox::Px(int length) const {
    return ScaleForDpi(length, scaler_.Dpi());
}

// The update label keeps its text until the next check. The title is the program's name in Chinese, as it always was,
// and names the menu item that opens the box in English.
void AboutBox::SetTexts() {
    if (!form_)
        return;
    SetWindowTextW(form_, Widen(Text(TextId::AboutTitle)).c_str());
    SetWindowTextW(rights_, Widen(Text(TextId::AboutRightsReserved)).c_str());
    SetWindowTextW(updates_, Widen(Text(TextId::AboutUpdates)).c_str());
    SupportLink.SetCaption("<link>" + std::string(Text(TextId::AboutSupport)) + "</link>");
    LicenceLink.SetCaption("<link>" + std::string(Text(TextId::AboutLicence)) + "</link>");
    DonationLink.SetCaption("<link>" + std::string(Text(TextId::AboutDonate)) + "</link>");
    SetWindowTextW(okButton_, Widen(Text(TextId::ButtonOk)).c_str());
}

void AboutBox::HideDonation() {
    if (!donationVisible_)
        return;
    donationVisible_ = false;
    ShowWindow(DonationLink.Hwnd(), SW_HIDE);
    donationImage_ = RECT{};
    MoveBy(okButton_, -Px(kDonationRowHeight));
    SetClientSize(form_, Px(kClientWidth), Px(kClientHeight - kDonationRowHeight));
    InvalidateRect(form_, nullptr, TRUE);
}

int AboutBox::BandTop() const {
    RECT client;
    GetClientRect(form_, &client);
    return client.bottom - Px(kBandHeight);
}

void AboutBox::Paint(HDC dc) {
    RECT client;
    GetClientRect(form_, &client);
    RECT band = client;
    band.top = BandTop();
    RECT body = client;
    body.bottom = band.top;
    FillRect(dc, &body, white_.Get());
    UniqueBrush bandBrush(CreateSolidBrush(kBandColor)), lineBrush(CreateSolidBrush(kBandLine));
    FillRect(dc, &band, bandBrush.Get());
    RECT line{band.left, band.top, band.right, band.top + 1};
    FillRect(dc, &line, lineBrush.Get());
    if (picture_)
        DrawIconEx(dc, Px(16), Px(14), picture_, Px(kPictureSize), Px(kPictureSize), 0, nullptr, DI_NORMAL);
    if (donationVisible_) {
        // The donation picture: a small red heart.
        UniqueBrush red(CreateSolidBrush(RGB(220, 40, 60)));
        UniquePen none(CreatePen(PS_NULL, 0, 0));
        SelectGuard brush(dc, red.Get()), pen(dc, none.Get());
        const RECT r = DonationImageRect();
        Ellipse(dc, r.left + 1, r.top + 2, r.left + 9, r.top + 10);
        Ellipse(dc, r.left + 7, r.top + 2, r.left + 15, r.top + 10);
        POINT tip[] = {{r.left + 1, r.top + 7}, {r.left + 15, r.top + 7}, {r.left + 8, r.top + 15}};
        Polygon(dc, tip, 3);
    }
}

bool AboutBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!form_)
        return false;
    switch (msg) {
        case WM_DPICHANGED:
            // Moved to a monitor of another scale: texts, links and the button follow; the form handles the rest.
            scaler_.DpiChanged(wParam, lParam);
            return false;
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(form_, &ps);
            Paint(dc);
            EndPaint(form_, &ps);
            result = 0;
            return true;
        }
        case WM_CTLCOLORSTATIC:
            SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
            result = reinterpret_cast<LRESULT>(white_.Get());
            return true;
        case WM_LBUTTONUP: {
            POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const RECT image = DonationImageRect();
            if (donationVisible_ && PtInRect(&image, p) && OnDonationImageClick) {
                OnDonationImageClick();
                result = 0;
                return true;
            }
            return false;
        }
        case WM_SETCURSOR: {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(form_, &p);
            const RECT image = DonationImageRect();
            if (reinterpret_cast<HWND>(wParam) == form_ && donationVisible_ && PtInRect(&image, p)) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                result = TRUE;
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}
