#include "app/high_memory_alert.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/texts.h"

namespace {
// Records what the warning does, in order.
class FakeActions : public IHighMemoryActions {
  public:
    std::vector<std::string> Log;
    int DialogResult = 102;
    bool TickDontShowAgain = false;
    std::function<void()> WhileDialogOpen;

    void TrimMemory() override { Log.push_back("trim"); }
    void ShowBalloon(const std::string& title, const std::string& text) override {
        Log.push_back("balloon " + title + " | " + text);
    }
    int ShowWarningDialog(const std::string& title,
                          const std::string& text,
                          const std::string& buttons,
                          bool& dontShowAgain) override {
        Log.push_back("dialog " + title + " | " + text + " | " + buttons);
        if (WhileDialogOpen)
            WhileDialogOpen();
        dontShowAgain = TickDontShowAgain;
        return DialogResult;
    }
    void LaunchTaskManager() override { Log.push_back("taskmgr"); }
    bool FindGrower(GrowingProcess& grower) override {
        if (Grower.ExeName.empty())
            return false;
        grower = Grower;
        return true;
    }
    void EndProcess(const GrowingProcess& process) override { Log.push_back("end " + process.ExeName); }
    GrowingProcess Grower;  // no name: none grew
};

class HighMemoryAlertTest : public ::testing::Test {
  protected:
    // One tick at `now` ms; returns what it did.
    std::vector<std::string> Tick(int load, uint32_t now, int commit = 0) {
        actions_.Log.clear();
        alert_.Check(load, now, settings_, actions_, commit);
        return actions_.Log;
    }
    HighMemoryAlert alert_;
    Settings settings_;  // Warn and DefragOnHighMemory on, RedPercent 90
    FakeActions actions_;
};

using Log = std::vector<std::string>;
const std::string kTrimmed = Text(TextId::HighMemoryTrimmed);
const std::string kClose = Text(TextId::HighMemoryClose);

TEST_F(HighMemoryAlertTest, OneWarningPerCrossingAndNoneWithinFiveMinutes) {
    EXPECT_EQ(alert_.PreviousLoad(), 0);
    // Already high at the first tick: a crossing from 0.
    EXPECT_EQ(Tick(95, 1000), (Log{"trim", "balloon Memory is high (95%) | " + kTrimmed}));
    EXPECT_EQ(Tick(95, 1500), Log{});  // staying high is no crossing
    EXPECT_EQ(Tick(89, 2000), Log{});
    EXPECT_EQ(Tick(90, 2500), Log{});  // a new crossing inside the quiet time is dropped...
    EXPECT_EQ(Tick(95, 3000), Log{});  // ...for good
    EXPECT_EQ(Tick(80, 300999), Log{});
    EXPECT_EQ(Tick(91, 301000), (Log{"trim", "balloon Memory is high (91%) | " + kTrimmed}));
    EXPECT_EQ(alert_.PreviousLoad(), 91);
    EXPECT_EQ(alert_.NextWarningTick(), 601000u);
}

TEST_F(HighMemoryAlertTest, QuietTimeSurvivesTheTickCountWrapAndLongCalm) {
    EXPECT_EQ(Tick(95, 0xFFFFFF00u).size(), 2u);
    EXPECT_EQ(Tick(10, 100000), Log{});  // wrapped; 100256 ms after the warning
    EXPECT_EQ(Tick(95, 150000), Log{});
    EXPECT_EQ(Tick(10, 300000), Log{});
    EXPECT_EQ(Tick(95, 300000).size(), 2u);  // 300256 ms after it
    // Thirty days without a crossing (ticks going on) never hold the next one back.
    uint32_t now = 300000;
    Tick(10, now);
    for (int day = 0; day < 30; ++day)
        Tick(10, now += 86400000u);
    EXPECT_EQ(Tick(95, now + 500).size(), 2u);
}

TEST_F(HighMemoryAlertTest, TrimComesBeforeTheDialogWhichThenOnlyHasOk) {
    settings_.WarnMsgBox = true;
    actions_.DialogResult = 100;
    EXPECT_EQ(Tick(93, 1000), (Log{"trim", "balloon Memory is high (93%) | " + kTrimmed,
                                   "dialog Memory is high (93%) | " + kTrimmed + " | &OK"}));
    EXPECT_FALSE(alert_.WarningDialogOpen());
}

TEST_F(HighMemoryAlertTest, DialogButtonsWithoutAutomaticTrim) {
    settings_.FreeOnHighMemory = false;
    settings_.Warn = false;
    settings_.WarnMsgBox = true;
    const std::string dialog = "dialog Memory is high (92%) | " + kClose + " | &Defrag memory\nTask Manager\n&Close";
    const std::pair<int, Log> cases[] = {
        {100, {dialog, "trim"}},
        {101, {dialog, "taskmgr"}},
        {102, {dialog}},
    };
    uint32_t now = 1000;
    for (const auto& [result, log] : cases) {
        actions_.DialogResult = result;
        Tick(10, now);
        EXPECT_EQ(Tick(92, now += 1), log) << result;
        now += HighMemoryAlert::kQuietTimeMs;
    }
    // "Don't show this warning again" turns the dialog off, and only the dialog.
    actions_.TickDontShowAgain = true;
    settings_.Warn = true;
    Tick(10, now);
    EXPECT_EQ(Tick(92, now + 1).size(), 2u);  // balloon and dialog
    EXPECT_FALSE(settings_.WarnMsgBox);
    EXPECT_TRUE(settings_.Warn);
}

TEST_F(HighMemoryAlertTest, TicksDuringTheDialogNeverOpenASecondOne) {
    settings_.WarnMsgBox = true;
    settings_.FreeOnHighMemory = false;
    Log nested;
    actions_.WhileDialogOpen = [&] {
        EXPECT_TRUE(alert_.WarningDialogOpen());
        // Quiet time over while the dialog is still open: the balloon comes again, a dialog does not.
        FakeActions inner;
        alert_.Check(10, 400000, settings_, inner);
        alert_.Check(97, 400500, settings_, inner);
        nested = inner.Log;
    };
    EXPECT_EQ(Tick(91, 1000).size(), 2u);
    EXPECT_EQ(nested, Log{"balloon Memory is high (97%) | " + kClose});
    EXPECT_EQ(alert_.PreviousLoad(), 91);  // the outer tick stores its own load last
    EXPECT_FALSE(alert_.WarningDialogOpen());
}

TEST_F(HighMemoryAlertTest, SettingsDecideWhetherAndWhatToDo) {
    struct Case {
        bool Warn, Defrag, Box;
        int Red;
        int Previous, Load;
        size_t Actions;
    };
    const Case cases[] = {
        {false, false, false, 90, 10, 95, 0},  // nothing switched on
        {false, true, false, 90, 10, 95, 1},   // a silent trim
        {true, false, false, 90, 10, 90, 1},   // the threshold itself counts
        {true, false, false, 90, 90, 95, 0},   // already at the threshold before
        {true, false, false, -5, 0, 0, 0},     // a negative threshold: never a crossing from 0
        {true, false, false, 80, 85, 85, 0},   // threshold lowered below the current load
    };
    for (const auto& c : cases) {
        HighMemoryAlert fresh;
        Settings s;
        s.Warn = c.Warn, s.FreeOnHighMemory = c.Defrag, s.WarnMsgBox = c.Box, s.RedPercent = c.Red;
        FakeActions a;
        fresh.Check(c.Previous, 1000, s, a);
        a.Log.clear();
        fresh.Check(c.Load, 2000, s, a);
        EXPECT_EQ(a.Log.size(), c.Actions) << c.Previous << " -> " << c.Load << " red " << c.Red;
    }
    // A silent trim starts the quiet time too.
    settings_.Warn = false;
    EXPECT_EQ(Tick(95, 1000), Log{"trim"});
    Tick(10, 2000);
    EXPECT_EQ(Tick(95, 3000), Log{});
}

TEST_F(HighMemoryAlertTest, AFailingDialogLeavesTheAlertUsable) {
    settings_.WarnMsgBox = true;
    actions_.WhileDialogOpen = [] { throw std::runtime_error("no dialog"); };
    EXPECT_THROW(Tick(95, 1000), std::runtime_error);
    EXPECT_FALSE(alert_.WarningDialogOpen());
    EXPECT_EQ(alert_.PreviousLoad(), 95);
}
}  // namespace

