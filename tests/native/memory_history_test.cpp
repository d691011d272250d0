#include "memory/memory_history.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "native/allocation_count.h"

namespace {
constexpr uint64_t kPage = 4096;
constexpr uint64_t kTotalPhys = 16ull << 30;
constexpr uint32_t kMinuteMs = 60000;

// A reading with `load` percent, `load` thousand pages of physical memory and twice that committed.
MemorySample Reading(uint32_t load) {
    MemorySample s;
    s.MemoryLoad = load;
    s.TotalPhys = kTotalPhys;
    s.AvailPhys = kTotalPhys - load * 1000 * kPage;
    s.TotalPageFile = 2 * kTotalPhys;
    s.AvailPageFile = 2 * kTotalPhys - 2 * load * 1000 * kPage;
    return s;
}

MemoryFigures FiguresOf(uint32_t load) {
    return MemoryFigures::Of(Reading(load));
}

// Ticks every stepMs from tick `from` for `durationMs`, the load following the tick's minute (so every minute
// differs); returns the tick after the last.
uint32_t RunTicks(MemoryHistory& h, uint32_t from, uint32_t durationMs, uint32_t stepMs) {
    uint32_t t = from;
    for (uint32_t elapsed = 0; elapsed < durationMs; elapsed += stepMs, t += stepMs)
        h.Add(t, Reading(1 + (elapsed / kMinuteMs) % 90));
    return t;
}

std::vector<HistoryPoint> Ticks(const MemoryHistory& h, uint32_t minutes) {
    std::vector<HistoryPoint> points(MemoryHistory::kTickPoints);
    points.resize(h.CopyTicks(minutes, points.data(), points.size()));
    return points;
}

std::vector<HistoryMinute> Minutes(const MemoryHistory& h, uint32_t minutes) {
    std::vector<HistoryMinute> result(MemoryHistory::kDayMinutes);
    result.resize(h.CopyMinutes(minutes, result.data(), result.size()));
    return result;
}

TEST(MemoryHistory, FitsIn128KiBAllocatedOnceAndTicksAllocateNothing) {
    auto h = std::make_unique<MemoryHistory>();
    size_t footprint = h->FootprintBytes();
    EXPECT_LT(footprint, 128u * 1024);
    std::vector<HistoryPoint> points(MemoryHistory::kTickPoints);
    std::vector<HistoryMinute> minutes(MemoryHistory::kDayMinutes);

    size_t before = AllocationCount();
    uint32_t t = RunTicks(*h, 0, 30 * kMinuteMs, 500);
    t = RunTicks(*h, t, 15 * kMinuteMs, 10);
    RunTicks(*h, t + 3 * kMinuteMs, 2 * kMinuteMs, 2000);
    EXPECT_GT(h->CopyTicks(10, points.data(), points.size()), 0u);
    EXPECT_EQ(h->CopyMinutes(1440, minutes.data(), minutes.size()), 1440u);
    EXPECT_EQ(AllocationCount(), before);
    EXPECT_EQ(h->FootprintBytes(), footprint);
}

// Whatever the refresh rate, and when it changes mid-run, ten minutes stay at tick resolution: a point per tick down
// to 250 ms, faster ticks share points 250 ms or more apart.
TEST(MemoryHistory, TenMinutesOfTicksAtEveryRefreshRate) {
    struct Case {
        uint32_t FirstStepMs, SecondStepMs;
        size_t MinPoints, MaxPoints;
    };
    const Case cases[] = {
        {500, 500, 1201, 1201}, {1000, 1000, 601, 601},  {1, 1, 2300, 2401},
        {10, 10, 2300, 2401},   {100, 2000, 1000, 1300}, {3000, 60, 1000, 1300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.FirstStepMs << " ms, then " << c.SecondStepMs << " ms");
        auto h = std::make_unique<MemoryHistory>();
        uint32_t t = RunTicks(*h, 5000, 11 * kMinuteMs, c.FirstStepMs);
        RunTicks(*h, t, 5 * kMinuteMs, c.SecondStepMs);
        auto points = Ticks(*h, 10);
        ASSERT_GE(points.size(), c.MinPoints);
        EXPECT_LE(points.size(), c.MaxPoints);
        EXPECT_GE(points.front().AgeMs, 10u * kMinuteMs - std::max<uint32_t>(c.FirstStepMs, 300));
        EXPECT_LE(points.front().AgeMs, 10u * kMinuteMs);
        EXPECT_LT(points.back().AgeMs, 250u);
        for (size_t i = 1; i < points.size(); ++i)
            ASSERT_GE(points[i - 1].AgeMs - points[i].AgeMs, 250u) << i;
        EXPECT_GT(Ticks(*h, 3).front().AgeMs, 3u * kMinuteMs - 300);
        EXPECT_LE(Ticks(*h, 3).front().AgeMs, 3u * kMinuteMs);
    }
}

TEST(MemoryHistory, TicksCloserThanAStepShareAPointThatHoldsTheirMean) {
    MemoryHistory h;
    const uint32_t loads[] = {10, 20, 60, 40};
    for (uint32_t i = 0; i < 4; ++i)
        h.Add(1000 + i * 100, Reading(loads[i]));  // 0, 100, 200 share a point; 300 starts the next
    auto points = Ticks(h, 1);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].AgeMs, 300u);
    EXPECT_EQ(points[0].Figures, FiguresOf(30));
    EXPECT_EQ(points[1].AgeMs, 0u);
    EXPECT_EQ(points[1].Figures, FiguresOf(40));
}

