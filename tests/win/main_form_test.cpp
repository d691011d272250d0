#include "app/main_form_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "main_form_test_util.h"
#include "platform/error_report_win.h"
#include "platform/messages.h"
#include "platform/paths_win.h"
#include "resource.h"
#include "settings/profile_win.h"
#include "settings/settings_file.h"
#include "win_test_util.h"

using namespace WinTest;
using ::testing::HasSubstr;

namespace {
constexpr char kForeign[] = "[Other]\r\nKeep=me\r\n[General]\r\nForeignKey=stays\r\nShowPercentage=1\r\n";
}  // namespace

TEST(MainForm, HiddenToolWindowWithPortableSettings) {
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.File(L"Lumivex.Settings"), kForeign));
    auto form = MakeForm(dir);
    EXPECT_FALSE(IsWindowVisible(form->Hwnd()));
    EXPECT_TRUE(GetWindowLongW(form->Hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    wchar_t cls[64];
    GetClassNameW(form->Hwnd(), cls, 64);
    EXPECT_STREQ(cls, L"TFrmLumivexMain");
    EXPECT_TRUE(MainFormProbe(*form).PortableMode());
    EXPECT_EQ(MainFormProbe(*form).SettingsPath(), dir.File(L"Lumivex.Settings"));
    EXPECT_FALSE(MainFormProbe(*form).FirstRun());
    EXPECT_TRUE(form->CurrentSettings().ShowPercentage);
    // WM_CLOSE (the close box) only hides the form.
    EXPECT_EQ(SendMessageW(form->Hwnd(), WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(form->Hwnd()));
}

TEST(MainForm, WithoutPortableFileTheSettingsLiveInTheDataFolder) {
    TempDir dir;
    SettingsLocation loc = GetSettingsFileName(dir.Path());
    EXPECT_FALSE(loc.PortableMode);
    EXPECT_THAT(Narrow(loc.Path), HasSubstr("\\Brindell\\Lumivex\\Lumivex.Settings"));
    std::wstring themes = GetDataFolder(false, dir.Path(), false, true);
    EXPECT_THAT(Narrow(themes), HasSubstr("\\Brindell\\Lumivex\\Themes\\"));
    EXPECT_NE(GetFileAttributesW(themes.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetDataFolder(true, dir.Path(), false, true), dir.Path() + L"Themes\\");
}

TEST(MainForm, SaveWritesEveryKeyInOrderAndKeepsForeignLines) {
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.File(L"Lumivex.Settings"), kForeign));
    auto form = MakeForm(dir);
    form->CurrentSettings().RedColor = Rgb(0x0D, 0x00, 0xFF);
    ASSERT_TRUE(MainFormProbe(*form).SaveSettingsFile());
    std::string text = ReadText(dir.File(L"Lumivex.Settings"));
    EXPECT_THAT(text, HasSubstr("Keep=me"));
    EXPECT_THAT(text, HasSubstr("ForeignKey=stays"));
    const char* order[] = {"Warn=1",
                           "WarnMsgBox=",
                           "HighlightProcessAbove=",
                           "NoWarningSwithOffMonMobile=",
                           "RedPercent=90",
                           "YellowPercent=65",
                           "[Font]",
                           "Name=Tahoma",
                           "Style=0",
                           "[Colors]",
                           "ProcMenuHightlightColor=Automatic",
                           "RedColor=0D00FF",
                           "FullBarColor=Automatic"};
    size_t at = 0;
    for (const char* key : order) {
        size_t found = text.find(key, key[0] == '[' ? 0 : at);
        ASSERT_NE(found, std::string::npos) << key << "\n" << text;
        if (key[0] != '[')
            at = found;
    }
}

TEST(MainForm, NewSettingsFileKeepsChineseText) {
    TempDir dir;
    auto form = MakeForm(dir);  // not portable: the per-user file may not exist yet
    TempDir other;
    IniFileProfile profile(other.File(L"fresh.ini"));
    ASSERT_TRUE(profile.WriteString("自定义颜色", "ColorA", "FFFFFF"));
    EXPECT_EQ(profile.ReadString("自定义颜色", "ColorA", ""), "FFFFFF");
    EXPECT_THAT(ReadText(other.File(L"fresh.ini")), HasSubstr("[自定义颜色]"));
}

TEST(MainForm, ReadOnlySettingsFileReportsAndLosesNothing) {
    TempDir dir;
    std::wstring path = dir.File(L"Lumivex.Settings");
    ASSERT_TRUE(WriteBytes(path, kForeign));
    ErrorCapture capture;
    auto form = MakeForm(dir, capture.Hooks());
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine running as root writes read-only files all the same; a handle that shares nothing refuses the write
    // there as Windows refuses the read-only file.
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Settings before = form->CurrentSettings();
    EXPECT_FALSE(MainFormProbe(*form).SaveSettingsFile());
    CloseHandle(lock);
    // The message names the file and says why, and the same error is in the log beside the settings.
    std::string head = "Unable to write to " + Narrow(path) + "\r\n\r\n";
    ASSERT_EQ(capture.Errors.rfind(head, 0), 0u) << capture.Errors;
    EXPECT_GT(capture.Errors.size(), head.size() + 1);
    EXPECT_THAT(ReadText(dir.File(L"Lumivex.log")), HasSubstr("  Unable to write to " + Narrow(path) + " / "));
    EXPECT_EQ(ReadBytes(path), kForeign);
    EXPECT_EQ(form->CurrentSettings().RefreshRate, before.RefreshRate);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(MainForm, ASettingsFileLockedAtStartIsNeverOverwrittenWithDefaults) {
    TempDir dir;
    std::wstring path = dir.File(L"Lumivex.Settings");
    ASSERT_TRUE(WriteBytes(path, kForeign));
    // Another program holds the file, sharing nothing, while the program starts: it loads the defaults.
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ErrorCapture capture;
    auto form = MakeForm(dir, capture.Hooks());
    CloseHandle(lock);
    EXPECT_FALSE(MainFormProbe(*form).SaveSettingsFile());
    EXPECT_THAT(capture.Errors, HasSubstr("Unable to write to " + Narrow(path)));
    EXPECT_EQ(ReadBytes(path), kForeign);  // the user's settings are all still there
    EXPECT_THAT(ReadText(dir.File(L"Lumivex.log")), HasSubstr("Unable to read " + Narrow(path)));
}

TEST(MainForm, DefaultMenuItemFollowsDoubleClickAction) {
    TempDir dir;
    auto form = MakeForm(dir);
    HMENU menu = form->Menu().Handle();
    HMENU settings2 = nullptr;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        if (HMENU sub = GetSubMenu(menu, i))
            settings2 = sub;
    ASSERT_NE(settings2, nullptr);
    struct Case {
        int Action;
        UINT Top, Sub;
    } cases[] = {{0, IDM_LAUNCH_TASK_MANAGER, UINT(-1)},
                 {1, IDM_FREE_MEMORY, UINT(-1)},
                 {3, UINT(-1), IDM_SETTINGS},
                 {2, UINT(-1), UINT(-1)},
                 {4, UINT(-1), UINT(-1)},
                 {5, UINT(-1), UINT(-1)},
                 {6, UINT(-1), UINT(-1)}};
    for (const Case& c : cases) {
        form->CurrentSettings().DoubleClickAction = c.Action;
        MainFormProbe(*form).InitDefaultMenu();
        EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), c.Top) << c.Action;
        EXPECT_EQ(GetMenuDefaultItem(settings2, FALSE, 0), c.Sub) << c.Action;
    }
}

