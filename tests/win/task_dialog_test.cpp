// Both kinds of message dialog, driven as a user would: the system's task dialog through its TDM_ messages, the
// emulated one by clicking its controls; keys and the close box go through each dialog's own message loop.
#include "system/task_dialog_win.h"

#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/window_win.h"
#include "system/power_win.h"
#include "win_test_util.h"

using namespace WinTest;

namespace {
using Action = std::function<void(HWND dialog, bool native)>;
constexpr int kStuck = 12345;
constexpr int kVerifyId = 300;

Action Click(int id) {
    return [id](HWND dialog, bool native) {
        if (native)
            PostMessageW(dialog, TDM_CLICK_BUTTON, id, 0);
        else
            PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    };
}
Action Radio(int id) {
    return [id](HWND dialog, bool native) {
        if (native)
            PostMessageW(dialog, TDM_CLICK_RADIO_BUTTON, id, 0);
        else
            PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    };
}
Action Verify() {
    return [](HWND dialog, bool native) {
        if (native)
            PostMessageW(dialog, TDM_CLICK_VERIFICATION, TRUE, FALSE);
        else
            PostMessageW(GetDlgItem(dialog, kVerifyId), BM_CLICK, 0, 0);
    };
}
Action Key(WPARAM key) {
    return [key](HWND dialog, bool) { PostMessageW(dialog, WM_KEYDOWN, key, 0); };
}
Action CloseBox() {
    return [](HWND dialog, bool) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); };
}

// Runs the actions once the dialog is up and notes what it saw; a dialog that does not close ends with kStuck.
class Driver {
  public:
    explicit Driver(std::vector<Action> actions) : actions_(std::move(actions)) {
        current = this;
        SetTaskDialogObserver([this](HWND dialog, bool native) {
            this->Dialog = dialog;
            this->Native = native;
            wchar_t text[256] = {};
            GetWindowTextW(dialog, text, 256);
            Caption = Narrow(text);
            for (const Action& a : actions_)
                a(dialog, native);
            watchdog_ = SetTimer(nullptr, 0, 10000, Watchdog);
        });
    }
    ~Driver() {
        if (watchdog_)
            KillTimer(nullptr, watchdog_);
        SetTaskDialogObserver(nullptr);
        current = nullptr;
    }
    HWND Dialog = nullptr;
    bool Native = false;
    std::string Caption;

  private:
    static void CALLBACK Watchdog(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (current && IsWindow(current->Dialog))
            EndDialog(current->Dialog, kStuck);
    }
    static Driver* current;
    std::vector<Action> actions_;
    UINT_PTR watchdog_ = 0;
};
Driver* Driver::current = nullptr;

struct Shown {
    int Result;
    TaskDialogTexts Dialog;
    bool Native;
    std::string Caption;
};

Shown Show(bool emulated,
           TaskDialogTexts d,
           std::vector<Action> actions,
           unsigned common = 0,
           unsigned flags = kTdfAllowDialogCancellation,
           int defaultRadio = 0) {
    Driver driver(std::move(actions));
    TaskDialogParams p;
    p.CommonButtons = common;
    p.Flags = flags;
    p.MainIcon = TaskIcon::Warning;
    p.FooterIcon = TaskFooterIcon::Information;
    p.DefaultRadio = defaultRadio;
    p.ForceEmulation = emulated;
    p.ClassicLook = true;
    int r = ShowTaskDialog(d, p);
    EXPECT_EQ(driver.Native, !emulated) << "the dialog kind";
    return {r, d, driver.Native, driver.Caption};
}

const char* Kind(bool emulated) {
    return emulated ? "emulated" : "native";
}

// Wine's task dialog ignores Escape without a Cancel button and reports the first radio whatever was clicked;
// Windows does both. Those two checks of the system's dialog only run on Windows.
bool WineTaskDialogLimits(bool emulated) {
    return !emulated && OnWine();
}
}  // namespace

class TaskDialogKinds : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Both, TaskDialogKinds, ::testing::Values(false, true), [](const auto& info) {
    return std::string(Kind(info.param));
});

TEST_P(TaskDialogKinds, CustomButtonsReturnTheirIds) {
    const bool emulated = GetParam();
    TaskDialogTexts d;
    d.Caption = "Lumivex";
    d.Instruction = "Memory is high (93%)";
    d.Content = "First line\\nsecond line";
    d.ButtonList = "&Defrag memory\nTask Manager\n&Close\n";
    for (int id : {100, 101, 102})
        EXPECT_EQ(Show(emulated, d, {Click(id)}).Result, id) << Kind(emulated);
}

