#include "options/options_dialog_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "options_dialog_test_util.h"
#include "settings/color_text.h"
#include "settings_record.h"

using namespace WinTest;
using ::testing::ElementsAre;

namespace {
// Every setting the dialog edits, away from its default.
Settings Changed() {
    Settings s;
    s.Warn = false;
    s.WarnMsgBox = true;
    s.ShowPage = true;
    s.ShowFree = true;
    s.ShowPercentage = true;
    s.ShowPercSign = true;
    s.YellowPercent = 40;
    s.RedPercent = 70;
    s.NoBorder = false;
    s.InternalFont = false;
    s.MiniInternalFont = false;
    s.TransBk = true;
    s.BarBottom = true;
    s.HintWhatIsDisplayed = false;
    s.StandardGauge = true;
    s.FullBar = true;
    s.RefreshRate = 700;
    s.FreeMemoryHotKey = kHotKeyShift | kHotKeyAlt | 'M';
    s.ShowTopProcess = true;
    s.TopProcessCount = 7;
    s.CommitRedPercent = 95;
    s.HistoryGrowthShare = 25;
    s.ShowGrowthInMenu = true;
    s.ShowMemMenu = false;
    s.OptimizeForGigabytes = false;
    s.FreeOnHighMemory = false;
    s.FreeEveryActive = true;
    s.FreeEveryMinutes = 30;
    s.DoubleClickAction = 4;
    s.SwitchOffMonitorOnLock = true;
    s.HighlightProcessAbove = 250;
    s.ProcessHighlightColor = Rgb(0, 0, 128);
    s.ShowNameInsteadOfModule = true;
    s.FollowTaskbarTheme = true;
    s.Font = FontSpec{"Courier New", 0, Rgb(0x12, 0x34, 0x56), 9, 3};
    s.FontColor = Rgb(0x12, 0x34, 0x56);
    s.OpaqueBkColor = Rgb(1, 2, 3);
    s.FullBarColor = SystemColor(15);
    s.BarBorderColor = kAutomaticColor;
    s.GreenColor = Rgb(0, 0x80, 0);
    s.YellowColor = Rgb(0xEE, 0xDD, 0);
    s.RedColor = Rgb(0xC0, 0, 0);
    s.Language = "en";
    return s;
}

}  // namespace

TEST(OptionsDialog, FrameCaptionSizeAndPages) {
    OptionsFixture f;
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        wchar_t caption[64];
        GetWindowTextW(d.Hwnd(), caption, 64);
        EXPECT_EQ(Narrow(caption), "Lumivex 设置");
        RECT client;
        GetClientRect(d.Hwnd(), &client);
        WindowDc dc(d.Hwnd());
        int dpi = GetDeviceCaps(dc.Get(), LOGPIXELSX);
        EXPECT_EQ(client.right, MulDiv(408, dpi, 96));
        EXPECT_EQ(client.bottom, MulDiv(351, dpi, 96));
        HWND tab = d.Item(IDC_PAGECONTROL1);
        std::vector<std::string> tabs;
        for (int i = 0; i < SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0); ++i) {
            wchar_t text[32] = {};
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = 32;
            SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            tabs.push_back(Narrow(text));
        }
        EXPECT_THAT(tabs, ElementsAre("常规", "辅助", "托盘图标", "显示", "主题"));
        EXPECT_EQ(d.ActivePage(), 0);
        EXPECT_EQ(TextOf(d, IDOK), "确定");
        EXPECT_EQ(TextOf(d, IDCANCEL), "取消");
        EXPECT_EQ(TextOf(d, IDC_BTNAPPLY), "应用");
        EXPECT_EQ(TextOf(d, IDC_LABELHIGHMEMORYACTION), "触发事件（当内存超出    90%  ）时，执行：      ");
        EXPECT_THAT(ComboEntries(d, IDC_CMBDOUBLECLICK),
                    ElementsAre("任务管理器（默认）", "清理内存", "内存信息", "显示设置", "锁定电脑", "运行程序",
                                "关闭电脑", "显示内存历史"));
        EXPECT_THAT(ComboEntries(d, IDC_COMBOGBVALUES), ElementsAre("MB为单位", "GB为单位"));
        // The link opens the theme page.
        NMHDR click{d.Item(IDC_THEMESLINK), IDC_THEMESLINK, static_cast<UINT>(NM_CLICK)};
        SendMessageW(GetParent(click.hwndFrom), WM_NOTIFY, IDC_THEMESLINK, reinterpret_cast<LPARAM>(&click));
        EXPECT_EQ(d.ActivePage(), 4);
        EXPECT_TRUE(IsWindowVisible(d.Item(IDC_LBCOLORS)));
        EXPECT_FALSE(IsWindowVisible(d.Item(IDC_CKSHOWPAGE)));
    });
    EXPECT_EQ(f.Saves, 0);  // Cancel itself saves nothing: the caller does
}

