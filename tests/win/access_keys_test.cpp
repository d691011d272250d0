// Access keys in English: one per command, check box and labelled field, none twice on a page or in a menu.
#include <windows.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/main_form_win.h"
#include "main_form_test_util.h"
#include "options_dialog_test_util.h"
#include "platform/texts.h"
#include "processes/tray_menu_model.h"
#include "resource.h"
#include "widgets/control_text_win.h"

using namespace WinTest;

namespace {
struct EnglishScope {
    EnglishScope() { SetLanguage(Language::English); }
    ~EnglishScope() { SetLanguage(Language::Chinese); }
};

bool IsClass(HWND h, const wchar_t* name) {
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    return _wcsicmp(cls, name) == 0;
}

// A control the keyboard stops at that is neither a button nor a label: an edit, a list, a hot-key field.
bool IsField(HWND h) {
    return h && (GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP) && !IsClass(h, L"Button") && !IsClass(h, L"Static") &&
           !IsClass(h, L"SysLink");
}

// The access keys of a window's controls that need one: every check box and push button but OK and Cancel, and
// every label just before a field in the tab order. Fails for one without a key and for a key used twice.
void ExpectUniqueAccessKeys(HWND parent, const std::string& where, std::map<char, std::string>& keys) {
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(h);
        const LONG type = GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
        const bool command = IsClass(h, L"Button") && type != BS_GROUPBOX && id != IDOK && id != IDCANCEL;
        const bool label = IsClass(h, L"Static") && IsField(GetWindow(h, GW_HWNDNEXT));
        if (!command && !label)
            continue;
        const std::string caption = GetControlText(h);
        const char key = AccessKeyOf(caption);
        EXPECT_NE(key, '\0') << where << ": '" << caption << "' has no access key";
        if (key == '\0')
            continue;
        auto [it, added] = keys.emplace(key, caption);
        EXPECT_TRUE(added) << where << ": '" << key << "' in '" << caption << "' and '" << it->second << "'";
    }
}
}  // namespace

TEST(AccessKeys, EveryOptionsPageHasOneKeyPerCommandAndField) {
    EnglishScope english;
    OptionsFixture f;
    f.Settings.Language = "en";
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        const int controlOfPage[OptionsDialog::kPageCount] = {IDC_CKSHOWPAGE, IDC_CHECKDEFRAGEVERYACTIVE, IDC_CKSHOWTOP,
                                                              IDC_FONTBUTTON, IDC_CBTHEMES};
        for (int page = 0; page < OptionsDialog::kPageCount; ++page) {
            // The frame's buttons are reached from every page.
            std::map<char, std::string> keys;
            ExpectUniqueAccessKeys(d.Hwnd(), "frame", keys);
            ExpectUniqueAccessKeys(GetParent(d.Item(controlOfPage[page])), "page " + std::to_string(page), keys);
        }
    });
}

// Tab moves through a page as it is read: each stop below the one before, or beside it on its right.
TEST(AccessKeys, TabFollowsReadingOrderInEveryLanguage) {
    for (Language language : {Language::Chinese, Language::English}) {
        SetLanguage(language);
        OptionsFixture f;
        f.Settings.Language = LanguageSetting(language);
        OptionsDialog dialog(f.Host(), f.Prompts());
        RunOptions(dialog, false, [&](OptionsDialog& d) {
            const int controlOfPage[OptionsDialog::kPageCount] = {IDC_CKSHOWPAGE, IDC_CHECKDEFRAGEVERYACTIVE,
                                                                  IDC_CKSHOWTOP, IDC_FONTBUTTON, IDC_CBTHEMES};
            for (int page = 0; page < OptionsDialog::kPageCount; ++page) {
                HWND parent = GetParent(d.Item(controlOfPage[page]));
                RECT previous{};
                std::string previousText;
                for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
                    if (!(GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP))
                        continue;
                    RECT r{};
                    GetWindowRect(h, &r);
                    const bool sameRow = r.top < previous.bottom && previous.top < r.bottom;
                    const bool below = r.top >= previous.top;
                    const std::string text = GetControlText(h);
                    if (previous.bottom > 0) {  // not the first stop
                        EXPECT_TRUE(sameRow ? r.left >= previous.right : below)
                            << LanguageSetting(language) << " page " << page << ": '" << text << "' after '"
                            << previousText << "'";
                    }
                    previous = r;
                    previousText = text;
                }
            }
        });
    }
    SetLanguage(Language::Chinese);
}

TEST(AccessKeys, TheTrayMenuAnswersItsKeysInEnglishOnly) {
    TempDir dir;
    WriteBytes(dir.File(L"Lumivex.Settings"), "[General]\r\nLanguage=en\r\nShowTopProcess=0\r\n");
    auto form = MakeForm(dir);
    form->Menu().BuildRows(form->Tray().Hint());
    HMENU menu = form->Menu().Handle();
    auto menuChar = [&](wchar_t key, HMENU which) {
        return static_cast<LRESULT>(
            SendMessageW(form->Hwnd(), WM_MENUCHAR, MAKEWPARAM(key, MF_POPUP), reinterpret_cast<LPARAM>(which)));
    };
    const int exitIndex = form->Menu().Items().IndexOfId(IDM_CLOSE);
    EXPECT_EQ(menuChar(L'x', menu), MAKELRESULT(exitIndex, MNC_EXECUTE));
    EXPECT_EQ(menuChar(L'X', menu), MAKELRESULT(exitIndex, MNC_EXECUTE));
    EXPECT_EQ(HIWORD(menuChar(L'q', menu)), MNC_IGNORE);
    HMENU settings = GetSubMenu(menu, form->Menu().Items().IndexOfId(IDM_ABOUT) - 2);
    ASSERT_TRUE(settings);
    EXPECT_EQ(menuChar(L'm', settings), MAKELRESULT(GetMenuItemCount(settings) - 1, MNC_EXECUTE));  // More settings…
    form.reset();

    // The Chinese captions have no access keys: a letter leaves the menu to the system.
    TempDir chinese;
    WriteBytes(chinese.File(L"Lumivex.Settings"), "[General]\r\nShowTopProcess=0\r\n");
    form = MakeForm(chinese);
    form->Menu().BuildRows(form->Tray().Hint());
    EXPECT_EQ(HIWORD(menuChar(L'x', form->Menu().Handle())), MNC_IGNORE);
}
