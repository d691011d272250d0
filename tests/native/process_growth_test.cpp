#include "processes/process_growth.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "native/allocation_count.h"

namespace {
constexpr uint64_t kMiB = 1 << 20;
constexpr uint32_t kMinuteMs = 60000;

// A machine whose processes follow traces: private bytes as a function of the minute, present from `From` to `To`.
struct TracedProcess {
    uint32_t Id;
    uint64_t Created;
    std::string Name;
    std::function<uint64_t(uint32_t minute)> Bytes;
    uint32_t From = 0, To = ~0u;
};

class Machine {
  public:
    std::vector<TracedProcess> Processes;
    ProcessGrowth Growth;

    // Filler processes of 1-50 MiB that do not change.
    void AddIdle(size_t count) {
        for (uint32_t i = 0; i < count; ++i)
            Processes.push_back({5000 + i, 1, "idle.exe", [i](uint32_t) { return (1 + i % 50) * kMiB; }});
    }
    // One list a minute up to and including minute `last`, the tick count starting somewhere within a day.
    void RunTo(uint32_t last) {
        for (; minute_ <= last; ++minute_) {
            list_.clear();
            for (const TracedProcess& p : Processes)
                if (minute_ >= p.From && minute_ <= p.To)
                    list_.push_back({p.Id, p.Created, p.Bytes(minute_), p.Name});
            Growth.Update(123456 + minute_ * kMinuteMs, list_);
        }
    }
    std::vector<ProcessGrowthEntry> Rank(uint32_t spanMinutes) {
        std::vector<ProcessGrowthEntry> entries(ProcessGrowth::kTracked);
        entries.resize(Growth.RankGrowth(spanMinutes, entries.data(), entries.size()));
        return entries;
    }