TEST(OptionsDialog, EverySettingShowsAndComesBackUnchanged) {
    for (Settings start : {Settings{}, Changed()}) {
        OptionsFixture f;
        f.Settings = start;
        OptionsDialog dialog(f.Host(), f.Prompts());
        RunOptions(dialog, false, [&](OptionsDialog& d) {
            EXPECT_EQ(IsChecked(d, IDC_CKWARN), start.Warn);
            EXPECT_EQ(IsChecked(d, IDC_CKSHOWPAGE), start.ShowPage);
            EXPECT_EQ(IsChecked(d, IDC_CHECKOPAQUE), start.TransBk);
            EXPECT_EQ(TextOf(d, IDC_TXTYELLOW), std::to_string(start.YellowPercent));
            EXPECT_EQ(TextOf(d, IDC_TXTRED), std::to_string(start.RedPercent));
            EXPECT_EQ(TextOf(d, IDC_EDITMILI), std::to_string(start.RefreshRate));
            EXPECT_EQ(TextOf(d, IDC_WINSPINDEFRAGEVERYACTIVE), std::to_string(start.FreeEveryMinutes));
            EXPECT_EQ(TextOf(d, IDC_EDITPROCS), std::to_string(start.TopProcessCount));
            EXPECT_EQ(TextOf(d, IDC_EDITPROCSRAM), std::to_string(start.HighlightProcessAbove));
            EXPECT_EQ(TextOf(d, IDC_EDITCOMMITRED), std::to_string(start.CommitRedPercent));
            EXPECT_EQ(TextOf(d, IDC_EDITGROWTHSHARE), std::to_string(start.HistoryGrowthShare));
            EXPECT_EQ(IsChecked(d, IDC_CKSHOWGROWTH), start.ShowGrowthInMenu);
            EXPECT_EQ(Selected(d, IDC_CMBDOUBLECLICK), start.DoubleClickAction);
            EXPECT_EQ(SendMessageW(d.Item(IDC_HOTKEY1), HKM_GETHOTKEY, 0, 0),
                      HotKeyControlFromShortCut(static_cast<HotKeyValue>(start.FreeMemoryHotKey)));
            EXPECT_EQ(TextOf(d, IDC_FONTPANEL), start.InternalFont ? "(Internal Font)" : "Courier New, 9pt");
            const ColorTextListBox& colors = d.ColorList();
            ASSERT_EQ(colors.Count(), 7);
            EXPECT_EQ(colors.Label(4), "正常\\绿色     ");
            for (int i = 0; i < 7; ++i) {
                EXPECT_EQ(colors.Text(i), ColorEntryText(start.*kThemeColorSlots[static_cast<size_t>(i)].Member)) << i;
            }
            Click(d, IDOK);
        });
        EXPECT_EQ(f.Saves, 1);
        EXPECT_EQ(f.Applied, 1);
        ExpectSameSettings(f.Settings, start);
    }
}