TEST_P(TaskDialogKinds, ADialogWithoutButtonsHasADefaultOk) {
    const bool emulated = GetParam();
    TaskDialogTexts d;
    d.Content = "Nothing to choose";
    EXPECT_EQ(Show(emulated, d, {Key(VK_RETURN)}, 0, 0).Result, IDOK);
    EXPECT_EQ(Show(emulated, d, {CloseBox()}, 0, 0).Result, IDCANCEL);
    // Escape: the emulated OK is also the cancel button; the native dialog is cancelled.
    if (!WineTaskDialogLimits(emulated)) {
        EXPECT_EQ(Show(emulated, d, {Key(VK_ESCAPE)}, 0, 0).Result, emulated ? IDOK : IDCANCEL);
    }
}

TEST_P(TaskDialogKinds, VerificationBoxAndRadioComeBack) {
    const bool emulated = GetParam();
    TaskDialogTexts d;
    d.Content = "Pick one";
    d.ButtonList = "Activate &Option\nDo&n't Activate";
    d.RadioList = "  first\r\nsecond\r\nthird  ";
    d.VerifyText = "Do not show this warning again";
    Shown s = Show(emulated, d, {Radio(202), Verify(), Click(101)});
    EXPECT_EQ(s.Result, 101);
    EXPECT_TRUE(s.Dialog.VerifyChecked);
    if (!WineTaskDialogLimits(emulated)) {
        EXPECT_EQ(s.Dialog.RadioResult, 202);
    }

    // Untouched: the default radio and the initial check state come back as they went in.
    d.VerifyChecked = true;
    s = Show(emulated, d, {Click(100)}, 0, kTdfAllowDialogCancellation, 201);
    EXPECT_EQ(s.Result, 100);
    EXPECT_TRUE(s.Dialog.VerifyChecked);
    if (!WineTaskDialogLimits(emulated)) {
        EXPECT_EQ(s.Dialog.RadioResult, 201);
    }
}

TEST_P(TaskDialogKinds, CommonButtonsAndTheCloseBox) {
    const bool emulated = GetParam();
    TaskDialogTexts d;
    d.Content = "Common";
    const unsigned all =
        CommonButtonOk | CommonButtonYes | CommonButtonNo | CommonButtonCancel | CommonButtonRetry | CommonButtonClose;
    struct Case {
        int Control;
        int Result;
    } cases[] = {{IDOK, 1},     {IDYES, 6},   {IDNO, 7},
                 {IDCANCEL, 2}, {IDRETRY, 4}, {emulated ? 3 : IDCLOSE, emulated ? 3 : IDCLOSE}};
    for (const Case& c : cases)
        EXPECT_EQ(Show(emulated, d, {Click(c.Control)}, all).Result, c.Result) << c.Control;
    EXPECT_EQ(Show(emulated, d, {CloseBox()}, all).Result, IDCANCEL);
    // Escape answers Cancel, or No when there is no Cancel.
    EXPECT_EQ(Show(emulated, d, {Key(VK_ESCAPE)}, all).Result, IDCANCEL);
    if (emulated) {
        EXPECT_EQ(Show(emulated, d, {Key(VK_ESCAPE)}, CommonButtonYes | CommonButtonNo).Result, IDNO);
    }
}

