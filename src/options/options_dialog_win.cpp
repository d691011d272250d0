#include "options/options_dialog_win.h"

#include <commctrl.h>

#include "options/options_captions_win.h"
#include "options/options_text.h"
#include "options_resource.h"
#include "platform/dpi_win.h"
#include "platform/place_near_taskbar_win.h"
#include "platform/system_library_win.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "settings/color_text.h"
#include "settings/ini_file_writer_win.h"
#include "settings/profile_win.h"
#include "system/task_dialog_win.h"
#include "tray/tray_picture_win.h"
#include "widgets/control_text_win.h"
#include "widgets/font_dialog_win.h"
#include "widgets/link_markup.h"
#include "widgets/text_fit_win.h"

namespace {
constexpr int kClientWidth = 408;
constexpr int kClientHeight = 351;
constexpr int kMargin = 6;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kPageTemplates[OptionsDialog::kPageCount] = {IDD_OPTIONS_GENERAL, IDD_OPTIONS_ASSIST, IDD_OPTIONS_TRAY,
                                                           IDD_OPTIONS_DISPLAY, IDD_OPTIONS_THEMES};

// The settings a plain check box edits: the table's flags with a caption. Every other row gives an empty entry.
struct FlagBox {
    int Id;
    bool Settings::*Flag;
};
constexpr FlagBox CheckBoxOf(int id, TextId caption, bool Settings::*flag) {
    return caption == kNoText ? FlagBox{0, nullptr} : FlagBox{id, flag};
}
template <typename Value>
constexpr FlagBox CheckBoxOf(int, TextId, Value Settings::*) {
    return {0, nullptr};
}
#define LUMIVEX_CHECK_BOX(field, kind, defaultValue, section, key, control, caption) \
    CheckBoxOf(control, caption, &Settings::field),
constexpr FlagBox kFlagBoxes[] = {LUMIVEX_SETTINGS(LUMIVEX_CHECK_BOX)};
#undef LUMIVEX_CHECK_BOX

// Fills a list of fixed entries in the chosen language, keeping the selection.
template <size_t N>
void FillCombo(HWND combo, const std::array<TextId, N>& items) {
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (TextId item : items)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(Text(item)).c_str()));
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

// Pages on a tab control take the tab's own background where a visual style is active.
void UseTabBackground(HWND page) {
    static SystemLibrary uxtheme(L"uxtheme.dll");
    using EnableThemeDialogTextureFn = HRESULT(WINAPI*)(HWND, DWORD);
    constexpr DWORD kEtdtEnableTab = 0x06;  // ETDT_ENABLE | ETDT_USETABTEXTURE
    if (auto enable = uxtheme.Proc<EnableThemeDialogTextureFn>("EnableThemeDialogTexture"))
        enable(page, kEtdtEnableTab);
}
}  // namespace

// One page: a child dialog that hands its controls' notifications to the options dialog.
class OptionsDialog::Page : public Dialog {
  public:
    explicit Page(OptionsDialog& owner) : owner_(owner) {}

  protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_INITDIALOG:
                UseTabBackground(Hwnd());
                SetOptionsCaptions(Hwnd());
                TakeOverDialogScaling(Hwnd());
                fit_.Capture(Hwnd(), WindowDpi(Hwnd()));
                FitToTexts(WindowDpi(Hwnd()));
                return FALSE;
            case WM_COMMAND:
            case WM_NOTIFY:
            case WM_DRAWITEM:
                return owner_.PageMessage(msg, wParam, lParam);
            default:
                return FALSE;
        }
    }

  public:
    // The templates hold the Chinese texts: in another language a label may take less room than they give it.
    void FitToTexts(UINT dpi) { fit_.Fit(dpi, CurrentLanguage() != Language::Chinese); }

  private:
    OptionsDialog& owner_;
    TextFitLayout fit_;
};

