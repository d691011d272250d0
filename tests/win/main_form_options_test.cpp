#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "main_form_test_util.h"
#include "options_dialog_test_util.h"
#include "resource.h"
#include "settings/themes_win.h"

using namespace WinTest;
using ::testing::HasSubstr;

namespace {
constexpr char kPortable[] = "[General]\r\nShowPercentage=0\r\nRefreshHotkey=32833\r\n";

// Opens the options dialog from the tray menu's item and runs `script` inside it.
void RunSettings(MainForm& form, bool themePage, const std::function<void(OptionsDialog&)>& script) {
    struct Shown {
        MainForm& Form;
        HWND Hwnd() const {
            OptionsDialog* dialog = MainFormProbe(Form).ShownOptionsDialog();
            return dialog ? dialog->Hwnd() : nullptr;
        }
    } shown{form};
    RunModal<Shown>(
        shown, [&](Shown&) { script(*MainFormProbe(form).ShownOptionsDialog()); },
        [&] { SendMessageW(form.Hwnd(), WM_COMMAND, themePage ? IDM_THEMES : IDM_SETTINGS, 0); });
}

UINT MenuState(MainForm& form, UINT id) {
    return GetMenuState(form.Menu().Handle(), id, MF_BYCOMMAND);
}

ATOM HotKeyAtom(HotKeyValue value) {
    return GlobalFindAtomW(Widen(HotKeyAtomName(value)).c_str());
}
}  // namespace

TEST(MainFormOptions, CancelStillSavesAndOnlyOneDialogIsOpen) {
    TempDir dir;
    std::wstring path = dir.File(L"Lumivex.Settings");
    ASSERT_TRUE(WriteBytes(path, kPortable));
    auto form = MakeForm(dir);
    ASSERT_TRUE(WriteBytes(path, "[Other]\r\nKeep=1\r\n"));
    OptionsDialog* first = nullptr;
    RunSettings(*form, false, [&](OptionsDialog& d) {
        first = &d;
        EXPECT_EQ(d.ActivePage(), 0);
        EXPECT_TRUE(MenuState(*form, IDM_SETTINGS) & MF_GRAYED);
        // "主题" while the dialog is open: the same dialog, on its theme page.
        SendMessageW(form->Hwnd(), WM_COMMAND, IDM_THEMES, 0);
        EXPECT_EQ(MainFormProbe(*form).ShownOptionsDialog(), first);
        EXPECT_EQ(d.ActivePage(), 4);
        Click(d, IDCANCEL);
    });
    EXPECT_EQ(MainFormProbe(*form).ShownOptionsDialog(), nullptr);
    EXPECT_FALSE(MenuState(*form, IDM_SETTINGS) & MF_GRAYED);
    std::string text = ReadText(path);
    EXPECT_THAT(text, HasSubstr("Keep=1"));
    EXPECT_THAT(text, HasSubstr("ShowPercentage=0"));
    EXPECT_THAT(text, HasSubstr("RefreshHotkey=32833"));
}

TEST(MainFormOptions, ThePeriodicFreeingCountdownRestartsOnlyWhenItChanges) {
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.File(L"Lumivex.Settings"), "[General]\r\nDefragEveryActive=1\r\nDefragEvery=120\r\n"));
    auto form = MakeForm(dir);
    SimpleTimer& timer = MainFormProbe(*form).FreeTimer();
    ASSERT_TRUE(timer.Active());
    const unsigned started = timer.Countdowns();
    RunSettings(*form, false, [&](OptionsDialog& d) { Click(d, IDCANCEL); });
    RunSettings(*form, false, [&](OptionsDialog& d) { Click(d, IDOK); });
    EXPECT_EQ(timer.Countdowns(), started);  // closed twice with nothing changed: the same countdown runs on
    RunSettings(*form, false, [&](OptionsDialog& d) {
        Type(d, IDC_WINSPINDEFRAGEVERYACTIVE, "60");
        Click(d, IDOK);
    });
    EXPECT_EQ(timer.PeriodMs(), 60u * 60000u);
    EXPECT_EQ(timer.Countdowns(), started + 1);
    RunSettings(*form, false, [&](OptionsDialog& d) {
        Click(d, IDC_CHECKDEFRAGEVERYACTIVE);  // switched off, then on again with Apply and OK
        Click(d, IDC_BTNAPPLY);
        Click(d, IDC_CHECKDEFRAGEVERYACTIVE);
        Click(d, IDOK);
    });
    EXPECT_TRUE(timer.Active());
    EXPECT_EQ(timer.Countdowns(), started + 2);
}

