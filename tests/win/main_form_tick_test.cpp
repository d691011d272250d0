// The refresh tick of the main form: picture and hint to the tray, the high-memory warning, memory trimming.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/main_form_win.h"
// after windows.h
#include <commctrl.h>

#include "main_form_test_util.h"
#include "memory/memory_status_win.h"
#include "platform/dib_win.h"
#include "resource.h"
#include "system/task_dialog_win.h"
#include "test_shell.h"
#include "tray/tray_renderer.h"
#include "win_test_util.h"

using namespace WinTest;

namespace {
constexpr uint64_t kGiB = 1ull << 30;

// A form whose tick reads `sample`, whose clock reads `now` and whose trims and dialogs are recorded.
struct TickRig {
    MemorySample Sample;
    uint32_t Now = 1000;
    std::vector<std::string> Log;
    std::function<int(TaskDialogTexts&)> Dialog = [](TaskDialogTexts&) { return 102; };
    TempDir Dir;
    std::unique_ptr<MainForm> Form;

    explicit TickRig(uint32_t load = 40, bool realDialog = false) {
        SetLoad(load);
        SystemHooks o;
        o.Sample = [this] { return Sample; };
        o.TickCount = [this] { return Now; };
        o.TrimProcess = [this](DWORD) {
            if (Log.empty() || Log.back() != "trim")
                Log.push_back("trim");
        };
        if (!realDialog) {
            o.WarningDialog = [this](TaskDialogTexts& d) {
                Log.push_back("dialog " + d.Instruction + " | " + d.ButtonList + " | " + d.VerifyText);
                return Dialog(d);
            };
        }
        // Settings of its own beside the program, whatever other tests left in the per-user file.
        WriteBytes(Dir.File(L"Lumivex.Settings"),
                   "[General]\r\nShowPercentage=0\r\nWarn=1\r\nDefragOnHighMemory=1\r\nWarnMsgBox=0\r\n"
                   "RedPercent=90\r\nInternalFont=1\r\nTransBk=0\r\n");
        Form = MakeForm(Dir, o);
    }
    void SetLoad(uint32_t load, uint64_t used = 3 * kGiB) {
        Sample.MemoryLoad = load;
        Sample.TotalPhys = 8 * kGiB;
        Sample.AvailPhys = 8 * kGiB - used;
        Sample.TotalPageFile = 16 * kGiB;
        Sample.AvailPageFile = 9 * kGiB;
    }
    TrayImage Expected() const {
        GdiSystemColors colors;
        return RenderTrayImage(Sample, Form->CurrentSettings(),
                               TrayRenderContext{colors, nullptr, UserNumberSeparators()});
    }
};

// The icon's pixels back as the picture would have them, with transparent pixels as the key.
TrayPicture IconPixels(HICON icon) {
    TrayPicture picture;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return picture;
    UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAPINFO bi = TopDownDibInfo(kTrayImageSize, kTrayImageSize);
    uint32_t colorBits[256] = {}, maskBits[256] = {};
    WindowDc screen(nullptr);
    GetDIBits(screen.Get(), color.Get(), 0, kTrayImageSize, colorBits, &bi, DIB_RGB_COLORS);
    GetDIBits(screen.Get(), mask.Get(), 0, kTrayImageSize, maskBits, &bi, DIB_RGB_COLORS);
    for (size_t i = 0; i < 256; ++i) {
        uint32_t c = colorBits[i] & 0xFFFFFF;
        picture.Pixels[i] = (maskBits[i] & 0xFFFFFF) ? kTransparentKey : ((c & 0xFF) << 16) | (c & 0xFF00) | (c >> 16);
    }
    return picture;
}
}  // namespace

TEST(RefreshTick, ShowsPictureAndHintAndSendsNothingWhenNothingChanged) {
    ScopedTestShell shell;
    TickRig rig;
    TrayIcon& tray = rig.Form->Tray();
    EXPECT_EQ(tray.Hint(), rig.Expected().Hint);  // the start-up tick already ran
    EXPECT_EQ(IconPixels(tray.Icon()), rig.Expected().Picture);

    const int modifies = shell->Count(NIM_MODIFY);
    const HICON icon = tray.Icon();
    rig.Form->RefreshTick();
    EXPECT_EQ(shell->Count(NIM_MODIFY), modifies);
    EXPECT_EQ(tray.Icon(), icon);

    // A new figure: one update carries icon and tip together.
    rig.SetLoad(41, 5 * kGiB);
    rig.Form->RefreshTick();
    ASSERT_EQ(shell->Count(NIM_MODIFY), modifies + 1);
    const NOTIFYICONDATAW& sent = shell->Calls.back().Data;
    EXPECT_EQ(sent.uFlags & (NIF_ICON | NIF_TIP), static_cast<UINT>(NIF_ICON | NIF_TIP));
    EXPECT_EQ(Narrow(sent.szTip), rig.Expected().Hint.substr(0, Narrow(sent.szTip).size()));
    EXPECT_EQ(IconPixels(tray.Icon()), rig.Expected().Picture);

    // Only the transparency changes: the picture is the same, the icon is not.
    rig.Form->CurrentSettings().TransBk = true;
    rig.Form->CurrentSettings().ShowPercentage = true;
    rig.Form->RefreshTick();
    EXPECT_EQ(shell->Count(NIM_MODIFY), modifies + 2);
    TrayPicture transparent = rig.Expected().Picture;
    EXPECT_EQ(IconPixels(tray.Icon()), transparent);
    EXPECT_EQ(transparent.At(15, 15), kTransparentKey);
}