TEST(OptionsDialog, EditedControlsReachTheRecord) {
    OptionsFixture f;
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        for (int id : {IDC_CKWARN, IDC_CKWARNMSGBOX, IDC_CKSHOWFREE, IDC_CKDISPLAYHINT, IDC_CHECKDEFRAGONHIGHMEM,
                       IDC_CHECKDEFRAGEVERYACTIVE, IDC_CHECKMONITOR, IDC_CKSHOWMEMMENU, IDC_CHECKSHOWPROCESSNAME,
                       IDC_CHECKOPAQUE, IDC_CHECKSTANDARDBAR, IDC_CKNOBORDER, IDC_CKBARBOTTOM, IDC_CHECKFULLBAR,
                       IDC_CKMINIFONT, IDC_CKSHOWPERCENTAGE, IDC_CKSHOWPERCSIGN, IDC_CKSHOWGROWTH}) {
            Click(d, id);
        }
        Type(d, IDC_WINSPINDEFRAGEVERYACTIVE, "45");
        Type(d, IDC_EDITMILI, "1200");
        Type(d, IDC_EDITPROCS, "12");
        Type(d, IDC_EDITPROCSRAM, "300");
        Type(d, IDC_EDITCOMMITRED, "92");
        Type(d, IDC_EDITGROWTHSHARE, "15");
        Choose(d, IDC_CMBDOUBLECLICK, 7);
        Choose(d, IDC_COMBOGBVALUES, 0);
        SendMessageW(d.Item(IDC_HOTKEY1), HKM_SETHOTKEY, MAKEWORD('Q', HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
        Choose(d, IDC_CMBCOLORPROCESSES, 2);  // the first basic colour after black: maroon
        Click(d, IDOK);
    });
    const Settings& s = f.Settings;
    EXPECT_FALSE(s.Warn);
    EXPECT_TRUE(s.WarnMsgBox);
    EXPECT_TRUE(s.ShowFree);
    EXPECT_FALSE(s.HintWhatIsDisplayed);
    EXPECT_FALSE(s.FreeOnHighMemory);
    EXPECT_TRUE(s.FreeEveryActive);
    EXPECT_EQ(s.FreeEveryMinutes, 45);
    EXPECT_TRUE(s.SwitchOffMonitorOnLock);  // a desktop computer: no warning
    EXPECT_FALSE(s.ShowMemMenu);
    EXPECT_TRUE(s.ShowNameInsteadOfModule);
    EXPECT_TRUE(s.TransBk);
    EXPECT_TRUE(s.StandardGauge);
    EXPECT_FALSE(s.NoBorder);
    EXPECT_TRUE(s.BarBottom);
    EXPECT_TRUE(s.FullBar);
    EXPECT_TRUE(s.MiniInternalFont);
    EXPECT_TRUE(s.ShowPercentage);
    EXPECT_TRUE(s.ShowPercSign);
    EXPECT_EQ(s.RefreshRate, 1200);
    EXPECT_EQ(s.TopProcessCount, 12);
    EXPECT_EQ(s.HighlightProcessAbove, 300);
    EXPECT_EQ(s.DoubleClickAction, 7);
    EXPECT_EQ(s.CommitRedPercent, 92);
    EXPECT_EQ(s.HistoryGrowthShare, 15);
    EXPECT_TRUE(s.ShowGrowthInMenu);
    EXPECT_FALSE(s.OptimizeForGigabytes);
    EXPECT_EQ(s.FreeMemoryHotKey, static_cast<int32_t>(kHotKeyCtrl | kHotKeyShift | 'Q'));
    EXPECT_EQ(s.ProcessHighlightColor, Rgb(128, 0, 0));
}