TEST(MainFormOptions, AnUnwritableFileStillAppliesWhatComesBeforeTheSave) {
    TempDir dir;
    std::wstring path = dir.File(L"Lumivex.Settings");
    ASSERT_TRUE(WriteBytes(path, "[General]\r\nDefragEveryActive=1\r\nDefragEvery=120\r\nShowMemMenu=1\r\n"));
    std::string errors;
    SystemHooks o;
    o.ReportError = [&](const std::string& text) { errors += text; };
    auto form = MakeForm(dir, o);
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    RunSettings(*form, false, [&](OptionsDialog& d) {
        Type(d, IDC_WINSPINDEFRAGEVERYACTIVE, "30");
        Type(d, IDC_EDITMILI, "1000");
        Click(d, IDOK);
        EXPECT_TRUE(IsWindow(d.Hwnd()));  // the save failed: the dialog stays open
        // What comes before the save holds all the same.
        EXPECT_EQ(MainFormProbe(*form).FreeTimer().PeriodMs(), 30u * 60000u);
        EXPECT_EQ(form->RefreshTimer().PeriodMs(), 1000u);
        Click(d, IDCANCEL);
    });
    CloseHandle(lock);
    EXPECT_THAT(errors, HasSubstr("Unable to write to " + Narrow(path)));
    EXPECT_EQ(form->CurrentSettings().FreeEveryMinutes, 30);
}

TEST(MainFormOptions, HotKeyFollowsTheSettingWithOneRegistration) {
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.File(L"Lumivex.Settings"), kPortable));
    auto form = MakeForm(dir);
    EXPECT_EQ(MainFormProbe(*form).HotKeys().Count(), 1u);
    EXPECT_NE(HotKeyAtom(32833), 0);
    EXPECT_EQ(form->Menu().FreeMemoryShortcut(), 32833);
    RunSettings(*form, false, [&](OptionsDialog& d) {
        EXPECT_EQ(SendMessageW(d.Item(IDC_HOTKEY1), HKM_GETHOTKEY, 0, 0), MAKEWORD('A', HOTKEYF_ALT));
        SendMessageW(d.Item(IDC_HOTKEY1), HKM_SETHOTKEY, MAKEWORD('M', HOTKEYF_ALT | HOTKEYF_SHIFT), 0);
        Click(d, IDOK);
    });
    const HotKeyValue shiftAltM = kHotKeyShift | kHotKeyAlt | 'M';
    EXPECT_EQ(MainFormProbe(*form).HotKeys().Count(), 1u);
    EXPECT_EQ(HotKeyAtom(32833), 0);
    EXPECT_NE(HotKeyAtom(shiftAltM), 0);
    EXPECT_EQ(form->Menu().FreeMemoryShortcut(), shiftAltM);
    EXPECT_EQ(HotKeyToText(form->Menu().FreeMemoryShortcut(), false), "Shift+Alt+M");
    // No hot key at all registers nothing.
    form->CurrentSettings().FreeMemoryHotKey = 0;
    MainFormProbe(*form).ApplyHotKey();
    EXPECT_EQ(MainFormProbe(*form).HotKeys().Count(), 0u);
    EXPECT_EQ(HotKeyAtom(shiftAltM), 0);
    // Closing the program leaves no registration behind.
    form->CurrentSettings().FreeMemoryHotKey = 32833;
    MainFormProbe(*form).ApplyHotKey();
    form->Quit();
    EXPECT_EQ(HotKeyAtom(32833), 0);
}

TEST(MainFormOptions, FirstRunAppliesTheThemeOfTheVisualStyle) {
    for (bool firstRun : {true, false}) {
        TempDir dir;
        // Portable, without the first-run probe key unless it is a later run.
        ASSERT_TRUE(WriteBytes(dir.File(L"Lumivex.Settings"),
                               firstRun ? "[Other]\r\nx=1\r\n" : "[General]\r\nShowPercentage=0\r\n"));
        CreateDirectoryW(dir.File(L"Themes").c_str(), nullptr);
        int index = DetectDefaultTheme();
        std::wstring theme = dir.File(L"Themes\\") + Widen(DefaultThemeFileName(index));
        ASSERT_TRUE(WriteBytes(theme,
                               "[LumivexTheme]\r\nVer=22\r\nFontColor=FFFFFF\r\nGreenColor=00AA00\r\n"
                               "BackgroundColor=102030\r\nOpaqueBackground=1\r\nBarOpaqueBackground=1\r\n"));
        auto form = MakeForm(dir);
        const Settings& s = form->CurrentSettings();
        EXPECT_EQ(MainFormProbe(*form).FirstRun(), firstRun);
        EXPECT_EQ(s.GreenColor, firstRun ? Rgb(0, 0xAA, 0) : kAutomaticColor);
        EXPECT_EQ(s.FontColor, firstRun ? Rgb(255, 255, 255) : kClWindowText);
        EXPECT_EQ(s.Font.Color, firstRun ? Rgb(255, 255, 255) : kClWindowText);
        EXPECT_EQ(s.FullBar, firstRun);
        EXPECT_FALSE(s.TransBk);
        EXPECT_EQ(s.OpaqueBkColor, !firstRun ? kAutomaticColor : index <= 1 ? Rgb(0, 0, 0) : Rgb(0x10, 0x20, 0x30));
        EXPECT_EQ(s.RedColor, kAutomaticColor);  // "-1" in the file keeps the loaded colour
    }
}