TEST(RefreshTick, DisplayFontDrawsTheFigureBelowTheGauge) {
    ScopedTestShell shell;
    TickRig rig;
    rig.Form->CurrentSettings().InternalFont = false;
    rig.Form->CurrentSettings().ShowPercentage = true;
    rig.SetLoad(88);
    rig.Form->RefreshTick();
    const TrayPicture picture = IconPixels(rig.Form->Tray().Icon());
    int inked = 0;
    for (int y = 0; y < kTrayImageSize; ++y) {
        for (int x = 0; x < kTrayImageSize; ++x) {
            const uint32_t c = picture.At(x, y);
            const bool dark = (c & 0xFF) < 0x80 && ((c >> 8) & 0xFF) < 0x80 && (c >> 16) < 0x80;
            if (dark)
                inked += y >= 4 ? 1 : -100;  // the figure, never on the gauge
        }
    }
    EXPECT_GT(inked, 5);
}

TEST(RefreshTick, HighMemoryTrimsThenWarnsOncePerCrossing) {
    ScopedTestShell shell;
    TickRig rig;
    Settings& s = rig.Form->CurrentSettings();
    s.WarnMsgBox = true;  // with Warn and DefragOnHighMemory, as by default
    rig.Dialog = [&](TaskDialogTexts& d) {
        EXPECT_TRUE(MainFormProbe(*rig.Form).Alert().WarningDialogOpen());
        d.VerifyChecked = true;
        return 100;
    };
    rig.SetLoad(95);
    rig.Form->RefreshTick();
    EXPECT_THAT(rig.Log,
                ::testing::ElementsAre("trim", "dialog Memory is high (95%) | &OK | Don't show this warning again"));
    bool balloon = false;
    for (const TestShell::Call& c : shell->Calls) {
        if ((c.Data.uFlags & NIF_INFO) && Narrow(c.Data.szInfoTitle) == "Memory is high (95%)") {
            balloon = c.Data.dwInfoFlags == NIIF_WARNING && c.Data.uTimeout == 10000 &&
                      Narrow(c.Data.szInfo) == Text(TextId::HighMemoryTrimmed);
        }
    }
    EXPECT_TRUE(balloon);
    EXPECT_FALSE(s.WarnMsgBox);
    EXPECT_FALSE(MainFormProbe(*rig.Form).Alert().WarningDialogOpen());
    EXPECT_EQ(MainFormProbe(*rig.Form).Alert().PreviousLoad(), 95);

    rig.Log.clear();
    rig.SetLoad(50);
    rig.Form->RefreshTick();
    rig.SetLoad(96);
    rig.Now += 60000;  // a second crossing within five minutes
    rig.Form->RefreshTick();
    EXPECT_TRUE(rig.Log.empty());
}