TEST(MemoryHistory, AMinuteKeepsMinimumMeanAndMaximumOfEachFigure) {
    MemoryHistory h;
    const uint32_t loads[] = {30, 50, 10, 70};
    for (uint32_t i = 0; i < 4; ++i)
        h.Add(kMinuteMs * 7 + i * 15000, Reading(loads[i]));
    h.Add(kMinuteMs * 8, Reading(5));
    auto minutes = Minutes(h, 3);
    ASSERT_EQ(minutes.size(), 3u);
    EXPECT_EQ(minutes[0].Samples, 0u);
    EXPECT_EQ(minutes[0].AgeMinutes, 2u);
    EXPECT_EQ(minutes[1].Samples, 4u);
    EXPECT_EQ(minutes[1].Min, FiguresOf(10));
    EXPECT_EQ(minutes[1].Mean, FiguresOf(40));
    EXPECT_EQ(minutes[1].Max, FiguresOf(70));
    EXPECT_EQ(minutes[2].Samples, 1u);
    EXPECT_EQ(minutes[2].Mean, FiguresOf(5));
}

// The mean load of each minute, oldest first; 0 for a minute without readings.
void ExpectMinuteLoads(const std::vector<HistoryMinute>& minutes, const std::vector<uint32_t>& loads) {
    ASSERT_EQ(minutes.size(), loads.size());
    for (size_t i = 0; i < loads.size(); ++i) {
        EXPECT_EQ(minutes[i].Samples > 0, loads[i] > 0) << i;
        EXPECT_EQ(minutes[i].Mean.Load, loads[i]) << i;
    }
}

// Clock edges: the tick count wrapping through 0 is an ordinary step; a suspension leaves its minutes empty and what
// came before at its true age; a count that jumps back costs no time and keeps the history in order.
TEST(MemoryHistory, ClockWrapSuspensionAndBackwardJump) {
    {
        SCOPED_TRACE("wrap");
        MemoryHistory h;
        RunTicks(h, 4294800000u, 6 * kMinuteMs, 500);  // minutes 71580 to 71585 of the count; 2^32 ms fall in the third
        auto points = Ticks(h, 10);
        EXPECT_EQ(points.size(), 720u);
        EXPECT_EQ(points.front().AgeMs, 6 * kMinuteMs - 500);
        ExpectMinuteLoads(Minutes(h, 8), {0, 0, 1, 2, 3, 4, 5, 6});
    }
    {
        SCOPED_TRACE("suspended for three hours");
        MemoryHistory h;
        uint32_t t = RunTicks(h, 10 * kMinuteMs, 3 * kMinuteMs, 500);
        RunTicks(h, t + 180 * kMinuteMs, 2 * kMinuteMs, 500);
        EXPECT_EQ(Ticks(h, 10).size(), 240u);  // the ticks before are hours old
        std::vector<uint32_t> loads(185, 0);
        loads[0] = 1, loads[1] = 2, loads[2] = 3, loads[183] = 1, loads[184] = 2;
        ExpectMinuteLoads(Minutes(h, 185), loads);
    }
    {
        SCOPED_TRACE("suspended for more than a day");
        MemoryHistory h;
        uint32_t t = RunTicks(h, 0, 30 * kMinuteMs, 1000);
        RunTicks(h, t + 1440 * kMinuteMs, kMinuteMs, 1000);
        auto minutes = Minutes(h, 1440);
        for (size_t i = 0; i + 1 < minutes.size(); ++i)
            ASSERT_EQ(minutes[i].Samples, 0u) << i;
        EXPECT_EQ(minutes.back().Samples, 60u);
    }
    {
        SCOPED_TRACE("count jumps an hour back");
        MemoryHistory h;
        uint32_t t = RunTicks(h, 200 * kMinuteMs, 2 * kMinuteMs, 500);
        RunTicks(h, t - 60 * kMinuteMs, 2 * kMinuteMs, 500);
        auto points = Ticks(h, 10);
        EXPECT_EQ(points.size(), 479u);  // the first tick after the jump joined the last point before it
        for (size_t i = 1; i < points.size(); ++i)
            ASSERT_GT(points[i - 1].AgeMs, points[i].AgeMs) << i;
        ExpectMinuteLoads(Minutes(h, 5), {0, 1, 2, 1, 2});  // minutes 199 to 203 of the history
    }
}

TEST(MemoryHistory, CsvGivesSecondsBeforeTheNewestTickAndBytes) {
    MemoryHistory h;
    EXPECT_EQ(h.TicksCsv(10), "seconds,load,physical,commit\r\n");
    h.Add(1000, Reading(10));
    h.Add(13250, Reading(20));
    h.Add(kMinuteMs + 2000, Reading(30));
    EXPECT_EQ(h.TicksCsv(10),
              "seconds,load,physical,commit\r\n"
              "-61.000,10,40960000,81920000\r\n"
              "-48.750,20,81920000,163840000\r\n"
              "0.000,30,122880000,245760000\r\n");
    EXPECT_EQ(h.MinutesCsv(5),
              "seconds,load,physical,commit\r\n"
              "-62.000,15,61440000,122880000\r\n"
              "-2.000,30,122880000,245760000\r\n");
}
}  // namespace