OptionsDialog::OptionsDialog(OptionsDialogHost host, OptionsDialogPrompts prompts)
    : host_(std::move(host)), prompts_(std::move(prompts)), settings_(*host_.Values) {}

OptionsDialog::~OptionsDialog() = default;

namespace {
// The dialog whose modal loop the keyboard filter serves (one options dialog at a time).
OptionsDialog* filteredDialog = nullptr;
HHOOK pageKeysHook = nullptr;

// Ctrl+Tab / Ctrl+Shift+Tab and Ctrl+PageDown / Ctrl+PageUp turn the pages, as in the system's settings dialogs;
// the dialog manager would take Ctrl+Tab for plain Tab.
LRESULT CALLBACK PageKeys(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && filteredDialog && msg->message == WM_KEYDOWN && (GetKeyState(VK_CONTROL) & 0x8000) &&
        IsChild(filteredDialog->Hwnd(), msg->hwnd)) {
        int step = 0;
        if (msg->wParam == VK_TAB)
            step = (GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1;
        if (msg->wParam == VK_NEXT)
            step = 1;
        if (msg->wParam == VK_PRIOR)
            step = -1;
        if (step) {
            int count = OptionsDialog::kPageCount;
            filteredDialog->SetActivePage((filteredDialog->ActivePage() + step + count) % count);
            return TRUE;
        }
    }
    return CallNextHookEx(pageKeysHook, code, wParam, lParam);
}
}  // namespace

void OptionsDialog::Execute(HWND owner, bool themePage) {
    startOnThemePage_ = themePage;
    filteredDialog = this;
    pageKeysHook = SetWindowsHookExW(WH_MSGFILTER, PageKeys, nullptr, GetCurrentThreadId());
    ShowModal(owner, IDD_OPTIONS);
    if (pageKeysHook)
        UnhookWindowsHookEx(pageKeysHook);
    pageKeysHook = nullptr;
    filteredDialog = nullptr;
}

HWND OptionsDialog::Item(int id) const {
    if (HWND h = GetDlgItem(Hwnd(), id))
        return h;
    for (const auto& page : pages_) {
        if (page && page->Hwnd()) {
            if (HWND h = GetDlgItem(page->Hwnd(), id))
                return h;
        }
    }
    return nullptr;
}

bool OptionsDialog::Checked(int id) const {
    return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionsDialog::SetChecked(int id, bool checked) {
    SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void OptionsDialog::Enable(int id, bool enabled) {
    EnableWindow(Item(id), enabled);
}

void OptionsDialog::SetPageCaption(int index, UINT message) {
    std::wstring caption = Widen(Text(kOptionsPageNames[static_cast<size_t>(index)]));
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(Item(IDC_PAGECONTROL1), message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void OptionsDialog::CreatePages() {
    for (int i = 0; i < kPageCount; ++i) {
        SetPageCaption(i, TCM_INSERTITEMW);
        pages_[static_cast<size_t>(i)] = std::make_unique<Page>(*this);
        pages_[static_cast<size_t>(i)]->CreateModeless(Hwnd(), kPageTemplates[i]);
    }
}

// The client area is 408 x 351 (at 96 dpi, scaled with the monitor's DPI); the tab control fills it above the buttons
// and each page fills the tab's display area.
void OptionsDialog::LayOut() {
    auto scale = [dpi = scaler_.Dpi()](int v) { return ScaleForDpi(v, dpi); };
    RECT frame{0, 0, scale(kClientWidth), scale(kClientHeight)};
    AdjustWindowRectForDpi(frame, static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_STYLE)), false,
                           static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_EXSTYLE)), scaler_.Dpi());
    SetWindowPos(Hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    int width = scale(kClientWidth), height = scale(kClientHeight);
    int buttonTop = height - scale(kMargin + kButtonHeight);
    HWND tab = Item(IDC_PAGECONTROL1);
    MoveWindow(tab, scale(kMargin), scale(kMargin), width - 2 * scale(kMargin), buttonTop - 2 * scale(kMargin), TRUE);
    const int buttons[] = {IDC_BTNAPPLY, IDCANCEL, IDOK};
    int right = width - scale(kMargin);
    for (int id : buttons) {
        MoveWindow(Item(id), right - scale(kButtonWidth), buttonTop, scale(kButtonWidth), scale(kButtonHeight), TRUE);
        right -= scale(kButtonWidth + kMargin);
    }
    RECT display{};
    GetWindowRect(tab, &display);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&display), 2);
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (const auto& page : pages_) {
        SetWindowPos(page->Hwnd(), tab, display.left, display.top, display.right - display.left,
                     display.bottom - display.top, SWP_NOACTIVATE);
    }
}