TEST(MainFormOptions, SettingsSubmenuTextColourAndTransparentBackground) {
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.File(L"Lumivex.Settings"), kPortable));
    auto form = MakeForm(dir);
    EXPECT_FALSE(form->CurrentSettings().TransBk);
    SendMessageW(form->Hwnd(), WM_COMMAND, IDM_TRANSPARENT_BACKGROUND, 0);
    EXPECT_TRUE(form->CurrentSettings().TransBk);
    EXPECT_TRUE(MenuState(*form, IDM_TRANSPARENT_BACKGROUND) & MF_CHECKED);
    SendMessageW(form->Hwnd(), WM_COMMAND, IDM_TRANSPARENT_BACKGROUND, 0);
    EXPECT_FALSE(form->CurrentSettings().TransBk);
    EXPECT_FALSE(MenuState(*form, IDM_TRANSPARENT_BACKGROUND) & MF_CHECKED);

    // Opening the submenu shows what the record says, whoever changed it.
    form->CurrentSettings().TransBk = true;
    HMENU settings2 = nullptr;
    for (int i = 0; i < GetMenuItemCount(form->Menu().Handle()); ++i) {
        if (HMENU sub = GetSubMenu(form->Menu().Handle(), i))
            settings2 = sub;
    }
    ASSERT_NE(settings2, nullptr);
    SendMessageW(form->Hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(settings2), 0);
    EXPECT_TRUE(MenuState(*form, IDM_TRANSPARENT_BACKGROUND) & MF_CHECKED);

    std::vector<COLORREF> offered;
    MainFormProbe(*form).Hooks().PickTextColor = [&](COLORREF& c) {
        offered.push_back(c);
        c = RGB(0x20, 0x40, 0x60);
        return true;
    };
    SendMessageW(form->Hwnd(), WM_COMMAND, IDM_TEXT_COLOR, 0);
    SendMessageW(form->Hwnd(), WM_COMMAND, IDM_TEXT_COLOR, 0);
    EXPECT_EQ(offered, (std::vector<COLORREF>{RGB(0, 0, 0), RGB(0x20, 0x40, 0x60)}));  // black the first time
    EXPECT_EQ(form->CurrentSettings().FontColor, Rgb(0x20, 0x40, 0x60));
    EXPECT_EQ(form->CurrentSettings().Font.Color, Rgb(0x20, 0x40, 0x60));
}

TEST(MainFormOptions, PressingTheHotKeyFreesMemoryOnce) {
    TempDir dir;
    const HotKeyValue ctrlAltJ = kHotKeyCtrl | kHotKeyAlt | 'J';
    ASSERT_TRUE(WriteBytes(dir.File(L"Lumivex.Settings"),
                           "[General]\r\nShowPercentage=0\r\nRefreshHotkey=" + std::to_string(ctrlAltJ) + "\r\n"));
    std::vector<DWORD> trimmed;
    SystemHooks o;
    o.TrimProcess = [&](DWORD pid) { trimmed.push_back(pid); };
    auto form = MakeForm(dir, o);
    ASSERT_EQ(MainFormProbe(*form).HotKeys().Count(), 1u);
    INPUT in[6] = {};
    const WORD keys[3] = {VK_CONTROL, VK_MENU, 'J'};
    for (int i = 0; i < 3; ++i) {
        in[i].type = in[5 - i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = in[5 - i].ki.wVk = keys[i];
        in[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    ASSERT_EQ(SendInput(6, in, sizeof(INPUT)), 6u);
    EXPECT_TRUE(PumpUntil([&] { return !trimmed.empty(); }, 5000));
    PumpFor(200);
    // One pass, the same as the menu's "内存清理" makes.
    size_t byHotKey = trimmed.size();
    trimmed.clear();
    MainFormProbe(*form).FreeMemory();
    size_t byMenu = trimmed.size();
    ASSERT_GT(byMenu, 0u);  // the form itself is a window
    EXPECT_EQ(byHotKey, byMenu);

    // Alt+A's WM_HOTKEY, as Windows posts it, frees memory once; another combination does nothing.
    form->CurrentSettings().FreeMemoryHotKey = 32833;
    MainFormProbe(*form).ApplyHotKey();
    ATOM id = GlobalFindAtomW(L"HotKeyManagerHotKey32833");
    ASSERT_NE(id, 0);
    trimmed.clear();
    SendMessageW(MainFormProbe(*form).HotKeys().Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_ALT, 'B'));
    EXPECT_TRUE(trimmed.empty());
    SendMessageW(MainFormProbe(*form).HotKeys().Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_ALT, 'A'));
    EXPECT_EQ(trimmed.size(), byMenu);
}