TEST_F(HighMemoryAlertTest, AGrowerIsNamedAndCanBeEndedButNeverByDefault) {
    settings_.WarnMsgBox = true;
    actions_.Grower = {42, 7, "leaky.exe", "1.8 GB"};
    const std::string line = "\nleaky.exe grew by 1.8 GB in the last 30 minutes.";
    SetLanguage(Language::English);
    struct Case {
        bool Trimmed;
        int Result;
        const char* Buttons;
        const char* Done;
    } cases[] = {
        {true, 101, "&OK\n&End it", "end leaky.exe"},
        {true, 100, "&OK\n&End it", ""},
        {false, 102, "&Free up memory\nOpen &Task Manager\n&End it\n&Close", "end leaky.exe"},
        {false, 101, "&Free up memory\nOpen &Task Manager\n&End it\n&Close", "taskmgr"},
        {false, 103, "&Free up memory\nOpen &Task Manager\n&End it\n&Close", ""},
    };
    uint32_t now = 1000;
    for (const Case& c : cases) {
        settings_.FreeOnHighMemory = c.Trimmed;
        actions_.DialogResult = c.Result;
        Tick(10, now);
        const std::string text = Text(c.Trimmed ? TextId::HighMemoryTrimmed : TextId::HighMemoryClose) + line;
        Log expected;
        if (c.Trimmed)
            expected.push_back("trim");
        expected.push_back("balloon Memory use is high (95%) | " + text);
        expected.push_back("dialog Memory use is high (95%) | " + text + " | " + c.Buttons);
        if (*c.Done)
            expected.push_back(c.Done);
        EXPECT_EQ(Tick(95, now + 1), expected) << c.Result;
        now += HighMemoryAlert::kQuietTimeMs + 10;
    }
    // Without a grower the warning is as it always was.
    actions_.Grower = {};
    settings_.FreeOnHighMemory = false;
    actions_.DialogResult = 102;
    Tick(10, now);
    EXPECT_EQ(Tick(95, now + 1).back(), "dialog Memory use is high (95%) | " +
                                            std::string(Text(TextId::HighMemoryClose)) +
                                            " | &Free up memory\nOpen &Task Manager\n&Close");
    SetLanguage(Language::Chinese);
}

TEST_F(HighMemoryAlertTest, CommitChargeWarnsOnlyWhenSetAndNeverTrims) {
    EXPECT_EQ(Tick(50, 1000, 97), Log{});  // CommitRedPercent 0: off
    settings_.CommitRedPercent = 95;
    EXPECT_EQ(Tick(50, 2000, 94), Log{});
    const std::string title = FormatText(TextId::CommitHighTitle, {"96"});
    EXPECT_EQ(Tick(50, 3000, 96), (Log{"balloon " + title + " | " + Text(TextId::CommitHighContent)}));
    // One quiet time for both: a physical crossing right after is dropped.
    EXPECT_EQ(Tick(95, 4000, 96), Log{});
    EXPECT_EQ(Tick(50, 400000, 90), Log{});
    // Both at once: the physical warning, which trims.
    EXPECT_EQ(Tick(95, 400500, 99).front(), "trim");
}