TEST(OptionsDialog, ApplyStoresAndStaysOpenThenCancelKeepsIt) {
    OptionsFixture f;
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        Click(d, IDC_CKSHOWFREE);
        Click(d, IDC_BTNAPPLY);
        EXPECT_TRUE(IsWindowVisible(d.Hwnd()));
        EXPECT_TRUE(f.Settings.ShowFree);
        EXPECT_EQ(f.Saves, 1);
        EXPECT_EQ(f.Applied, 1);
        Click(d, IDC_CKWARN);
        Click(d, IDCANCEL);
    });
    EXPECT_TRUE(f.Settings.ShowFree);
    EXPECT_TRUE(f.Settings.Warn);  // changed after Apply, then cancelled
    EXPECT_EQ(f.Saves, 1);
}

TEST(OptionsDialog, AFailedSaveKeepsTheDialogOpenWithTheRecordUpdated) {
    OptionsFixture f;
    f.FailSave = true;
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        Click(d, IDC_CKSHOWFREE);
        Click(d, IDOK);
        EXPECT_TRUE(IsWindow(d.Hwnd()));
        EXPECT_TRUE(f.Settings.ShowFree);
        EXPECT_EQ(f.Applied, 0);
    });
}

TEST(OptionsDialog, HandWrittenValuesSurviveOk) {
    // A double-click action outside the list selects no entry and stays; the small digits stay while the built-in
    // digits are off, though their box is disabled.
    for (int32_t action : {-1, 8}) {
        OptionsFixture f;
        f.Settings.DoubleClickAction = action;
        f.Settings.InternalFont = false;
        f.Settings.MiniInternalFont = true;
        OptionsDialog dialog(f.Host(), f.Prompts());
        RunOptions(dialog, false, [&](OptionsDialog& d) {
            EXPECT_EQ(Selected(d, IDC_CMBDOUBLECLICK), -1);
            EXPECT_FALSE(IsWindowEnabled(d.Item(IDC_CKMINIFONT)));
            Click(d, IDOK);
        });
        EXPECT_EQ(f.Settings.DoubleClickAction, action);
        EXPECT_TRUE(f.Settings.MiniInternalFont);
    }
    // Picking an entry replaces it.
    OptionsFixture f;
    f.Settings.DoubleClickAction = 7;
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        Choose(d, IDC_CMBDOUBLECLICK, 4);
        Click(d, IDOK);
    });
    EXPECT_EQ(f.Settings.DoubleClickAction, 4);
}

TEST(OptionsDialog, UntickedPeriodicTrimKeepsTheOldPeriod) {
    OptionsFixture f;
    f.Settings.FreeEveryActive = true;
    f.Settings.FreeEveryMinutes = 33;
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        Click(d, IDC_CHECKDEFRAGEVERYACTIVE);
        EXPECT_FALSE(IsEnabled(d, IDC_WINSPINDEFRAGEVERYACTIVE));
        EXPECT_FALSE(IsEnabled(d, IDC_LABELDEFRAGEVERY));
        Type(d, IDC_WINSPINDEFRAGEVERYACTIVE, "500");
        Click(d, IDOK);
    });
    EXPECT_FALSE(f.Settings.FreeEveryActive);
    EXPECT_EQ(f.Settings.FreeEveryMinutes, 33);
}

TEST(OptionsDialog, UntickedHighlightStoresZeroAndReopensAtHundred) {
    OptionsFixture f;
    f.Settings.HighlightProcessAbove = 250;
    {
        OptionsDialog dialog(f.Host(), f.Prompts());
        RunOptions(dialog, false, [&](OptionsDialog& d) {
            Click(d, IDC_CHECKHIGHLIGHTPROCESS);
            Click(d, IDOK);
        });
    }
    EXPECT_EQ(f.Settings.HighlightProcessAbove, 0);
    OptionsDialog again(f.Host(), f.Prompts());
    RunOptions(again, false, [&](OptionsDialog& d) {
        EXPECT_FALSE(IsChecked(d, IDC_CHECKHIGHLIGHTPROCESS));
        EXPECT_EQ(TextOf(d, IDC_EDITPROCSRAM), "100");
        EXPECT_FALSE(IsEnabled(d, IDC_EDITPROCSRAM));
        EXPECT_FALSE(IsEnabled(d, IDC_CMBCOLORPROCESSES));
    });
}

