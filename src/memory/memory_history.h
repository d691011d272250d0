#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "memory/memory_sample.h"
#include "memory/tick_clock.h"

// The figures of one moment: load in percent, physical memory used, commit charge and commit limit in bytes.
struct MemoryFigures {
    uint32_t Load = 0;
    uint64_t PhysUsed = 0;
    uint64_t CommitUsed = 0;
    uint64_t CommitLimit = 0;

    static MemoryFigures Of(const MemorySample& sample);
    bool operator==(const MemoryFigures& o) const {
        return Load == o.Load && PhysUsed == o.PhysUsed && CommitUsed == o.CommitUsed && CommitLimit == o.CommitLimit;
    }
};

// One point at tick resolution: the mean of the ticks it holds, AgeMs before the newest tick.
struct HistoryPoint {
    uint64_t AgeMs = 0;
    MemoryFigures Figures;
};

// One minute of the day's history; Samples 0 is a minute without readings (the program or the machine was not
// running), whose figures are all 0.
struct HistoryMinute {
    uint64_t AgeMinutes = 0;  // 0 is the minute of the newest tick
    uint32_t Samples = 0;
    MemoryFigures Min, Mean, Max;
};

// The memory readings of the last 10 minutes at tick resolution and of the last 24 hours per minute, in rings
// allocated once.
class MemoryHistory {
  public:
    static constexpr uint32_t kTickMinutes = 10;
    static constexpr uint32_t kDayMinutes = 24 * 60;
    static constexpr uint32_t kFinestStepMs = 250;
    static constexpr size_t kTickPoints = kTickMinutes * 60000 / kFinestStepMs + 1;

    MemoryHistory();

    // The reading of a refresh tick; tickMs is the tick count (GetTickCount's) when it was taken.
    void Add(uint32_t tickMs, const MemorySample& sample);

    // The points of the last minutes (at most 10) and every minute of the last minutes (at most a day), oldest first;
    // each returns how many it wrote: the newest ones, at most capacity (kTickPoints or minutes is always enough).
    size_t CopyTicks(uint32_t minutes, HistoryPoint* out, size_t capacity) const;
    size_t CopyMinutes(uint32_t minutes, HistoryMinute* out, size_t capacity) const;

    // "seconds,load,physical,commit" and a line per point or per minute with readings (the minute's means).
    std::string TicksCsv(uint32_t minutes) const;
    std::string MinutesCsv(uint32_t minutes) const;

    // Bytes the history holds, rings included; fixed from construction.
    size_t FootprintBytes() const;

  private:
    // Figures in 4 KiB pages (what Windows counts memory in), load first: four 32-bit numbers instead of 32 bytes.
    using Packed = std::array<uint32_t, 4>;
    struct Accumulator {
        std::array<uint64_t, 4> Sum{};
        Packed Min{}, Max{};
        uint32_t Count = 0;
        void Start(const Packed& figures);
        void Add(const Packed& figures);
        Packed Mean() const;
    };
    struct StoredPoint {
        uint32_t TimeMs = 0;  // low 32 bits of the history time; the ring spans far less than 2^32 ms
        Packed Mean{};
    };
    struct StoredMinute {
        uint32_t Minute = 0;  // history time / 60000
        uint32_t Samples = 0;
        Packed Min{}, Mean{}, Max{};
    };

    static Packed Pack(const MemoryFigures& figures);
    static MemoryFigures Unpack(const Packed& packed);
    std::string Csv(const HistoryPoint* rows, size_t count) const;

    TickClock clock_;
    std::vector<StoredPoint> points_;
    size_t newestPoint_ = 0;
    size_t pointCount_ = 0;
    uint64_t openPointStart_ = 0;
    Accumulator openPoint_;
    std::vector<StoredMinute> minutes_;
    uint32_t openMinute_ = 0;
    Accumulator openMinuteSums_;
};