TEST(MainForm, InitSettingsAppliesTheTimers) {
    TempDir dir;
    auto form = MakeForm(dir);
    form->CurrentSettings().RefreshRate = 250;
    form->CurrentSettings().FreeEveryMinutes = 5;
    form->CurrentSettings().FreeEveryActive = true;
    MainFormProbe(*form).InitSettings();
    EXPECT_EQ(form->RefreshTimer().PeriodMs(), 250u);
    EXPECT_TRUE(form->RefreshTimer().Active());
    EXPECT_EQ(MainFormProbe(*form).FreeTimer().PeriodMs(), 300000u);
    EXPECT_TRUE(MainFormProbe(*form).FreeTimer().Active());
    form->CurrentSettings().FreeEveryActive = false;
    MainFormProbe(*form).InitSettings();
    EXPECT_FALSE(MainFormProbe(*form).FreeTimer().Active());
}

TEST(MainForm, GarbageSettingsFileLoadsAsDefaults) {
    TempDir dir;
    std::string garbage;
    for (int i = 0; i < 70000; ++i)
        garbage += static_cast<char>((i * 7919) % 256);
    garbage += "\r\n[General]\r\nRefreshRate=" + std::string(100000, '9') +
               "\r\nShowPercentage=" + std::string(5000, 'x') + "\r\n";
    ASSERT_TRUE(WriteBytes(dir.File(L"Lumivex.Settings"), garbage));
    auto form = MakeForm(dir);
    const Settings defaults;
    EXPECT_EQ(form->CurrentSettings().RefreshRate, defaults.RefreshRate);
    EXPECT_EQ(form->CurrentSettings().ShowPercentage, defaults.ShowPercentage);
    EXPECT_EQ(form->CurrentSettings().RedPercent, defaults.RedPercent);
    EXPECT_TRUE(MainFormProbe(*form).FirstRun());
}