TEST(OptionsDialog, YellowAndRedBoundEachOther) {
    OptionsFixture f;  // yellow 65, red 90
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        auto press = [&](int id, UINT key, int times) {
            for (int i = 0; i < times; ++i) {
                SendMessageW(d.Item(id), WM_KEYDOWN, key, 0);
                SendMessageW(d.Item(id), WM_KEYUP, key, 0);
            }
        };
        press(IDC_TXTYELLOW, VK_UP, 40);
        EXPECT_EQ(TextOf(d, IDC_TXTYELLOW), "89");
        press(IDC_TXTYELLOW, VK_DOWN, 20);  // back to 69
        press(IDC_TXTRED, VK_DOWN, 40);
        EXPECT_EQ(TextOf(d, IDC_TXTRED), "70");
        EXPECT_EQ(TextOf(d, IDC_LABELHIGHMEMORYACTION), "触发事件（当内存超出    70%  ）时，执行：      ");
        // The fields take no typing.
        SendMessageW(d.Item(IDC_TXTRED), WM_CHAR, '5', 0);
        EXPECT_EQ(TextOf(d, IDC_TXTRED), "70");
        Click(d, IDOK);
    });
    EXPECT_EQ(f.Settings.YellowPercent, 69);
    EXPECT_EQ(f.Settings.RedPercent, 70);
}

TEST(OptionsDialog, SpinEditsTakeNumbersAndComeIntoRangeOnLeaving) {
    OptionsFixture f;
    f.Settings.RefreshRate = 50;  // below the field's minimum, as a hand-edited file may have it
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        EXPECT_EQ(TextOf(d, IDC_EDITMILI), "50");
        HWND edit = d.Item(IDC_EDITPROCS);
        SetControlText(edit, "");
        for (wchar_t c : std::wstring(L"1x2"))
            SendMessageW(edit, WM_CHAR, c, 0);
        EXPECT_EQ(TextOf(d, IDC_EDITPROCS), "12");
        SetControlText(edit, "500");
        SendMessageW(edit, WM_KEYUP, '0', 0);
        EXPECT_EQ(TextOf(d, IDC_EDITPROCS), "100");
        SetControlText(edit, "");
        SendMessageW(edit, WM_KILLFOCUS, 0, 0);
        EXPECT_EQ(TextOf(d, IDC_EDITPROCS), "1");
        Click(d, IDOK);
    });
    EXPECT_EQ(f.Settings.RefreshRate, 50);  // stored again as it was, since the field was not edited
    EXPECT_EQ(f.Settings.TopProcessCount, 1);
}