  private:
    uint32_t minute_ = 0;
    std::vector<ProcessMemoryReading> list_;
};

uint64_t Leak(uint32_t minute) {
    return 200 * kMiB + minute * 10 * kMiB;
}

// A steady leak ranks first over every span with the growth of its line; a process that was flat but for one
// reading far above, one whose garbage collector climbs for three minutes and falls back, and a flat one heavier than
// all do not rank at all.
TEST(ProcessGrowth, ASteadyLeakRanksFirstASpikeAndASawtoothDoNot) {
    auto m = std::make_unique<Machine>();
    m->AddIdle(150);
    m->Processes.push_back({100, 7, "leak.exe", Leak});
    m->Processes.push_back({200, 7, "spike.exe", [](uint32_t t) { return (t == 175 ? 2000 : 300) * kMiB; }});
    m->Processes.push_back({300, 7, "gc.exe", [](uint32_t t) { return (400 + 100 * (t % 4)) * kMiB; }});
    m->Processes.push_back({400, 7, "flat.exe", [](uint32_t) { return 3000 * kMiB; }});
    m->RunTo(180);

    struct Case {
        uint32_t SpanMinutes;
        int64_t Least, Most;
    };
    const Case cases[] = {{10, 100 * kMiB, 100 * kMiB}, {60, 600 * kMiB, 600 * kMiB}, {1440, 1500 * kMiB, 1800 * kMiB}};
    for (const Case& c : cases) {
        auto ranked = m->Rank(c.SpanMinutes);
        ASSERT_EQ(ranked.size(), 1u) << c.SpanMinutes;
        EXPECT_EQ(ranked[0].ExeName, "leak.exe");
        EXPECT_EQ(ranked[0].PrivateBytes, Leak(180));
        EXPECT_GE(ranked[0].GrowthBytes, c.Least) << c.SpanMinutes;
        EXPECT_LE(ranked[0].GrowthBytes, c.Most) << c.SpanMinutes;
    }
    ProcessGrowthEntry grower;
    ASSERT_TRUE(m->Growth.GrewMoreThan(250 * kMiB, 30, grower));
    EXPECT_EQ(grower.ProcessId, 100u);
    EXPECT_FALSE(m->Growth.GrewMoreThan(300 * kMiB, 30, grower));
}

// An ended process is dropped; a new process given the id of an ended one starts a history of its own (heavier than
// the old one ever was and flat, it would rank as a grower on the old one's history).
TEST(ProcessGrowth, AnEndedProcessIsDroppedAndAReusedIdStartsAfresh) {
    Machine m;
    m.Processes.push_back({100, 1, "leak.exe", Leak, 0, 30});
    m.Processes.push_back({100, 2, "other.exe", [](uint32_t) { return 1000 * kMiB; }, 31});
    m.Processes.push_back({300, 1, "short.exe", [](uint32_t) { return 50 * kMiB; }, 0, 35});
    m.RunTo(30);
    EXPECT_EQ(m.Growth.TrackedCount(), 2u);
    ASSERT_EQ(m.Rank(60).size(), 1u);
    m.RunTo(40);
    EXPECT_EQ(m.Growth.TrackedCount(), 1u);
    EXPECT_TRUE(m.Rank(60).empty());
    ProcessGrowthEntry grower;
    EXPECT_FALSE(m.Growth.GrewMoreThan(0, 30, grower));
}

// With more processes than places the heaviest are tracked; a small process that grows fast is taken once it
// outweighs the least merit, and then ranks. Nothing is allocated per minute or per query.
TEST(ProcessGrowth, KeepsTheHeaviestAndTakesAGrowerInWithoutAllocating) {
    auto m = std::make_unique<Machine>();
    for (uint32_t i = 0; i < 200; ++i)
        m->Processes.push_back({i + 1, 1, "p" + std::to_string(i) + ".exe", [i](uint32_t) { return (i + 1) * kMiB; }});
    m->Processes.push_back({999, 1, "grower.exe", [](uint32_t t) { return (1 + 8 * t) * kMiB; }});
    m->RunTo(10);
    EXPECT_EQ(m->Growth.TrackedCount(), ProcessGrowth::kTracked);
    EXPECT_TRUE(m->Rank(10).empty());  // the heaviest 64 (137-200 MiB) are flat; the grower is at 81 MiB

    std::vector<ProcessGrowthEntry> entries(ProcessGrowth::kTracked);
    size_t before = AllocationCount();
    m->RunTo(60);
    ProcessGrowthEntry grower;
    EXPECT_TRUE(m->Growth.GrewMoreThan(100 * kMiB, 30, grower));
    size_t ranked = m->Growth.RankGrowth(1440, entries.data(), entries.size());
    EXPECT_EQ(AllocationCount(), before);

    EXPECT_EQ(grower.ExeName, "grower.exe");
    EXPECT_EQ(grower.GrowthBytes, int64_t{8 * 30} * int64_t{kMiB});
    EXPECT_EQ(ranked, 1u);
    EXPECT_EQ(m->Growth.TrackedCount(), ProcessGrowth::kTracked);
}

// A sparkline's readings: the hour's at one a minute and the day's at one a half hour, oldest first, for the process
// asked for by id and creation time only; a small buffer keeps the newest.
TEST(ProcessGrowth, CopiesOneProcessReadingsOverASpan) {
    Machine m;
    m.Processes.push_back({100, 7, "leak.exe", Leak});
    m.RunTo(180);
    std::vector<ProcessGrowthReading> r(ProcessGrowth::kMaxReadings);

    ASSERT_EQ(m.Growth.CopyReadings(100, 7, 10, r.data(), r.size()), 11u);
    for (uint32_t i = 0; i <= 10; ++i) {
        EXPECT_EQ(r[i].AgeMinutes, 10 - i);
        EXPECT_EQ(r[i].PrivateBytes, Leak(170 + i));
    }
    size_t day = m.Growth.CopyReadings(100, 7, 1440, r.data(), r.size());
    ASSERT_GE(day, 6u);  // the half hours of three hours
    ASSERT_LE(day, 7u);
    EXPECT_GE(r[0].AgeMinutes, 150u);
    EXPECT_LT(r[day - 1].AgeMinutes, 30u);  // the mean time of the newest half hour
    for (size_t i = 1; i < day; ++i)
        EXPECT_GT(r[i].PrivateBytes, r[i - 1].PrivateBytes);

    ASSERT_EQ(m.Growth.CopyReadings(100, 7, 60, r.data(), 2), 2u);
    EXPECT_EQ(r[1].AgeMinutes, 0u);
    EXPECT_EQ(r[0].AgeMinutes, 1u);
    EXPECT_EQ(m.Growth.CopyReadings(100, 8, 60, r.data(), r.size()), 0u);
    EXPECT_EQ(m.Growth.CopyReadings(101, 7, 60, r.data(), r.size()), 0u);
}
}  // namespace
