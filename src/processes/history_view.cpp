#include "processes/history_view.h"

#include <algorithm>
#include <cmath>

#include "memory/memory_sample.h"
#include "platform/fixed_text.h"

namespace {
constexpr uint64_t kMinuteMs = 60000;
constexpr uint32_t kDaySeconds = 24 * 60 * 60;
// Between two ticks' points more than this (and more than three of the shortest steps) the machine slept or the
// program did not run.
constexpr uint64_t kLeastTickGapMs = 2000;

struct SpanInfo {
    TextId Name;
    uint32_t Minutes;
};
constexpr SpanInfo kSpans[kHistorySpanCount] = {
    {TextId::HistoryTenMinutes, MemoryHistory::kTickMinutes},
    {TextId::HistoryHour, 60},
    {TextId::HistoryDay, MemoryHistory::kDayMinutes},
};

const SpanInfo& InfoOf(HistorySpan span) {
    return kSpans[static_cast<int>(span)];
}

GraphPoint PointOf(uint64_t ageMs,
                   const MemoryFigures& mean,
                   const MemoryFigures& min,
                   const MemoryFigures& max,
                   bool gapBefore) {
    return {ageMs,
            static_cast<float>(mean.Load),
            static_cast<float>(min.Load),
            static_cast<float>(max.Load),
            static_cast<float>(CommitChargePercent(mean.CommitUsed, mean.CommitLimit)),
            gapBefore};
}
}  // namespace

HistoryView::HistoryView(const MemoryHistory& history, ProcessGrowth& growth) : history_(history), growth_(growth) {}

TextId HistoryView::SpanName(HistorySpan span) {
    return InfoOf(span).Name;
}

uint64_t HistoryView::SpanMs() const {
    return InfoOf(span_).Minutes * kMinuteMs;
}

// The buffers take the longest span at the first load, not before: the program keeps a view from its start, and most
// sessions never open the window. Loading allocates nothing after.
void HistoryView::Load(HistorySpan span) {
    if (points_.capacity() == 0) {
        ticks_.resize(MemoryHistory::kTickPoints);
        minutes_.resize(MemoryHistory::kDayMinutes);
        points_.reserve(MemoryHistory::kTickPoints);
        for (std::string& name : names_)
            name.reserve(ProcessGrowth::kMaxExeName);
    }
    span_ = span;
    points_.clear();
    if (span == HistorySpan::TenMinutes)
        LoadTicks();
    else
        LoadMinutes(InfoOf(span).Minutes);

    // The names are kept here: the growth's own last only until its next minute, which may come while the window
    // shows them.
    growerCount_ = growth_.RankGrowth(InfoOf(span).Minutes, growers_.data(), growers_.size());
    for (size_t i = 0; i < growerCount_; ++i) {
        names_[i].assign(growers_[i].ExeName);
        growers_[i].ExeName = names_[i];
    }
}

// A gap is a step of more than three of the shortest ones (the refresh rate) and more than two seconds.
void HistoryView::LoadTicks() {
    size_t count = history_.CopyTicks(MemoryHistory::kTickMinutes, ticks_.data(), ticks_.size());
    uint64_t shortest = ~uint64_t{0};
    for (size_t i = 1; i < count; ++i)
        shortest = std::min(shortest, ticks_[i - 1].AgeMs - ticks_[i].AgeMs);
    const uint64_t gap = std::max(kLeastTickGapMs, shortest > kLeastTickGapMs ? shortest * 3 : 0);
    for (size_t i = 0; i < count; ++i) {
        const HistoryPoint& p = ticks_[i];
        points_.push_back(
            PointOf(p.AgeMs, p.Figures, p.Figures, p.Figures, i > 0 && ticks_[i - 1].AgeMs - p.AgeMs > gap));
    }
}

// Minutes without readings are left out, and the next minute with readings starts after a gap.
void HistoryView::LoadMinutes(uint32_t minutes) {
    size_t count = history_.CopyMinutes(minutes, minutes_.data(), minutes_.size());
    bool gap = false;
    for (size_t i = 0; i < count; ++i) {
        const HistoryMinute& m = minutes_[i];
        if (m.Samples == 0) {
            gap = !points_.empty();
            continue;
        }
        points_.push_back(PointOf(m.AgeMinutes * kMinuteMs, m.Mean, m.Min, m.Max, gap));
        gap = false;
    }
}

// The column's age falls between two points: the nearer one answers, unless a gap lies between them.
std::string HistoryView::HoverText(int x, int width, uint32_t nowSecondsOfDay) const {
    if (points_.empty() || width < 2 || x < 0 || x >= width)
        return {};
    const uint64_t age = static_cast<uint64_t>(width - 1 - x) * SpanMs() / static_cast<uint64_t>(width - 1);
    // The first point no older than the age (points are oldest first, so ages fall); beyond the oldest point by
    // more than a column there is nothing to show.
    auto newer =
        std::partition_point(points_.begin(), points_.end(), [&](const GraphPoint& p) { return p.AgeMs > age; });
    if (newer == points_.end())
        return {};
    const GraphPoint* shown = &*newer;
    if (newer == points_.begin()) {
        if (age - newer->AgeMs > SpanMs() / static_cast<uint64_t>(width - 1))
            return {};
    } else {
        auto older = std::prev(newer);
        if (newer->GapBefore)
            return {};
        if (older->AgeMs - age < age - newer->AgeMs)
            shown = &*older;
    }

    const uint32_t seconds =
        (nowSecondsOfDay + kDaySeconds - static_cast<uint32_t>(shown->AgeMs / 1000 % kDaySeconds)) % kDaySeconds;
    char time[16];
    FixedText t(time, sizeof time);
    t.Decimal(seconds / 3600, 2).Add(":").Decimal(seconds / 60 % 60, 2);
    if (span_ == HistorySpan::TenMinutes)
        t.Add(":").Decimal(seconds % 60, 2);
    return FormatText(TextId::HistoryHover,
                      {std::string_view(time, t.Length()), std::to_string(std::lround(shown->Load)),
                       std::to_string(std::lround(shown->Commit))});
}

std::string HistoryView::GrowthText(size_t i, const NumberSeparators& separators) const {
    return FormatText(
        TextId::HistoryGrowth,
        {FormatByteSize(static_cast<uint64_t>(growers_[i].GrowthBytes), separators), Text(SpanName(span_))});
}

size_t HistoryView::GrowerReadings(size_t i, uint64_t* out, size_t capacity) const {
    std::array<ProcessGrowthReading, ProcessGrowth::kMaxReadings> readings;
    size_t count = growth_.CopyReadings(growers_[i].ProcessId, growers_[i].CreationTime, InfoOf(span_).Minutes,
                                        readings.data(), std::min(capacity, readings.size()));
    for (size_t k = 0; k < count; ++k)
        out[k] = readings[k].PrivateBytes;
    return count;
}

std::string HistoryView::Csv() const {
    return span_ == HistorySpan::TenMinutes ? history_.TicksCsv(MemoryHistory::kTickMinutes)
                                            : history_.MinutesCsv(InfoOf(span_).Minutes);
}