void OptionsDialog::SetActivePage(int index) {
    if (index < 0 || index >= kPageCount)
        return;
    activePage_ = index;
    SendMessageW(Item(IDC_PAGECONTROL1), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    for (int i = 0; i < kPageCount; ++i) {
        ShowWindow(pages_[static_cast<size_t>(i)]->Hwnd(), i == index ? SW_SHOW : SW_HIDE);
    }
}

INT_PTR OptionsDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            SetOptionsCaptions(Hwnd());
            TakeOverDialogScaling(Hwnd());
            scaler_.Attach(Hwnd(), WindowDpi(Hwnd()));
            CreatePages();
            LayOut();
            FillControls();
            if (startOnThemePage_)
                SetActivePage(kThemePage);
            PlaceOnScreen();
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->idFrom == IDC_PAGECONTROL1 && header->code == TCN_SELCHANGE) {
                SetActivePage(static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
                return TRUE;
            }
            return FALSE;
        }
        case WM_DPICHANGED:
            // Moved to a monitor of another scale: fonts, controls and frame follow, laid out as before.
            scaler_.DpiChanged(wParam, lParam);
            for (const auto& page : pages_)
                page->FitToTexts(scaler_.Dpi());
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR OptionsDialog::PageMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->idFrom == IDC_THEMESLINK && (header->code == NM_CLICK || header->code == NM_RETURN)) {
                OpenThemePage();
                return TRUE;
            }
            return FALSE;
        }
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (wParam == IDC_CMBCOLORPROCESSES)
                highlightColorPicker_.DrawItem(*item);
            else if (wParam == IDC_CMBFOREGROUND)
                slotColorPicker_.DrawItem(*item);
            else if (wParam == IDC_LBCOLORS)
                colorSlotList_.DrawItem(*item);
            else
                return FALSE;
            return TRUE;
        }
        default:
            return FALSE;
    }
}

void OptionsDialog::OnCommand(int id, int code) {
    if (code == BN_CLICKED) {
        switch (id) {
            case IDOK:
                StoreAndApply(true);
                return;
            case IDC_BTNAPPLY:
                StoreAndApply(false);
                return;
            case IDCANCEL:
                CancelDialog();
                return;
            case IDC_FONTBUTTON:
                ChooseDisplayFont();
                return;
            case IDC_CKSHOWPERCENTAGE:
                OnShowPercentageClicked();
                return;
            case IDC_CKINTERNALFONT:
            case IDC_CKMINIFONT:
                OnInternalFontClicked();
                return;
            case IDC_CKSHOWTOP:
            case IDC_CKSHOWMEMMENU:
            case IDC_CHECKSHOWPROCESSNAME:
                OnShowTopProcessesClicked();
                return;
            case IDC_CHECKHIGHLIGHTPROCESS:
                OnHighlightProcessClicked();
                return;
            case IDC_CHECKDEFRAGEVERYACTIVE:
                OnFreeEveryClicked();
                return;
            case IDC_CHECKMONITOR:
                OnMonitorOffClicked();
                return;
            case IDC_BTNSAVEAS:
                SaveThemeAs();
                return;
            case IDC_BTNDELETETHEME:
                DeleteSelectedTheme();
                return;
            default:
                return;
        }
    }
    if (code == EN_CHANGE && id == IDC_TXTYELLOW)
        OnYellowPercentChanged();
    if (code == EN_CHANGE && id == IDC_TXTRED)
        OnRedPercentChanged();
    if (code == CBN_SELCHANGE && id == IDC_CBTHEMES)
        OnThemeSelected();
    if (code == CBN_SELCHANGE && id == IDC_CMBCOLORPROCESSES)
        highlightColorPicker_.SelectionChanged();
    if (code == CBN_SELCHANGE && id == IDC_CMBFOREGROUND)
        slotColorPicker_.SelectionChanged();
    if (code == LBN_SELCHANGE && id == IDC_LBCOLORS)
        OnColorSlotSelected();
}

