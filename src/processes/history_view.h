#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "memory/memory_format.h"
#include "memory/memory_history.h"
#include "platform/texts.h"
#include "processes/process_growth.h"
#include "tray/history_graph.h"

enum class HistorySpan { TenMinutes, Hour, Day };
inline constexpr int kHistorySpanCount = 3;

// What the memory history window shows of one span: the graph's points, the text under the mouse, the processes
// that grew most with their sparklines, and the span as CSV.
class HistoryView {
  public:
    static constexpr size_t kGrowers = 5;

    HistoryView(const MemoryHistory& history, ProcessGrowth& growth);

    // Reads the span's points and growers afresh (a new tick, another span).
    void Load(HistorySpan span);
    HistorySpan Span() const { return span_; }
    uint64_t SpanMs() const;
    static TextId SpanName(HistorySpan span);

    const std::vector<GraphPoint>& Points() const { return points_; }
    // "12:34 · 72% in use · 48% committed" for column x of a graph width pixels wide, the time of day from
    // nowSecondsOfDay (the local time of the newest point); empty where the column has no readings.
    std::string HoverText(int x, int width, uint32_t nowSecondsOfDay) const;

    size_t GrowerCount() const { return growerCount_; }
    // Its ExeName lasts until the next Load.
    const ProcessGrowthEntry& Grower(size_t i) const { return growers_[i]; }
    // "+1.2 GB in 1 hour"
    std::string GrowthText(size_t i, const NumberSeparators& separators) const;
    // The grower's private bytes over the span, oldest first; returns how many (at most ProcessGrowth::kMaxReadings).
    size_t GrowerReadings(size_t i, uint64_t* out, size_t capacity) const;

    // "seconds,load,physical,commit" and a line per point (10 minutes) or per minute with readings.
    std::string Csv() const;

  private:
    void LoadTicks();
    void LoadMinutes(uint32_t minutes);

    const MemoryHistory& history_;
    ProcessGrowth& growth_;
    HistorySpan span_ = HistorySpan::TenMinutes;
    std::vector<HistoryPoint> ticks_;
    std::vector<HistoryMinute> minutes_;
    std::vector<GraphPoint> points_;
    std::array<ProcessGrowthEntry, kGrowers> growers_{};
    std::array<std::string, kGrowers> names_;
    size_t growerCount_ = 0;
};
