#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "options/options_dialog_win.h"
#include "options_resource.h"
#include "platform/error_report_win.h"
#include "settings/profile_win.h"
#include "settings/settings_file.h"
#include "system/task_dialog_win.h"
#include "widgets/control_text_win.h"
#include "win_test_util.h"

namespace WinTest {

// An options dialog over a record of its own, with every question answered by the test.
struct OptionsFixture {
    TempDir Dir;
    std::wstring Themes = Dir.Path() + L"Themes\\";
    Settings Settings;
    int Saves = 0;
    int Applied = 0;
    bool FailSave = false;
    bool Portable = false;
    int WarningAnswer = 100;
    bool WarningVerify = false;
    std::vector<TaskDialogTexts> Warnings;
    std::vector<std::string> Questions;
    int QuestionAnswer = 6;
    std::string ThemeName;  // empty: the name box is cancelled
    std::function<bool(FontSpec&)> ChooseFont;
    std::function<bool(COLORREF&, COLORREF*)> ChooseColor;

    OptionsFixture() { CreateDirectoryW(Themes.c_str(), nullptr); }
    std::wstring SettingsPath() const { return Dir.File(L"Lumivex.Settings"); }

    OptionsDialogHost Host() {
        OptionsDialogHost host;
        host.Values = &Settings;
        host.SettingsPath = SettingsPath();
        host.ThemesFolder = Themes;
        host.SaveSettingsFile = [this] {
            ++Saves;
            return !FailSave;
        };
        host.ApplyFontColor = [this] { ApplyFontColor(Settings); };
        host.SettingsApplied = [this] { ++Applied; };
        return host;
    }
    OptionsDialogPrompts Prompts() {
        OptionsDialogPrompts s;
        s.IsPortableDevice = [this] { return Portable; };
        s.ShowPortableWarning = [this](TaskDialogTexts& d, HWND) {
            Warnings.push_back(d);
            d.VerifyChecked = WarningVerify;
            return WarningAnswer;
        };
        s.AskYesNo = [this](const std::string& text) {
            Questions.push_back(text);
            return QuestionAnswer;
        };
        s.AskThemeName = [this](HWND, std::string& name) {
            name = ThemeName;
            return !ThemeName.empty();
        };
        s.PickFont = [this](HWND, FontSpec& f) { return ChooseFont && ChooseFont(f); };
        s.PickColor = [this](HWND, COLORREF& c, COLORREF* custom) { return ChooseColor && ChooseColor(c, custom); };
        return s;
    }
};

// Shows a dialog modally and runs `script` inside its modal loop once the dialog is up; the dialog is cancelled
// afterwards unless the script closed it.
struct ModalScript {
    static std::function<bool()>& Pending() {
        static std::function<bool()> pending;  // answers true once it has run
        return pending;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        auto& pending = Pending();
        if (!pending)
            return;
        auto run = pending;
        if (run()) {
            KillTimer(nullptr, id);
            pending = nullptr;
        }
    }
};

template <typename D>
void RunModal(D& dialog, const std::function<void(D&)>& script, const std::function<void()>& show) {
    ModalScript::Pending() = [&dialog, &script] {
        if (!dialog.Hwnd() || !IsWindowVisible(dialog.Hwnd()))
            return false;
        ModalScript::Pending() = [] { return false; };  // no second run while the script runs
        script(dialog);
        if (dialog.Hwnd())
            PostMessageW(dialog.Hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    };
    UINT_PTR timer = SetTimer(nullptr, 0, 10, ModalScript::Tick);
    show();
    KillTimer(nullptr, timer);
    ModalScript::Pending() = nullptr;
}

inline void RunOptions(OptionsDialog& dialog, bool themePage, const std::function<void(OptionsDialog&)>& script) {
    RunModal<OptionsDialog>(dialog, script, [&] { dialog.Execute(nullptr, themePage); });
}

// The page that holds a control is made active first, as a user would see it.
inline int PageOf(int id) {
    return id >= 1500 ? 4 : id >= 1400 ? 3 : id >= 1300 ? 2 : id >= 1200 ? 1 : 0;
}

inline void Click(OptionsDialog& d, int id) {
    if (id > 1100)
        d.SetActivePage(PageOf(id));
    SendMessageW(d.Item(id), BM_CLICK, 0, 0);
}

inline bool IsChecked(OptionsDialog& d, int id) {
    return SendMessageW(d.Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

inline void SetCheck(OptionsDialog& d, int id, bool checked) {
    if (IsChecked(d, id) != checked)
        Click(d, id);
}

inline bool IsEnabled(OptionsDialog& d, int id) {
    return IsWindowEnabled(d.Item(id)) != FALSE;
}

inline std::string TextOf(OptionsDialog& d, int id) {
    return GetControlText(d.Item(id));
}

inline void Type(OptionsDialog& d, int id, const std::string& text) {
    SetControlText(d.Item(id), text);
}

// Selects a combo box entry as the user does: the selection, then its notification.
inline void Choose(OptionsDialog& d, int id, int index) {
    HWND combo = d.Item(id);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

inline int Selected(OptionsDialog& d, int id) {
    return static_cast<int>(SendMessageW(d.Item(id), CB_GETCURSEL, 0, 0));
}

inline void SelectColorEntry(OptionsDialog& d, int index) {
    HWND list = d.Item(IDC_LBCOLORS);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(IDC_LBCOLORS, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

inline std::string ComboEntry(OptionsDialog& d, int id, int index) {
    HWND combo = d.Item(id);
    wchar_t text[512] = {};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return Narrow(text);
}

inline std::vector<std::string> ComboEntries(OptionsDialog& d, int id) {
    std::vector<std::string> entries;
    int n = static_cast<int>(SendMessageW(d.Item(id), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
        entries.push_back(ComboEntry(d, id, i));
    return entries;
}

}  // namespace WinTest