TEST(OptionsDialog, EnablingRules) {
    OptionsFixture f;
    f.Settings.ShowPercentage = false;
    f.Settings.InternalFont = true;
    f.Settings.MiniInternalFont = true;
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        EXPECT_TRUE(IsEnabled(d, IDC_CKSHOWPAGE));
        EXPECT_TRUE(IsEnabled(d, IDC_COMBOGBVALUES));
        EXPECT_FALSE(IsEnabled(d, IDC_CKSHOWPERCSIGN));
        Click(d, IDC_CKSHOWPERCENTAGE);
        EXPECT_FALSE(IsEnabled(d, IDC_CKSHOWPAGE));
        EXPECT_FALSE(IsEnabled(d, IDC_LABELGBVALUES));
        EXPECT_FALSE(IsEnabled(d, IDC_COMBOGBVALUES));
        EXPECT_TRUE(IsEnabled(d, IDC_CKSHOWPERCSIGN));

        // Unticking the top list disables and unticks the highlight and everything under it.
        EXPECT_TRUE(IsChecked(d, IDC_CHECKHIGHLIGHTPROCESS));
        Click(d, IDC_CKSHOWTOP);
        for (int id : {IDC_EDITPROCS, IDC_LABELSHOWTOP, IDC_LABELPROCESSS, IDC_CHECKHIGHLIGHTPROCESS, IDC_EDITPROCSRAM,
                       IDC_LABELMB, IDC_CMBCOLORPROCESSES, IDC_LABELHIGHLIGHTCOLOR}) {
            EXPECT_FALSE(IsEnabled(d, id)) << id;
        }
        EXPECT_FALSE(IsChecked(d, IDC_CHECKHIGHLIGHTPROCESS));
        Click(d, IDC_CKSHOWTOP);
        EXPECT_TRUE(IsEnabled(d, IDC_CHECKHIGHLIGHTPROCESS));
        EXPECT_FALSE(IsEnabled(d, IDC_EDITPROCSRAM));

        // The built-in font: the font button is off and the small font is offered.
        EXPECT_EQ(TextOf(d, IDC_FONTPANEL), "(Internal Font)");
        EXPECT_FALSE(IsEnabled(d, IDC_FONTBUTTON));
        EXPECT_TRUE(IsEnabled(d, IDC_CKMINIFONT));
        EXPECT_TRUE(IsChecked(d, IDC_CKMINIFONT));
        Click(d, IDC_CKINTERNALFONT);
        EXPECT_EQ(TextOf(d, IDC_FONTPANEL), "Tahoma, 6pt");
        EXPECT_TRUE(IsEnabled(d, IDC_FONTBUTTON));
        EXPECT_FALSE(IsEnabled(d, IDC_CKMINIFONT));
        EXPECT_FALSE(IsChecked(d, IDC_CKMINIFONT));
        Click(d, IDOK);
    });
    EXPECT_FALSE(f.Settings.ShowTopProcess == false);
    EXPECT_EQ(f.Settings.HighlightProcessAbove, 0);
    EXPECT_FALSE(f.Settings.MiniInternalFont);
    EXPECT_FALSE(f.Settings.InternalFont);
}

TEST(OptionsDialog, FontButtonChangesTheChosenFontAndTheTextColour) {
    OptionsFixture f;
    f.Settings.InternalFont = false;
    f.ChooseFont = [](FontSpec& font) {
        font = FontSpec{"Arial", 0, Rgb(0xAA, 0xBB, 0xCC), 11, 1};
        return true;
    };
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        Click(d, IDC_FONTBUTTON);
        EXPECT_EQ(TextOf(d, IDC_FONTPANEL), "Arial, 11pt");
        EXPECT_EQ(d.ColorList().Text(0), "AABBCC");
        Click(d, IDOK);
    });
    EXPECT_EQ(f.Settings.Font, (FontSpec{"Arial", 0, Rgb(0xAA, 0xBB, 0xCC), 11, 1}));
    EXPECT_EQ(f.Settings.FontColor, Rgb(0xAA, 0xBB, 0xCC));
}

