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
    std::vector<std::string> log;
    int dialogResult = 102;
    bool tickDontShowAgain = false;
    std::function<void()> whileDialogOpen;

    void TrimMemory() override { log.push_back("trim"); }
    void ShowBalloon(const std::string& title, const std::string& text) override {
        log.push_back("balloon " + title + " | " + text);
    }
    int ShowWarningDialog(const std::string& title,
                          const std::string& text,
                          const std::string& buttons,
                          bool& dontShowAgain) override {
        log.push_back("dialog " + title + " | " + text + " | " + buttons);
        if (whileDialogOpen)
            whileDialogOpen();
        dontShowAgain = tickDontShowAgain;
        return dialogResult;
    }
    void LaunchTaskManager() override { log.push_back("taskmgr"); }
};

class HighMemoryAlertTest : public ::testing::Test {
  protected:
    // One tick at `now` ms; returns what it did.
    std::vector<std::string> Tick(int load, uint32_t now) {
        actions.log.clear();
        alert.Check(load, now, settings, actions);
        return actions.log;
    }
    HighMemoryAlert alert;
    Settings settings;  // Warn and DefragOnHighMemory on, RedPercent 90
    FakeActions actions;
};

using Log = std::vector<std::string>;
const std::string kTrimmed = Text(TextId::HighMemoryTrimmed);
const std::string kClose = Text(TextId::HighMemoryClose);

TEST_F(HighMemoryAlertTest, OneWarningPerCrossingAndNoneWithinFiveMinutes) {
    EXPECT_EQ(alert.PreviousLoad(), 0);
    // Already high at the first tick: a crossing from 0.
    EXPECT_EQ(Tick(95, 1000), (Log{"trim", "balloon Memory is high (95%) | " + kTrimmed}));
    EXPECT_EQ(Tick(95, 1500), Log{});  // staying high is no crossing
    EXPECT_EQ(Tick(89, 2000), Log{});
    EXPECT_EQ(Tick(90, 2500), Log{});  // a new crossing inside the quiet time is dropped...
    EXPECT_EQ(Tick(95, 3000), Log{});  // ...for good
    EXPECT_EQ(Tick(80, 300999), Log{});
    EXPECT_EQ(Tick(91, 301000), (Log{"trim", "balloon Memory is high (91%) | " + kTrimmed}));
    EXPECT_EQ(alert.PreviousLoad(), 91);
    EXPECT_EQ(alert.NextWarningTick(), 601000u);
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
    settings.WarnMsgBox = true;
    actions.dialogResult = 100;
    EXPECT_EQ(Tick(93, 1000), (Log{"trim", "balloon Memory is high (93%) | " + kTrimmed,
                                   "dialog Memory is high (93%) | " + kTrimmed + " | &OK"}));
    EXPECT_FALSE(alert.WarningDialogOpen());
}

TEST_F(HighMemoryAlertTest, DialogButtonsWithoutAutomaticTrim) {
    settings.DefragOnHighMemory = false;
    settings.Warn = false;
    settings.WarnMsgBox = true;
    const std::string dialog = "dialog Memory is high (92%) | " + kClose + " | &Defrag memory\nTask Manager\n&Close";
    const std::pair<int, Log> cases[] = {
        {100, {dialog, "trim"}},
        {101, {dialog, "taskmgr"}},
        {102, {dialog}},
    };
    uint32_t now = 1000;
    for (const auto& [result, log] : cases) {
        actions.dialogResult = result;
        Tick(10, now);
        EXPECT_EQ(Tick(92, now += 1), log) << result;
        now += HighMemoryAlert::kQuietTimeMs;
    }
    // "Don't show this warning again" turns the dialog off, and only the dialog.
    actions.tickDontShowAgain = true;
    settings.Warn = true;
    Tick(10, now);
    EXPECT_EQ(Tick(92, now + 1).size(), 2u);  // balloon and dialog
    EXPECT_FALSE(settings.WarnMsgBox);
    EXPECT_TRUE(settings.Warn);
}

TEST_F(HighMemoryAlertTest, TicksDuringTheDialogNeverOpenASecondOne) {
    settings.WarnMsgBox = true;
    settings.DefragOnHighMemory = false;
    Log nested;
    actions.whileDialogOpen = [&] {
        EXPECT_TRUE(alert.WarningDialogOpen());
        // Quiet time over while the dialog is still open: the balloon comes again, a dialog does not.
        FakeActions inner;
        alert.Check(10, 400000, settings, inner);
        alert.Check(97, 400500, settings, inner);
        nested = inner.log;
    };
    EXPECT_EQ(Tick(91, 1000).size(), 2u);
    EXPECT_EQ(nested, Log{"balloon Memory is high (97%) | " + kClose});
    EXPECT_EQ(alert.PreviousLoad(), 91);  // the outer tick stores its own load last
    EXPECT_FALSE(alert.WarningDialogOpen());
}

TEST_F(HighMemoryAlertTest, SettingsDecideWhetherAndWhatToDo) {
    struct Case {
        bool warn, defrag, box;
        int red;
        int previous, load;
        size_t actions;
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
        s.Warn = c.warn, s.DefragOnHighMemory = c.defrag, s.WarnMsgBox = c.box, s.RedPercent = c.red;
        FakeActions a;
        fresh.Check(c.previous, 1000, s, a);
        a.log.clear();
        fresh.Check(c.load, 2000, s, a);
        EXPECT_EQ(a.log.size(), c.actions) << c.previous << " -> " << c.load << " red " << c.red;
    }
    // A silent trim starts the quiet time too.
    settings.Warn = false;
    EXPECT_EQ(Tick(95, 1000), Log{"trim"});
    Tick(10, 2000);
    EXPECT_EQ(Tick(95, 3000), Log{});
}

TEST_F(HighMemoryAlertTest, AFailingDialogLeavesTheAlertUsable) {
    settings.WarnMsgBox = true;
    actions.whileDialogOpen = [] { throw std::runtime_error("no dialog"); };
    EXPECT_THROW(Tick(95, 1000), std::runtime_error);
    EXPECT_FALSE(alert.WarningDialogOpen());
    EXPECT_EQ(alert.PreviousLoad(), 95);
}
}  // namespace
