// The tray menu, its memory rows and the hint in the language of the settings, and a switch with Apply.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_form_win.h"
#include "main_form_test_util.h"
#include "options_dialog_test_util.h"
#include "platform/texts.h"
#include "processes/tray_menu_model.h"
#include "resource.h"

using namespace WinTest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {
// The fixed items of the top level and of the settings submenu, and the memory rows' labels, by their texts.
std::vector<std::string> MenuTexts(MainForm& form) {
    std::vector<std::string> texts;
    for (int i = 0; i < form.Menu().Items().Count(); ++i) {
        MenuItemEx* item = form.Menu().Items().ItemAt(i);
        if (item->Caption != "-" && item->Tag != kTagProcessRow)
            texts.push_back(form.Menu().ItemText(*item));
    }
    HMENU settings = GetSubMenu(form.Menu().Handle(), form.Menu().Items().IndexOfId(IDM_ABOUT) - 2);
    for (int i = 0; settings && i < GetMenuItemCount(settings); ++i) {
        MenuItemEx* item = PopupMenu::ItemAt(settings, i);
        if (item->Caption != "-")
            texts.push_back(form.Menu().ItemText(*item));
    }
    return texts;
}

struct OpenOptions {
    MainForm& Form;
    HWND Hwnd() const {
        OptionsDialog* dialog = MainFormProbe(Form).ShownOptionsDialog();
        return dialog ? dialog->Hwnd() : nullptr;
    }
};
}  // namespace

TEST(LanguageMenu, EnglishSettingsGiveEnglishMenuRowsAndHintAndApplySwitchesBack) {
    TempDir dir;
    WriteBytes(dir.File(L"Lumivex.Settings"), "[General]\r\nLanguage=en\r\nShowTopProcess=0\r\n");
    auto form = MakeForm(dir);
    form->RefreshTick();
    form->Menu().BuildRows(form->Tray().Hint());
    EXPECT_THAT(form->Tray().Hint(), HasSubstr("Showing: used physical memory \r\nMemory load: 40%\r\n"));
    // Read out as the icon's name, the English hint starts with the figure the icon shows.
    EXPECT_EQ(form->Tray().Hint().find(" in use\r\nShowing: used physical memory \r\n"),
              form->Tray().Hint().find("\r\n") - 7);
    EXPECT_THAT(MenuTexts(*form),
                ElementsAre("Open &Task Manager", "Showing", "Memory load", "Physical memory", "Page file",
                            "Memory &history…", "&Free up memory", "&Settings", "&About Lumivex", "E&xit", "&Themes…",
                            "Text &color…", "Transparent icon &background", "&More settings…"));

    OpenOptions shown{*form};
    RunModal<OpenOptions>(
        shown,
        [&](OpenOptions&) {
            OptionsDialog& d = *MainFormProbe(*form).ShownOptionsDialog();
            EXPECT_EQ(GetControlText(d.Hwnd()), "Lumivex settings");
            EXPECT_EQ(TextOf(d, IDC_CKSHOWFREE), "Show &free memory in the tray icon");
            EXPECT_THAT(ComboEntries(d, IDC_CMBLANGUAGE), ElementsAre("中文", "English"));
            EXPECT_EQ(Selected(d, IDC_CMBLANGUAGE), 1);
            EXPECT_EQ(ComboEntry(d, IDC_CBTHEMES, 0), "Default colors");
            EXPECT_EQ(TextOf(d, IDC_FONTPANEL), "(Built-in digits)");
            Choose(d, IDC_CMBLANGUAGE, 0);
            Click(d, IDC_BTNAPPLY);
            // The open dialog follows at once, its choices kept.
            EXPECT_EQ(GetControlText(d.Hwnd()), "Lumivex 设置");
            EXPECT_EQ(TextOf(d, IDC_CKSHOWFREE), "托盘图标数据显示空闲内存");
            EXPECT_EQ(ComboEntry(d, IDC_CMBDOUBLECLICK, Selected(d, IDC_CMBDOUBLECLICK)), "任务管理器（默认）");
            EXPECT_THAT(ComboEntries(d, IDC_CBTHEMES), ElementsAre("Default Colors", "Current Colors"));
            EXPECT_EQ(Selected(d, IDC_CBTHEMES), 1);
            EXPECT_EQ(TextOf(d, IDC_FONTPANEL), "(Internal Font)");
            Click(d, IDOK);
        },
        [&] { SendMessageW(form->Hwnd(), WM_COMMAND, IDM_SETTINGS, 0); });

    EXPECT_EQ(form->CurrentSettings().Language, "zh");
    EXPECT_THAT(ReadText(MainFormProbe(*form).SettingsPath()), HasSubstr("Language=zh"));
    EXPECT_THAT(form->Tray().Hint(), HasSubstr("当前显示： 已用 物理内存"));
    form->Menu().BuildRows(form->Tray().Hint());
    EXPECT_THAT(MenuTexts(*form), ElementsAre("运行任务管理器", "当前显示： 已用 物理内存        ", "内存使用率   ",
                                              "物理内存使用    ", "页面文件  ", "内存历史…", "内存清理", "设置", "关于",
                                              "退出", "主题", "文本颜色", "图标背景透明", "更多设置"));
}

TEST(LanguageMenu, AnUnknownLanguageReadsAsChinese) {
    TempDir dir;
    WriteBytes(dir.File(L"Lumivex.Settings"), "[General]\r\nLanguage=fr\r\n");
    auto form = MakeForm(dir);
    EXPECT_EQ(form->CurrentSettings().Language, "zh");
    EXPECT_EQ(CurrentLanguage(), Language::Chinese);
    EXPECT_EQ(form->Menu().ItemText(*form->Menu().Items().FindById(IDM_CLOSE)), "退出");
}