TEST(TaskDialogEmulated, CloseBoxEscapeAndQueryControls) {
    TaskDialogTexts d;
    d.Content = "Process";
    d.ButtonList = "打开文件目录\n释 放 内 存 \n结 束 进 程 \n取 消 ";
    d.VerifyText = "Don't show this warning again";
    EXPECT_EQ(Show(true, d, {Verify(), CloseBox()}).Result, IDCANCEL);
    // The close box still reports the box's state.
    EXPECT_EQ(Show(true, d, {Verify(), CloseBox()}).Dialog.VerifyChecked, true);
    // No button answers Escape here, so Escape does nothing until a button is pressed.
    EXPECT_EQ(Show(true, d, {Key(VK_ESCAPE), Click(103)}).Result, 103);
    d.ButtonList = "Go\nCancel";
    EXPECT_EQ(Show(true, d, {Key(VK_ESCAPE)}).Result, 101);
    // As command links the custom buttons keep their ids (and Escape its button).
    for (unsigned links : {0x10u, 0x20u}) {
        EXPECT_EQ(Show(true, d, {Click(100)}, 0, links).Result, 100);
        EXPECT_EQ(Show(true, d, {Key(VK_ESCAPE)}, 0, links).Result, 101);
    }

    TaskDialogTexts q;
    q.Content = "Choose";
    q.SelectionList = "alpha\nbeta\ngamma";
    q.QueryText = "beta";
    Shown s = Show(true, q, {Click(IDOK)}, CommonButtonOk);  // a selection list always gets the emulated dialog
    EXPECT_EQ(s.Dialog.SelectionIndex, 1);
    EXPECT_EQ(s.Dialog.QueryText, "beta");
    TaskDialogTexts e;
    e.QueryText = "secret";
    s = Show(true, e, {Click(IDOK)}, CommonButtonOk, 0x10000 | 0x20000 | 0x40000);
    EXPECT_EQ(s.Result, IDOK);
    EXPECT_EQ(s.Dialog.QueryText, "secret");
}

namespace {
class FakeMainForm : public Window {
  public:
    FakeMainForm() { CreateWindowOf(L"TFrmLumivexMain", WS_EX_TOOLWINDOW, WS_POPUP, L"Lumivex main", nullptr); }
};
}  // namespace

TEST(TaskDialog, EmptyCaptionTakesTheMainWindowsCaption) {
    TaskDialogTexts d;
    d.Content = "x";
    EXPECT_EQ(Show(true, d, {Click(IDOK)}).Caption, "Lumivex");  // no main window: the program's title
    FakeMainForm main;
    EXPECT_EQ(Show(true, d, {Click(IDOK)}).Caption, "Lumivex main");
    EXPECT_EQ(Show(false, d, {Click(IDOK)}).Caption, "Lumivex main");
}

TEST(TaskDialog, WrappersAndTheMessageBoxReturnThePressedButton) {
    {
        Driver driver({Click(101)});
        EXPECT_EQ(TaskChoice("Instruction", "Content", "A\nB\nC", TaskIcon::Information, nullptr, "Lumivex"), 101);
    }
    {
        Driver driver({Click(IDNO)});
        EXPECT_EQ(TaskMessage("Instruction", "Content", CommonButtonYes | CommonButtonNo, TaskIcon::Question, nullptr),
                  IDNO);
    }
    {
        Driver driver({Click(IDOK)});
        InfoMessage("Returns once closed", nullptr);
        EXPECT_TRUE(driver.Native);
        EXPECT_EQ(driver.Caption, "Lumivex");
    }
    // The theme commands ask Yes / No and expect 6 or 7.
    for (int id : {IDYES, IDNO}) {
        Driver driver({Click(id)});
        EXPECT_EQ(
            MessageBoxWithSound("Delete the theme?", MessageKind::Warning, MessageButtonYes | MessageButtonNo, nullptr),
            id);
        EXPECT_EQ(driver.Caption, "Warning");
    }
    {
        Driver driver({Click(IDCLOSE)});  // Abort is shown as Close and answers 3
        EXPECT_EQ(MessageBoxWithSound("Stop?", MessageKind::Error, MessageButtonAbort | MessageButtonRetry, nullptr),
                  3);
        EXPECT_EQ(driver.Caption, "Error");
    }
}

TEST(PortableDevice, FollowsTheInjectedPowerReadings) {
    struct Case {
        PowerReadings Readings;
        bool Lid, Battery;
    } cases[] = {
        {{true, false, true, 1}, false, false},    // desktop on mains
        {{true, true, true, 1}, true, false},      // laptop on mains
        {{true, false, true, 0}, false, true},     // on battery
        {{true, false, true, 255}, false, false},  // status unknown
        {{false, true, false, 0}, false, false},   // both queries failed
    };
    for (const Case& c : cases) {
        SetPowerReader([&] { return c.Readings; });
        EXPECT_EQ(HasLid(), c.Lid);
        EXPECT_EQ(OnBattery(), c.Battery);
        EXPECT_EQ(IsPortableDevice(), c.Lid || c.Battery);
    }
    SetPowerReader(nullptr);
    PowerReadings system = ReadSystemPower();
    EXPECT_EQ(IsPortableDevice(), ReadingsPortable(system));
}