TEST(OptionsDialog, PortableDeviceWarning) {
    struct Case {
        bool Portable;
        bool NoWarning;
        int Answer;
        bool Verify;
        size_t Warnings;
        bool Ticked;
    } cases[] = {
        {false, false, 100, false, 0, true},  // a desktop: no question
        {true, true, 100, false, 0, true},    // told not to ask again
        {true, false, 100, false, 1, true},   // "Activate &Option"
        {true, false, 101, false, 1, false},  // "Do&n't Activate"
        {true, false, 101, true, 1, false},
    };
    for (const Case& c : cases) {
        OptionsFixture f;
        f.Portable = c.Portable;
        f.Settings.NoMonitorOffWarningOnPortable = c.NoWarning;
        f.WarningAnswer = c.Answer;
        f.WarningVerify = c.Verify;
        OptionsDialog dialog(f.Host(), f.Prompts());
        RunOptions(dialog, false, [&](OptionsDialog& d) {
            Click(d, IDC_CHECKMONITOR);
            EXPECT_EQ(f.Warnings.size(), c.Warnings);
            EXPECT_EQ(IsChecked(d, IDC_CHECKMONITOR), c.Ticked);
            if (c.Ticked) {
                Click(d, IDC_CHECKMONITOR);  // unticking never asks
                EXPECT_EQ(f.Warnings.size(), c.Warnings);
            }
        });
        EXPECT_EQ(f.Settings.NoMonitorOffWarningOnPortable, c.NoWarning || c.Verify);  // set at once, Cancel or not
        if (!f.Warnings.empty()) {
            const TaskDialogTexts& w = f.Warnings[0];
            EXPECT_EQ(w.Caption, "Warning");
            EXPECT_EQ(w.Instruction, "Detected running on a portable device");
            EXPECT_EQ(w.ButtonList, "Activate &Option\nDo&n't Activate");
            EXPECT_EQ(w.VerifyText, "Do not show this warning again");
        }
    }
    // Ticked again on a portable computer, it asks again every time until told not to.
    OptionsFixture f;
    f.Portable = true;
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        Click(d, IDC_CHECKMONITOR);
        Click(d, IDC_CHECKMONITOR);
        Click(d, IDC_CHECKMONITOR);
        EXPECT_EQ(f.Warnings.size(), 2u);
    });
}

TEST(OptionsDialog, HotKeyFieldAddsAltToAPlainKey) {
    // A global hot key without Ctrl or Alt would take that key from every other program.
    OptionsFixture f;
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        d.SetActivePage(1);
        HWND field = d.Item(IDC_HOTKEY1);
        SetFocus(field);
        SendMessageW(field, WM_KEYDOWN, 'B', 0);
        SendMessageW(field, WM_KEYUP, 'B', 0);
        EXPECT_EQ(SendMessageW(field, HKM_GETHOTKEY, 0, 0), MAKEWORD('B', HOTKEYF_ALT));
        Click(d, IDOK);
    });
    EXPECT_EQ(f.Settings.FreeMemoryHotKey, static_cast<int32_t>(kHotKeyAlt | 'B'));
}

TEST(OptionsDialog, CtrlTabTurnsThePages) {
    OptionsFixture f;
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        SetForegroundWindow(d.Hwnd());
        SetFocus(d.Item(IDC_CKSHOWPAGE));
        auto press = [](std::vector<WORD> keys) {
            std::vector<INPUT> in(keys.size() * 2);
            for (size_t i = 0; i < keys.size(); ++i) {
                in[i].type = in[in.size() - 1 - i].type = INPUT_KEYBOARD;
                in[i].ki.wVk = in[in.size() - 1 - i].ki.wVk = keys[i];
                in[in.size() - 1 - i].ki.dwFlags = KEYEVENTF_KEYUP;
            }
            SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
        };
        // The keys go through a loop like the dialog's own (this script runs inside one of its messages).
        auto pumpUntilPage = [&](int page) {
            DWORD start = GetTickCount();
            while (d.ActivePage() != page && GetTickCount() - start < 3000) {
                MSG msg;
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                    if (CallMsgFilterW(&msg, MSGF_DIALOGBOX) || IsDialogMessageW(d.Hwnd(), &msg))
                        continue;
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            }
            return d.ActivePage() == page;
        };
        press({VK_CONTROL, VK_TAB});
        EXPECT_TRUE(pumpUntilPage(1));
        press({VK_CONTROL, VK_NEXT});
        EXPECT_TRUE(pumpUntilPage(2));
        press({VK_CONTROL, VK_SHIFT, VK_TAB});
        EXPECT_TRUE(pumpUntilPage(1));
        press({VK_CONTROL, VK_PRIOR});
        press({VK_CONTROL, VK_PRIOR});
        EXPECT_TRUE(pumpUntilPage(4));
    });
}
