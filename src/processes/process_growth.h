#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "memory/tick_clock.h"

// One process of a minute's list.
struct ProcessMemoryReading {
    uint32_t ProcessId = 0;
    uint64_t CreationTime = 0;  // tells this process from a later one with the same id
    uint64_t PrivateBytes = 0;
    std::string_view ExeName;
};

// A tracked process and how much its private bytes grew over a span: the robust slope of its readings in the span
// times the minutes they cover. ExeName lasts until the next Update.
struct ProcessGrowthEntry {
    uint32_t ProcessId = 0;
    uint64_t CreationTime = 0;
    uint64_t PrivateBytes = 0;
    int64_t GrowthBytes = 0;
    std::string_view ExeName;
};

// One reading of a tracked process: its private bytes AgeMinutes before the newest list.
struct ProcessGrowthReading {
    uint32_t AgeMinutes = 0;
    uint64_t PrivateBytes = 0;
};

// The private bytes of the processes that matter, sampled once a minute: an hour at one point per minute and a day
// at one point per half hour, for at most kTracked processes, with their growth over a span.
class ProcessGrowth {
  public:
    static constexpr size_t kTracked = 64;
    static constexpr uint32_t kHourMinutes = 60;
    static constexpr uint32_t kDayMinutes = 24 * 60;
    static constexpr uint32_t kDayStepMinutes = 30;
    static constexpr size_t kMaxExeName = 260;

    ProcessGrowth();

    // Every running process at tickMs (the tick count of MemoryHistory::Add).
    void Update(uint32_t tickMs, const std::vector<ProcessMemoryReading>& processes);

    // The tracked processes that grew 16 MiB or more over the last spanMinutes (at most a day), most first; returns
    // how many.
    size_t RankGrowth(uint32_t spanMinutes, ProcessGrowthEntry* out, size_t capacity);
    // The process that grew most over the last spanMinutes, when that is more than bytes.
    bool GrewMoreThan(uint64_t bytes, uint32_t spanMinutes, ProcessGrowthEntry& out);

    // The readings of one tracked process over the last spanMinutes, oldest first: one a minute up to an hour, one a
    // half hour beyond; returns how many (none when the process is not tracked). kMaxReadings is always enough.
    static constexpr size_t kMaxReadings = kHourMinutes + 1;
    size_t CopyReadings(uint32_t processId,
                        uint64_t creationTime,
                        uint32_t spanMinutes,
                        ProcessGrowthReading* out,
                        size_t capacity) const;

    size_t TrackedCount() const;

  private:
    struct Point {
        uint32_t Minute = 0;
        uint32_t Pages = 0;
    };
    template <size_t N>
    struct PointRing {
        std::array<Point, N> Points{};
        size_t Newest = 0;
        size_t Count = 0;
        void Put(const Point& p, bool replaceNewest);
        const Point& At(size_t age) const { return Points[(Newest + N - age) % N]; }
    };
    struct Tracked {
        bool InUse = false;
        bool Seen = false;
        uint32_t ProcessId = 0;
        uint64_t CreationTime = 0;
        uint64_t PrivateBytes = 0;
        uint64_t Merit = 0;
        std::string ExeName;
        PointRing<kHourMinutes + 1> Hour;
        PointRing<kDayMinutes / kDayStepMinutes + 1> Day;
        uint64_t HalfHourMinutes = 0, HalfHourPages = 0;
        uint32_t HalfHourCount = 0;
    };

    void Record(Tracked& t, uint32_t minute, uint64_t privateBytes);
    void Admit(Tracked& t, uint32_t minute, const ProcessMemoryReading& reading);
    int64_t Growth(const Tracked& t, uint32_t spanMinutes);
    template <size_t N>
    size_t CountInSpan(const PointRing<N>& ring, uint32_t spanMinutes) const;
    template <size_t N>
    size_t CopyRing(const PointRing<N>& ring, uint32_t spanMinutes, ProcessGrowthReading* out, size_t capacity) const;
    template <size_t N>
    int64_t TheilSen(const PointRing<N>& ring, uint32_t spanMinutes);
    ProcessGrowthEntry EntryOf(const Tracked& t, int64_t growth) const;

    TickClock clock_;
    uint32_t minute_ = 0;
    std::vector<Tracked> tracked_;
    std::vector<double> slopes_;
    std::vector<uint8_t> matched_;
};
