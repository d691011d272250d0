#include "system/task_dialog_emulated_win.h"

#include <algorithm>
#include <vector>

#include "platform/dpi_win.h"
#include "platform/messages.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "platform/unique_handle_win.h"
#include "platform/window_win.h"
#include "system/task_dialog_model.h"

namespace {
constexpr int kMargin = 14;
constexpr int kIconSize = 32;
constexpr int kButtonHeight = 24;
constexpr int kButtonGap = 6;
constexpr int kRowStep = 32;

LPCWSTR StockMainIcon(TaskIcon icon) {
    switch (icon) {
        case TaskIcon::Warning:
            return IDI_EXCLAMATION;
        case TaskIcon::Question:
            return IDI_QUESTION;
        case TaskIcon::Error:
            return IDI_HAND;
        case TaskIcon::Information:
            return IDI_ASTERISK;
        case TaskIcon::Shield:
            return IDI_WINLOGO;
        default:
            return nullptr;
    }
}

// The footer's icons are the main icons without the empty slot 5.
LPCWSTR StockFooterIcon(TaskFooterIcon icon) {
    return icon == TaskFooterIcon::Shield ? StockMainIcon(TaskIcon::Shield)
                                          : StockMainIcon(static_cast<TaskIcon>(icon));
}

UniqueFont MakeFont(int points, int weight) {
    WindowDc dc(nullptr);
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(points, GetDeviceCaps(dc.Get(), LOGPIXELSY), 72);
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy(lf.lfFaceName, L"Tahoma");
    return UniqueFont(CreateFontIndirectW(&lf));
}

// An empty modal dialog frame; the controls are laid out in code.
struct alignas(4) EmptyTemplate {
    DLGTEMPLATE Header;
    WORD Menu, WindowClass, Title;
};

class EmulatedTaskDialog : public Dialog {
  public:
    EmulatedTaskDialog(TaskDialogTexts& dialog, const TaskDialogParams& params) : d_(dialog), p_(params) {}

    int Run() {
        EmptyTemplate t{};
        t.Header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        t.Header.dwExtendedStyle = WS_EX_DLGMODALFRAME;
        INT_PTR r = ShowModal(p_.Parent, &t.Header);
        return r < 0 ? 0 : static_cast<int>(r);
    }

  protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_INITDIALOG:
                TakeOverDialogScaling(Hwnd());
                scaler_.Attach(Hwnd(), WindowDpi(Hwnd()));
                Build();
                PostMessageW(Hwnd(), kDialogShownMessage, 0, 0);
                return FALSE;  // the focus is set
            case kDialogShownMessage:
                NotifyTaskDialogShown(Hwnd(), false);
                return TRUE;
            case WM_COMMAND:
                return OnCommand(LOWORD(wParam));
            case WM_CLOSE:
                Finish(IDCANCEL);  // the close box
                return TRUE;
            case WM_DPICHANGED:
                scaler_.DpiChanged(wParam, lParam);
                return TRUE;
            case WM_ERASEBKGND:
                return PaintBackground(reinterpret_cast<HDC>(wParam));
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN:
                return InPanel(reinterpret_cast<HWND>(lParam)) ? PanelColors(reinterpret_cast<HDC>(wParam)) : FALSE;
            default:
                return FALSE;
        }
    }

  private:
    HWND Add(const wchar_t* cls, const std::string& text, DWORD style, RECT r, int id, HFONT font) {
        HWND h = CreateWindowExW(0, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, Hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ProgramInstance(), nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : font_.Get()), FALSE);
        return h;
    }

    struct Extent {
        int Cx, Cy;
    };
    Extent Measure(const std::string& text, HFONT font, int width) {
        WindowDc dc(Hwnd());
        SelectGuard select(dc.Get(), font);
        std::wstring w = Widen(text);
        RECT r{0, 0, width, 0};
        UINT format = DT_CALCRECT | DT_NOPREFIX | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE);
        DrawTextW(dc.Get(), w.c_str(), static_cast<int>(w.size()), &r, format);
        return {static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
    }

    int AddText(const std::string& text, HFONT font, int x, int y, int width) {
        int h = Measure(text, font, width).Cy;
        Add(L"STATIC", text, SS_LEFT | SS_NOPREFIX, {x, y, x + width, y + h}, -1, font);
        return h;
    }

    void Build() {
        font_ = MakeFont(8, FW_NORMAL);
        boldFont_ = MakeFont(10, FW_BOLD);
        SetWindowTextW(Hwnd(), Widen(ExpandLineBreaks(p_.Caption)).c_str());
        const std::string instruction = ExpandLineBreaks(d_.Instruction), content = ExpandLineBreaks(d_.Content),
                          expanded = ExpandLineBreaks(d_.ExpandedInfo), footer = ExpandLineBreaks(d_.Footer);
        std::vector<std::string> custom = SplitDialogList(d_.ButtonList), radios = SplitDialogList(d_.RadioList),
                                 selection = SplitDialogList(d_.SelectionList);

        const bool commandLinks = (p_.Flags & (kTdfUseCommandLinks | kTdfUseCommandLinksNoIcon)) && !custom.empty();
        // The row: OK, Yes, No, Cancel, Retry, Close, then the custom buttons, placed from the right.
        std::vector<std::pair<int, std::string>> row;
        for (const CommonButtonInfo& b : CommonButtons())
            if (p_.CommonButtons & b.Flag)
                row.push_back({b.EmulatedId, Text(b.Caption)});
        if (!commandLinks)
            for (size_t i = 0; i < custom.size(); ++i)
                row.push_back({kFirstCustomButtonId + static_cast<int>(i), custom[i]});
        std::vector<int> widths;
        for (const auto& b : row)
            widths.push_back(ButtonWidthFor(Measure(StripAccelerators(b.second), font_.Get(), 0).Cx));

        LPCWSTR mainIcon = StockMainIcon(p_.MainIcon);
        const int indent = mainIcon ? kMargin + kIconSize + 10 : kMargin;
        const int width =
            WidenForOneButtonRow(EmulatedDialogWidth(p_.Width, Measure(instruction, boldFont_.Get(), 0).Cx,
                                                     Measure(content, font_.Get(), 0).Cx, d_.ButtonList, d_.RadioList),
                                 widths, indent, kMargin, kButtonGap);
        const int textWidth = width - indent - kMargin;
        int y = kMargin;
        if (mainIcon) {
            HWND icon =
                Add(L"STATIC", "", SS_ICON, {kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize}, -1, nullptr);
            SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, mainIcon)), 0);
        }
        for (auto [text, font] : {std::pair{instruction, boldFont_.Get()}, std::pair{content, font_.Get()},
                                  std::pair{expanded, font_.Get()}}) {
            if (!text.empty())
                y += AddText(text, font, indent, y, textWidth) + 8;
        }
        if (mainIcon)
            y = std::max(y, kMargin + kIconSize + 8);

        if (commandLinks) {
            for (size_t i = 0; i < custom.size(); ++i) {
                std::string caption = (p_.Flags & kTdfUseCommandLinksNoIcon) ? custom[i] : "\xE2\x86\x92 " + custom[i];
                int h = std::max(Measure(caption, font_.Get(), textWidth - 16).Cy + 16, 36);
                Add(L"BUTTON", caption, BS_PUSHBUTTON | BS_MULTILINE | BS_LEFT | WS_TABSTOP,
                    {indent, y, indent + textWidth, y + h}, kFirstCustomButtonId + static_cast<int>(i), nullptr);
                buttonIds_.push_back(kFirstCustomButtonId + static_cast<int>(i));
                y += h + 4;
            }
        }
        const int radioCount = static_cast<int>(radios.size());
        // The radio whose id is DefaultRadio starts checked, else the first.
        const int checkedRadio =
            p_.DefaultRadio - kFirstRadioButtonId < radioCount && p_.DefaultRadio >= kFirstRadioButtonId
                ? p_.DefaultRadio - kFirstRadioButtonId
                : 0;
        for (size_t i = 0; i < radios.size(); ++i) {
            int id = kFirstRadioButtonId + static_cast<int>(i);
            int h = std::max(Measure(radios[i], font_.Get(), textWidth - 20).Cy + 4, 20);
            HWND radio =
                Add(L"BUTTON", radios[i], BS_AUTORADIOBUTTON | BS_MULTILINE | (i == 0 ? WS_GROUP | WS_TABSTOP : 0),
                    {indent, y, indent + textWidth, y + h}, id, nullptr);
            radioIds_.push_back(id);
            if (static_cast<int>(i) == checkedRadio)
                SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
            y += h + 2;
        }
        if (!selection.empty()) {
            selection_ = Add(L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                             {indent, y, indent + textWidth, y + 200}, kSelectionControlId, nullptr);
            int chosen = 0;
            for (size_t i = 0; i < selection.size(); ++i) {
                SendMessageW(selection_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(selection[i]).c_str()));
                if (selection[i] == d_.QueryText)
                    chosen = static_cast<int>(i);
            }
            SendMessageW(selection_, CB_SETCURSEL, chosen, 0);
            y += 30;
        }
        if (p_.Flags & kTaskQueryEdit) {
            query_ = Add(L"EDIT", d_.QueryText,
                         WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP | ((p_.Flags & kTaskQueryMasked) ? ES_PASSWORD : 0),
                         {indent, y, indent + textWidth, y + 22}, kQueryControlId, nullptr);
            if (p_.Flags & kTaskQueryMasked)
                SendMessageW(query_, EM_SETPASSWORDCHAR, L'*', 0);
            y += 30;
        }
        panelBottom_ = y + 4;
        y = panelBottom_ + 8;

        std::vector<ButtonPlace> places = LayoutButtonRow(widths, width, indent, y, kMargin, kButtonGap, kRowStep);
        int rowBottom = y;
        for (size_t i = 0; i < row.size(); ++i) {
            const int id = row[i].first;
            const bool isOk = id == IDOK;
            Add(L"BUTTON", row[i].second, (isOk ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP,
                {places[i].X, places[i].Y, places[i].X + widths[i], places[i].Y + kButtonHeight}, id, nullptr);
            buttonIds_.push_back(id);
            rowBottom = std::max(rowBottom, places[i].Y + kButtonHeight + 10);
        }
        y = rowBottom;
        for (size_t i = 0; i < custom.size() && !escapeId_; ++i)
            if (IsCancelCaption(custom[i]))
                escapeId_ = kFirstCustomButtonId + static_cast<int>(i);
        // Escape: Cancel, else No, else a custom "Cancel", else OK when it is the only common button.
        if (p_.CommonButtons & CommonButtonCancel)
            escapeId_ = IDCANCEL;
        else if (p_.CommonButtons & CommonButtonNo)
            escapeId_ = IDNO;
        else if (!escapeId_ && p_.CommonButtons == CommonButtonOk)
            escapeId_ = IDOK;
        if (p_.CommonButtons & CommonButtonOk)
            SendMessageW(Hwnd(), DM_SETDEFID, IDOK, 0);

        if (!d_.VerifyText.empty()) {
            verify_ = Add(L"BUTTON", ExpandLineBreaks(d_.VerifyText), BS_AUTOCHECKBOX | WS_TABSTOP,
                          {kMargin, y, width - kMargin, y + 20}, kVerifyControlId, nullptr);
            SendMessageW(verify_, BM_SETCHECK, d_.VerifyChecked ? BST_CHECKED : BST_UNCHECKED, 0);
            y += 28;
        }
        if (!footer.empty()) {
            Add(L"STATIC", "", SS_ETCHEDHORZ, {0, y, width, y + 2}, -1, nullptr);
            y += 10;
            int x = kMargin;
            if (LPCWSTR icon = StockFooterIcon(p_.FooterIcon)) {
                const int small = GetSystemMetrics(SM_CXSMICON);
                // A system icon: shared, never destroyed by its user.
                HANDLE image = LoadImageW(nullptr, icon, IMAGE_ICON, small, small, LR_SHARED);
                HWND h = Add(L"STATIC", "", SS_ICON | SS_REALSIZEIMAGE, {x, y, x + small, y + small}, -1, nullptr);
                SendMessageW(h, STM_SETICON, reinterpret_cast<WPARAM>(image), 0);
                x += small + 6;
            }
            y += std::max(AddText(footer, font_.Get(), x, y, width - x - kMargin), 16) + 10;
        }

        RECT frame{0, 0, width, y + 4};
        AdjustWindowRectEx(&frame, GetWindowLongW(Hwnd(), GWL_STYLE), FALSE, GetWindowLongW(Hwnd(), GWL_EXSTYLE));
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const int w = frame.right - frame.left, h = frame.bottom - frame.top;
        SetWindowPos(Hwnd(), nullptr, work.left + (work.right - work.left - w) / 2,
                     work.top + (work.bottom - work.top - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        SetFocus(FocusTarget());
    }

    HWND FocusTarget() {
        if (query_ && (p_.Flags & kTaskQueryFocus))
            return query_;
        auto has = [&](int id) { return std::find(buttonIds_.begin(), buttonIds_.end(), id) != buttonIds_.end(); };
        if (p_.DefaultButton && has(p_.DefaultButton))
            return GetDlgItem(Hwnd(), p_.DefaultButton);
        if (has(IDOK))
            return GetDlgItem(Hwnd(), IDOK);
        return buttonIds_.empty() ? nullptr : GetDlgItem(Hwnd(), buttonIds_.front());
    }

    INT_PTR OnCommand(int id) {
        const bool isButton = std::find(buttonIds_.begin(), buttonIds_.end(), id) != buttonIds_.end();
        if (isButton)
            Finish(id);
        else if (id == IDCANCEL && escapeId_)
            Finish(escapeId_);  // the Escape key
        return isButton || id == IDCANCEL || id == IDOK;
    }

    void Finish(int id) {
        if (verify_)
            d_.VerifyChecked = SendMessageW(verify_, BM_GETCHECK, 0, 0) == BST_CHECKED;
        d_.RadioResult = 0;
        for (int radio : radioIds_)
            if (IsDlgButtonChecked(Hwnd(), radio) == BST_CHECKED)
                d_.RadioResult = radio;
        if (selection_) {
            LRESULT index = SendMessageW(selection_, CB_GETCURSEL, 0, 0);
            d_.SelectionIndex = static_cast<int>(index);
            wchar_t text[1024] = {};
            if (index >= 0 && SendMessageW(selection_, CB_GETLBTEXTLEN, index, 0) < 1024)
                SendMessageW(selection_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
            d_.QueryText = Narrow(text);
        }
        if (query_) {
            std::wstring text(static_cast<size_t>(GetWindowTextLengthW(query_)) + 1, L'\0');
            text.resize(GetWindowTextW(query_, text.data(), static_cast<int>(text.size())));
            d_.QueryText = Narrow(text);
        }
        EndDialog(Hwnd(), id);
    }

    bool InPanel(HWND control) const {
        if (p_.ClassicLook)
            return false;
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r.top < panelBottom_;
    }

    INT_PTR PanelColors(HDC dc) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    }

    INT_PTR PaintBackground(HDC dc) {
        RECT client{};
        GetClientRect(Hwnd(), &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        if (!p_.ClassicLook) {
            RECT panel = client;
            panel.bottom = panelBottom_;
            FillRect(dc, &panel, GetSysColorBrush(COLOR_WINDOW));
        }
        SetWindowLongPtrW(Hwnd(), DWLP_MSGRESULT, TRUE);
        return TRUE;
    }

    TaskDialogTexts& d_;
    const TaskDialogParams& p_;
    UniqueFont font_, boldFont_;
    DpiScaler scaler_;
    std::vector<int> buttonIds_, radioIds_;
    int escapeId_ = 0;
    int panelBottom_ = 0;
    HWND verify_ = nullptr, selection_ = nullptr, query_ = nullptr;
};
}  // namespace

int ShowEmulatedTaskDialog(TaskDialogTexts& dialog, const TaskDialogParams& params) {
    EmulatedTaskDialog window(dialog, params);
    return window.Run();
}