TEST(RefreshTick, TheWarningDialogOffersTheTaskManagerAndCanBeSwitchedOff) {
    ScopedTestShell shell;
    TickRig rig(40, true);
    Settings& s = rig.Form->CurrentSettings();
    s.FreeOnHighMemory = false;
    s.WarnMsgBox = true;
    int taskManagers = 0;
    MainFormProbe(*rig.Form).Hooks().Launchers.TaskManager = [&](HWND) { ++taskManagers; };
    std::string caption;
    TaskDialogParams shown;
    // As a user: tick "Don't show this warning again", then press "Task Manager" (the second button, 101).
    SetTaskDialogObserver([&](HWND dialog, bool native) {
        if (const TaskDialogParams* p = ShownTaskDialogParams())
            shown = *p;
        wchar_t text[64] = {};
        GetWindowTextW(dialog, text, 64);
        caption = Narrow(text);
        if (native) {
            PostMessageW(dialog, TDM_CLICK_VERIFICATION, TRUE, FALSE);
            PostMessageW(dialog, TDM_CLICK_BUTTON, 101, 0);
        } else {
            PostMessageW(GetDlgItem(dialog, 300), BM_CLICK, 0, 0);
            PostMessageW(GetDlgItem(dialog, 101), BM_CLICK, 0, 0);
        }
    });
    rig.SetLoad(92);
    rig.Form->RefreshTick();
    SetTaskDialogObserver(nullptr);
    EXPECT_EQ(caption, "Lumivex");
    // What the real dialog was given: cancellation allowed (Esc, Alt+F4 and the close box dismiss it), the classic
    // look, 270 units wide, the warning icon, in front of the main window.
    EXPECT_EQ(shown.Flags, kTdfAllowDialogCancellation);
    EXPECT_TRUE(shown.ClassicLook);
    EXPECT_EQ(shown.Width, 270);
    EXPECT_EQ(shown.MainIcon, TaskIcon::Warning);
    EXPECT_EQ(shown.FooterIcon, TaskFooterIcon::Blank);
    EXPECT_EQ(shown.CommonButtons, 0u);
    EXPECT_EQ(shown.Parent, rig.Form->Hwnd());
    EXPECT_EQ(taskManagers, 1);
    EXPECT_TRUE(rig.Log.empty());  // no trim: the user chose the Task Manager
    EXPECT_FALSE(s.WarnMsgBox);
    EXPECT_FALSE(MainFormProbe(*rig.Form).Alert().WarningDialogOpen());
}

TEST(RefreshTick, StartsWithPreviousLoadZero) {
    ScopedTestShell shell;
    TickRig rig(93);  // already high when the program starts: the start-up tick warns
    EXPECT_THAT(rig.Log, ::testing::ElementsAre("trim"));
    EXPECT_EQ(MainFormProbe(*rig.Form).Alert().PreviousLoad(), 93);
}

TEST(MemoryDefragmenter, MenuItemIsDisabledWhileTrimming) {
    ScopedTestShell shell;
    TempDir dir;
    MainForm* form = nullptr;
    std::vector<UINT> states;
    SystemHooks o;
    o.TrimProcess = [&](DWORD) {
        if (form)
            states.push_back(GetMenuState(form->Menu().Handle(), IDM_FREE_MEMORY, MF_BYCOMMAND));
    };
    auto owned = MakeForm(dir, o);
    form = owned.get();
    // The menu command, as "内存清理" sends it.
    SendMessageW(form->Hwnd(), WM_COMMAND, IDM_FREE_MEMORY, 0);
    ASSERT_FALSE(states.empty());
    for (UINT state : states)
        EXPECT_TRUE(state & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(form->Menu().Handle(), IDM_FREE_MEMORY, MF_BYCOMMAND) & MF_GRAYED);

    // The trimming timer trims only while DefragEveryActive is on.
    states.clear();
    form->CurrentSettings().FreeEveryActive = false;
    MainFormProbe(*form).PeriodicFreeTick();
    EXPECT_TRUE(states.empty());
    form->CurrentSettings().FreeEveryActive = true;
    form->CurrentSettings().FreeEveryMinutes = 5;
    MainFormProbe(*form).InitSettings();
    EXPECT_EQ(MainFormProbe(*form).FreeTimer().PeriodMs(), 300000u);
    EXPECT_TRUE(MainFormProbe(*form).FreeTimer().Active());
    MainFormProbe(*form).PeriodicFreeTick();
    EXPECT_FALSE(states.empty());
    EXPECT_EQ(form->Freer().Period(), 2000);
}

TEST(RefreshTick, TenThousandTicksLeaveGdiAndUserObjectsWhereTheyWere) {
    ScopedTestShell shell;
    TickRig rig;
    rig.Form->CurrentSettings().TransBk = true;
    // Every tick a different picture, so every tick makes an icon and drops the previous one.
    auto tick = [&](int i) {
        rig.SetLoad(static_cast<uint32_t>(20 + i % 60), kGiB + static_cast<uint64_t>(i % 97) * 40 * (1ull << 20));
        rig.Form->RefreshTick();
    };
    for (int i = 0; i < 20; ++i)
        tick(i);
    const size_t gdiBefore = GdiRoomLeft(), userBefore = UserRoomLeft();
    const int modifiesBefore = shell->Count(NIM_MODIFY);
    for (int i = 0; i < 10000; ++i)
        tick(i);
    EXPECT_EQ(shell->Count(NIM_MODIFY) - modifiesBefore, 10000);
    EXPECT_EQ(GdiRoomLeft(), gdiBefore);
    EXPECT_EQ(UserRoomLeft(), userBefore);
    shell->Calls.clear();
}
