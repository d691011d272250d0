#include "memory/memory_history.h"

#include <algorithm>

#include "memory/memory_pages.h"
#include "platform/fixed_text.h"

namespace {
constexpr uint64_t kMinuteMs = 60000;
}  // namespace

MemoryFigures MemoryFigures::Of(const MemorySample& sample) {
    return {sample.MemoryLoad, sample.PhysUsed(), sample.PageFileUsed(), sample.TotalPageFile};
}

MemoryHistory::Packed MemoryHistory::Pack(const MemoryFigures& f) {
    return {f.Load, BytesToPages(f.PhysUsed), BytesToPages(f.CommitUsed), BytesToPages(f.CommitLimit)};
}

MemoryFigures MemoryHistory::Unpack(const Packed& p) {
    return {p[0], p[1] * kPageBytes, p[2] * kPageBytes, p[3] * kPageBytes};
}

void MemoryHistory::Accumulator::Start(const Packed& figures) {
    Count = 0;
    Sum = {};
    Min = Max = figures;
    Add(figures);
}

void MemoryHistory::Accumulator::Add(const Packed& figures) {
    ++Count;
    for (size_t i = 0; i < figures.size(); ++i) {
        Sum[i] += figures[i];
        Min[i] = std::min(Min[i], figures[i]);
        Max[i] = std::max(Max[i], figures[i]);
    }
}

MemoryHistory::Packed MemoryHistory::Accumulator::Mean() const {
    Packed mean{};
    for (size_t i = 0; i < mean.size(); ++i)
        mean[i] = static_cast<uint32_t>((Sum[i] + Count / 2) / Count);
    return mean;
}

// Both rings are sized here once: 2,401 points of 20 bytes and 1,440 minutes of 56 bytes, 126 KiB in all with the
// object.
MemoryHistory::MemoryHistory() : points_(kTickPoints), minutes_(kDayMinutes) {}

// A tick closer than kFinestStepMs to the start of the newest point joins that point (its figures become the mean
// of both), so ten minutes fit in kTickPoints whatever the refresh rate: the fastest the settings allow (1 ms, which
// Windows' timers raise to 10 ms) gives a point every 250-260 ms, the default 500 ms a point per tick. A minute is
// the history time divided by 60,000, so after a gap (a suspension, a stopped program) the next reading falls into
// its own minute and the minutes in between keep the stamp of a day before: they read as empty, never filled in.
void MemoryHistory::Add(uint32_t tickMs, const MemorySample& sample) {
    bool first = !clock_.Started();
    uint64_t now = clock_.Advance(tickMs);
    Packed figures = Pack(MemoryFigures::Of(sample));

    if (first || now - openPointStart_ >= kFinestStepMs) {
        newestPoint_ = first ? 0 : (newestPoint_ + 1) % points_.size();
        pointCount_ = std::min(pointCount_ + 1, points_.size());
        openPointStart_ = now;
        openPoint_.Start(figures);
    } else {
        openPoint_.Add(figures);
    }
    points_[newestPoint_] = {static_cast<uint32_t>(openPointStart_), openPoint_.Mean()};

    auto minute = static_cast<uint32_t>(now / kMinuteMs);
    if (first || minute != openMinute_) {
        openMinute_ = minute;
        openMinuteSums_.Start(figures);
    } else {
        openMinuteSums_.Add(figures);
    }
    minutes_[minute % minutes_.size()] = {minute, openMinuteSums_.Count, openMinuteSums_.Min, openMinuteSums_.Mean(),
                                          openMinuteSums_.Max};
}

size_t MemoryHistory::CopyTicks(uint32_t minutes, HistoryPoint* out, size_t capacity) const {
    uint64_t span = std::min(minutes, kTickMinutes) * kMinuteMs;
    auto now = static_cast<uint32_t>(clock_.Now());
    // Newest backwards to the first point older than the span, then written oldest first.
    size_t count = 0;
    while (count < pointCount_) {
        const StoredPoint& p = points_[(newestPoint_ + points_.size() - count) % points_.size()];
        if (static_cast<uint32_t>(now - p.TimeMs) > span)
            break;
        ++count;
    }
    count = std::min(count, capacity);
    for (size_t i = 0; i < count; ++i) {
        const StoredPoint& p = points_[(newestPoint_ + points_.size() - (count - 1 - i)) % points_.size()];
        out[i] = {static_cast<uint32_t>(now - p.TimeMs), Unpack(p.Mean)};
    }
    return count;
}

size_t MemoryHistory::CopyMinutes(uint32_t minutes, HistoryMinute* out, size_t capacity) const {
    size_t count = std::min<size_t>({minutes, kDayMinutes, capacity});
    if (!clock_.Started())
        return 0;
    for (size_t i = 0; i < count; ++i) {
        uint64_t age = count - 1 - i;
        HistoryMinute& m = out[i] = HistoryMinute{age, 0, {}, {}, {}};
        if (age > openMinute_)
            continue;
        auto minute = static_cast<uint32_t>(openMinute_ - age);
        const StoredMinute& s = minutes_[minute % minutes_.size()];
        if (s.Minute != minute || s.Samples == 0)
            continue;
        m.Samples = s.Samples;
        m.Min = Unpack(s.Min);
        m.Mean = Unpack(s.Mean);
        m.Max = Unpack(s.Max);
    }
    return count;
}

// Times are seconds before the newest tick with millisecond digits ("-12.250"), which a spreadsheet reads as a
// number in any locale; wall-clock times would need the caller's clock and format. Memory is in bytes.
std::string MemoryHistory::Csv(const HistoryPoint* rows, size_t count) const {
    std::string text = "seconds,load,physical,commit\r\n";
    char line[128];
    for (size_t i = 0; i < count; ++i) {
        const HistoryPoint& r = rows[i];
        FixedText t(line, sizeof line);
        t.Add(r.AgeMs > 0 ? "-" : "").Decimal(r.AgeMs / 1000).Add(".").Decimal(r.AgeMs % 1000, 3);
        t.Add(",").Decimal(r.Figures.Load).Add(",").Decimal(r.Figures.PhysUsed);
        t.Add(",").Decimal(r.Figures.CommitUsed).Add("\r\n");
        text.append(line, t.Length());
    }
    return text;
}

std::string MemoryHistory::TicksCsv(uint32_t minutes) const {
    std::vector<HistoryPoint> rows(kTickPoints);
    return Csv(rows.data(), CopyTicks(minutes, rows.data(), rows.size()));
}

std::string MemoryHistory::MinutesCsv(uint32_t minutes) const {
    std::vector<HistoryMinute> all(kDayMinutes);
    size_t count = CopyMinutes(minutes, all.data(), all.size());
    std::vector<HistoryPoint> rows;
    for (size_t i = 0; i < count; ++i) {
        if (all[i].Samples == 0)
            continue;
        uint64_t start = (openMinute_ - all[i].AgeMinutes) * kMinuteMs;
        rows.push_back({clock_.Now() - start, all[i].Mean});
    }
    return Csv(rows.data(), rows.size());
}

size_t MemoryHistory::FootprintBytes() const {
    return sizeof(*this) + points_.capacity() * sizeof(StoredPoint) + minutes_.capacity() * sizeof(StoredMinute);
}
