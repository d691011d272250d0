#include "processes/history_view.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "history_reading.h"

namespace {
constexpr uint64_t kMiB = 1ull << 20;
constexpr uint32_t kMinuteMs = 60000;
constexpr uint32_t kStart = 5000;

struct English {
    English() { SetLanguage(Language::English); }
    ~English() { SetLanguage(Language::Chinese); }
};

struct Fixture {
    std::unique_ptr<MemoryHistory> History = std::make_unique<MemoryHistory>();
    std::unique_ptr<ProcessGrowth> Growth = std::make_unique<ProcessGrowth>();
    HistoryView View{*History, *Growth};
    uint32_t Tick = kStart;

    // Ticks every stepMs for durationMs at a fixed load (and half of it committed).
    void Run(uint32_t durationMs, uint32_t stepMs, uint32_t load) {
        for (uint32_t t = 0; t < durationMs; t += stepMs, Tick += stepMs)
            History->Add(Tick, HistoryReading(load, load / 2));
    }
    size_t Gaps() const {
        size_t n = 0;
        for (const GraphPoint& p : View.Points())
            n += p.GapBefore;
        return n;
    }
};

// Two minutes of ticks, three minutes asleep, two more: one gap, the mouse over it reads nothing, and either side of
// it reads its own figures at the clock time of its point.
TEST(HistoryView, TenMinutesShowTicksWithTheSleepAsAGap) {
    English english;
    Fixture f;
    f.Run(2 * kMinuteMs, 500, 40);
    f.Tick += 3 * kMinuteMs;
    f.Run(2 * kMinuteMs, 500, 60);
    f.View.Load(HistorySpan::TenMinutes);
    EXPECT_EQ(f.View.SpanMs(), 10u * kMinuteMs);
    EXPECT_EQ(f.Gaps(), 1u);
    EXPECT_EQ(f.View.Points().back().AgeMs, 0u);
    EXPECT_EQ(f.View.Points().back().Commit, 30.0f);

    const uint32_t now = 12 * 3600 + 34 * 60 + 56;  // 12:34:56
    const int width = 601;                          // a column a second
    EXPECT_EQ(f.View.HoverText(width - 1, width, now), "12:34:56 · 60% in use · 30% committed");
    EXPECT_EQ(f.View.HoverText(width - 1 - 60, width, now), "12:33:56 · 60% in use · 30% committed");
    EXPECT_EQ(f.View.HoverText(width - 1 - 210, width, now), "");  // 3.5 minutes ago: asleep
    EXPECT_EQ(f.View.HoverText(width - 1 - 300, width, now), "12:29:56 · 40% in use · 20% committed");
    EXPECT_EQ(f.View.HoverText(0, width, now), "");  // before the first tick
    EXPECT_EQ(f.View.HoverText(width, width, now), "");
}

// Minutes without readings leave a gap and no points; the day's points carry each minute's range; clock times wrap
// at midnight and show no seconds.
TEST(HistoryView, MinutesLeaveOutMinutesWithoutReadings) {
    English english;
    Fixture f;
    f.Run(5 * kMinuteMs, 1000, 30);
    f.Tick += 10 * kMinuteMs;
    f.Run(kMinuteMs / 2, 1000, 50);
    f.Run(kMinuteMs / 2, 1000, 70);
    for (HistorySpan span : {HistorySpan::Hour, HistorySpan::Day}) {
        f.View.Load(span);
        EXPECT_EQ(f.Gaps(), 1u);
        EXPECT_LE(f.View.Points().size(), 8u);
        EXPECT_GE(f.View.Points().size(), 6u);
    }
    const GraphPoint& turn = f.View.Points()[f.View.Points().size() - 2];  // the minute from 50 to 70
    EXPECT_EQ(turn.LoadLow, 50.0f);
    EXPECT_EQ(turn.LoadHigh, 70.0f);
    EXPECT_GT(turn.Load, 50.0f);
    EXPECT_LT(turn.Load, 70.0f);

    f.View.Load(HistorySpan::Hour);
    const int width = 61;                                        // a column a minute
    EXPECT_EQ(f.View.HoverText(width - 1 - 6, width, 120), "");  // 00:02 less 6 minutes: not running
    EXPECT_EQ(f.View.HoverText(width - 1 - 11, width, 120), "23:51 · 30% in use · 15% committed");
}

// The growers of the span with their growth in words, names that outlast the growth's next minute, readings for the
// sparkline, and the span's CSV.
TEST(HistoryView, GrowersAndCsvFollowTheSpan) {
    English english;
    Fixture f;
    std::vector<ProcessMemoryReading> list;
    for (uint32_t minute = 0; minute <= 120; ++minute) {
        list = {{100, 7, (200 + 10 * minute) * kMiB, "leak.exe"}, {200, 7, 900 * kMiB, "flat.exe"}};
        f.Growth->Update(kStart + minute * kMinuteMs, list);
        f.Run(kMinuteMs, 10000, 40);
    }
    f.View.Load(HistorySpan::Hour);
    ASSERT_EQ(f.View.GrowerCount(), 1u);
    EXPECT_EQ(f.View.Grower(0).ProcessId, 100u);
    EXPECT_EQ(f.View.GrowthText(0, NumberSeparators{}), "+600 MB in 1 hour");
    std::vector<uint64_t> readings(ProcessGrowth::kMaxReadings);
    readings.resize(f.View.GrowerReadings(0, readings.data(), readings.size()));
    ASSERT_EQ(readings.size(), 61u);
    EXPECT_EQ(readings.back(), 1400 * kMiB);
    EXPECT_EQ(f.View.Csv(), f.History->MinutesCsv(60));

    list = {{300, 7, 50 * kMiB, "other.exe"}};
    f.Growth->Update(kStart + 121 * kMinuteMs, list);
    EXPECT_EQ(f.View.Grower(0).ExeName, "leak.exe");

    f.View.Load(HistorySpan::TenMinutes);
    EXPECT_EQ(f.View.GrowerCount(), 0u);
    EXPECT_EQ(f.View.Csv(), f.History->TicksCsv(10));
    f.View.Load(HistorySpan::Day);
    EXPECT_EQ(f.View.Csv(), f.History->MinutesCsv(24 * 60));
}
}  // namespace