void OptionsDialog::ShowFontPanel(const FontSpec& font) {
    SetPanelFont(font, FontPanelText(font));
}

void OptionsDialog::SetPanelFont(const FontSpec& font, const std::string& text) {
    HWND panel = Item(IDC_FONTPANEL);
    SetControlText(panel, text);
    FontSpec shown = font;
    shown.Size = kPanelFontPoints;
    UniqueFont newFont = CreateFontForDpi(shown, static_cast<int>(scaler_.Dpi()));
    SendMessageW(panel, WM_SETFONT, reinterpret_cast<WPARAM>(newFont.Get()), TRUE);
    panelFont_ = std::move(newFont);
}

// Record to controls.
void OptionsDialog::FillControls() {
    auto storage = [path = host_.SettingsPath]() -> std::unique_ptr<IProfile> {
        return std::make_unique<IniFileWriter>(path);
    };
    highlightColorPicker_.Attach(Item(IDC_CMBCOLORPROCESSES));
    slotColorPicker_.Attach(Item(IDC_CMBFOREGROUND));
    for (ColorComboBox* picker : {&highlightColorPicker_, &slotColorPicker_}) {
        picker->SetCustomColorsStorage(storage);
        picker->ChooseColorHook = prompts_.PickColor;
    }
    slotColorPicker_.OnChange = [this] { OnSlotColorChanged(); };
    colorSlotList_.Attach(Item(IDC_LBCOLORS));
    yellowPercentEdit_.Attach(Item(IDC_TXTYELLOW), 1, 100, 1, /*editorEnabled=*/false);
    redPercentEdit_.Attach(Item(IDC_TXTRED), 1, 100, 1, /*editorEnabled=*/false);
    freeEveryMinutesEdit_.Attach(Item(IDC_WINSPINDEFRAGEVERYACTIVE), 5, 999, 1);
    refreshRateEdit_.Attach(Item(IDC_EDITMILI), 100, 10000, 100);
    topProcessCountEdit_.Attach(Item(IDC_EDITPROCS), 1, 100, 1);
    highlightAboveEdit_.Attach(Item(IDC_EDITPROCSRAM), 1, 9999, 1);
    highlightAboveEdit_.SetValue(100);
    commitRedEdit_.Attach(Item(IDC_EDITCOMMITRED), 0, 100, 1);
    growthShareEdit_.Attach(Item(IDC_EDITGROWTHSHARE), 1, 100, 1);
    FillCombo(Item(IDC_CMBDOUBLECLICK), kDoubleClickActionNames);
    FillCombo(Item(IDC_COMBOGBVALUES), kGbValueNames);
    // Each language is named in its own words, whatever the chosen one.
    for (const LanguageInfo& language : kLanguages)
        SendMessageW(Item(IDC_CMBLANGUAGE), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(language.Name).c_str()));
    SendMessageW(Item(IDC_CMBLANGUAGE), CB_SETCURSEL, static_cast<WPARAM>(LanguageFromSetting(settings_.Language)), 0);

    SetActivePage(0);
    currentColors_ = ThemeColorsOf(settings_);

    for (const FlagBox& box : kFlagBoxes) {
        if (box.Flag)
            SetChecked(box.Id, settings_.*box.Flag);  // BM_SETCHECK raises no click: no warning for the display box
    }
    SendMessageW(Item(IDC_CMBDOUBLECLICK), CB_SETCURSEL, static_cast<WPARAM>(settings_.DoubleClickAction), 0);
    freeEveryMinutesEdit_.SetValue(settings_.FreeEveryMinutes);
    OnFreeEveryClicked();
    // Each threshold starts bounded by the other; the first change narrows the bounds by one.
    yellowPercentEdit_.SetMaxValue(settings_.RedPercent);
    redPercentEdit_.SetMinValue(settings_.YellowPercent);
    yellowPercentEdit_.SetValue(settings_.YellowPercent);
    redPercentEdit_.SetValue(settings_.RedPercent);
    openedHotKey_ = static_cast<HotKeyValue>(settings_.FreeMemoryHotKey);
    // A global hot key without Ctrl or Alt would take that key from every program: the field adds Alt then.
    SendMessageW(Item(IDC_HOTKEY1), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_ALT, 0));
    SendMessageW(Item(IDC_HOTKEY1), HKM_SETHOTKEY, HotKeyControlFromShortCut(openedHotKey_), 0);
    SetChecked(IDC_CHECKHIGHLIGHTPROCESS, settings_.HighlightProcessAbove > 0);
    if (settings_.HighlightProcessAbove > 0)
        highlightAboveEdit_.SetValue(settings_.HighlightProcessAbove);
    OnHighlightProcessClicked();

    highlightColorPicker_.SetDefaultColor(AutomaticColors::kProcessHighlight);
    if (settings_.ProcessHighlightColor == kAutomaticColor) {
        highlightColorPicker_.SetItemIndex(ColorComboBox::kDefaultItem);
    } else {
        // A colour chosen earlier through the custom item is shown there again rather than dropped.
        highlightColorPicker_.SetColor(settings_.ProcessHighlightColor);
    }
    settings_.ProcessHighlightColor =
        highlightColorPicker_.ItemIndex() <= 0 ? kAutomaticColor : highlightColorPicker_.Color();

    topProcessCountEdit_.SetValue(settings_.TopProcessCount);
    OnShowTopProcessesClicked();
    SendMessageW(Item(IDC_COMBOGBVALUES), CB_SETCURSEL, settings_.OptimizeForGigabytes ? 1 : 0, 0);
    refreshRateEdit_.SetValue(settings_.RefreshRate);
    commitRedEdit_.SetValue(settings_.CommitRedPercent);
    growthShareEdit_.SetValue(settings_.HistoryGrowthShare);
    OnInternalFontClicked();  // the panel, the chosen font and the small-font box follow the built-in font choice
    // The small-digits box keeps the record's value while it is disabled, so opening and OK do not lose it.
    SetChecked(IDC_CKMINIFONT, settings_.MiniInternalFont);
    OnShowPercentageClicked();

    ThemeColorTexts entries = ThemeColorsOf(settings_);
    if (settings_.FontColor != kAutomaticColor)
        entries[0] = ColorToText(chosenFont_.Color);
    FillColorList(entries);
    FillThemeList();
    SendMessageW(Item(IDC_CBTHEMES), CB_SETCURSEL, 1, 0);
    OnThemeSelected();
    colorSlotList_.SetItemIndex(0);
    OnColorSlotSelected();
    UpdateHighLabel();
}

