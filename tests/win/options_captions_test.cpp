// Every control of the options dialog that shows a text of its own has that text in the text table, in every
// language: a control left out would keep its Chinese template text in English.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "options/options_captions_win.h"
#include "options_resource.h"
#include "platform/texts.h"
#include "widgets/control_text_win.h"

namespace {
INT_PTR CALLBACK BareDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

struct Control {
    int Id;
    HWND Hwnd;
    std::string TemplateText;
};

// The controls of a dialog template that come with a text, as the template has them.
std::vector<Control> ControlsWithText(HWND dialog) {
    std::vector<Control> found;
    for (HWND h = GetWindow(dialog, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        GetClassNameW(h, cls, 32);
        const bool captioned =
            _wcsicmp(cls, L"Button") == 0 || _wcsicmp(cls, L"Static") == 0 || _wcsicmp(cls, WC_LINK) == 0;
        const int id = GetDlgCtrlID(h);
        std::string text = GetControlText(h);
        // Unnumbered labels ("%") read the same in every language.
        if (captioned && !text.empty() && id != IDC_STATIC && id != 0xFFFF)
            found.push_back({id, h, std::move(text)});
    }
    return found;
}
}  // namespace

TEST(OptionsCaptions, EveryControlWithATextHasItInEveryLanguage) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_LINK_CLASS | ICC_TAB_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&init);
    HWND parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    size_t checked = 0;
    for (int page : {IDD_OPTIONS, IDD_OPTIONS_GENERAL, IDD_OPTIONS_ASSIST, IDD_OPTIONS_TRAY, IDD_OPTIONS_DISPLAY,
                     IDD_OPTIONS_THEMES}) {
        HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(page),
                                         page == IDD_OPTIONS ? nullptr : parent, BareDialog, 0);
        ASSERT_NE(dialog, nullptr) << page;
        const std::vector<Control> controls = ControlsWithText(dialog);
        for (const LanguageInfo& language : kLanguages) {
            SetLanguage(language.Id);
            SetOptionsCaptions(dialog);
            for (const Control& control : controls) {
                const TextId caption = OptionsCaption(control.Id);
                const std::string text = Text(caption, language.Id);
                EXPECT_FALSE(text.empty())
                    << "control " << control.Id << " '" << control.TemplateText << "' in " << language.Setting;
                if (caption != kNoText && caption != TextId::GeneralThemesLink) {
                    EXPECT_EQ(GetControlText(control.Hwnd), text) << control.Id << " in " << language.Setting;
                }
                ++checked;
            }
        }
        SetLanguage(Language::Chinese);
        DestroyWindow(dialog);
    }
    DestroyWindow(parent);
    EXPECT_GT(checked, 0u);
}