void OptionsDialog::PlaceOnScreen() {
    PlaceNearTaskbar(Hwnd());
}

// A failed save keeps the dialog open with the record updated.
void OptionsDialog::StoreAndApply(bool close) {
    Settings& s = settings_;
    for (const FlagBox& box : kFlagBoxes) {
        if (box.Flag)
            s.*box.Flag = Checked(box.Id);
    }
    // A value outside the list (written by hand: it does nothing) selects no entry and stays until one is picked.
    const auto doubleClick = static_cast<int32_t>(SendMessageW(Item(IDC_CMBDOUBLECLICK), CB_GETCURSEL, 0, 0));
    if (doubleClick >= 0)
        s.DoubleClickAction = doubleClick;
    if (s.FreeEveryActive)
        s.FreeEveryMinutes = freeEveryMinutesEdit_.Value();  // unticked keeps the period
    // The field has no Win modifier: a hand-made Win combination survives while the field is left alone.
    auto word = static_cast<uint16_t>(SendMessageW(Item(IDC_HOTKEY1), HKM_GETHOTKEY, 0, 0));
    if (word != HotKeyControlFromShortCut(openedHotKey_)) {
        s.FreeMemoryHotKey = static_cast<int32_t>(ShortCutFromHotKeyControl(word));
    }
    s.RefreshRate = refreshRateEdit_.Value();
    s.Font = chosenFont_;
    s.YellowPercent = yellowPercentEdit_.Value();
    s.RedPercent = redPercentEdit_.Value();
    s.OptimizeForGigabytes = SendMessageW(Item(IDC_COMBOGBVALUES), CB_GETCURSEL, 0, 0) == 1;
    s.HighlightProcessAbove = Checked(IDC_CHECKHIGHLIGHTPROCESS) ? highlightAboveEdit_.Value() : 0;
    s.ProcessHighlightColor = highlightColorPicker_.ItemIndex() <= 0 ? kAutomaticColor : highlightColorPicker_.Color();
    s.TopProcessCount = topProcessCountEdit_.Value();
    s.CommitRedPercent = commitRedEdit_.Value();
    s.HistoryGrowthShare = growthShareEdit_.Value();
    const LRESULT language = SendMessageW(Item(IDC_CMBLANGUAGE), CB_GETCURSEL, 0, 0);
    if (language >= 0 && language < kLanguageCount)
        s.Language = kLanguages[language].Setting;
    StoreThemeColors(ColorEntries(), s);
    if (host_.ApplyFontColor)
        host_.ApplyFontColor();

    if (host_.SettingsStored)
        host_.SettingsStored();
    if (host_.SaveSettingsFile && !host_.SaveSettingsFile())
        return;
    if (host_.SettingsApplied)
        host_.SettingsApplied();
    openedHotKey_ = static_cast<HotKeyValue>(s.FreeMemoryHotKey);
    if (close)
        EndDialog(Hwnd(), IDOK);
    else
        SetTexts();
}

// Apply may have switched the language: the dialog follows at once.
void OptionsDialog::SetTexts() {
    SetOptionsCaptions(Hwnd());
    for (int i = 0; i < kPageCount; ++i) {
        SetOptionsCaptions(pages_[static_cast<size_t>(i)]->Hwnd());
        pages_[static_cast<size_t>(i)]->FitToTexts(scaler_.Dpi());
        SetPageCaption(i, TCM_SETITEMW);
    }
    FillCombo(Item(IDC_CMBDOUBLECLICK), kDoubleClickActionNames);
    FillCombo(Item(IDC_COMBOGBVALUES), kGbValueNames);
    SetFixedThemeEntryTexts();
    if (Checked(IDC_CKINTERNALFONT))
        ShowInternalFontInPanel();
    highlightColorPicker_.SetTexts();
    slotColorPicker_.SetTexts();
    const int selected = colorSlotList_.ItemIndex();
    FillColorList(ColorEntries());
    colorSlotList_.SetItemIndex(selected);
    UpdateHighLabel();
}

void OptionsDialog::CancelDialog() {
    EndDialog(Hwnd(), IDCANCEL);
}

void OptionsDialog::OpenThemePage() {
    SetActivePage(kThemePage);
}
