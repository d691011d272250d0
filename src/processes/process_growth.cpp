#include "processes/process_growth.h"

#include <algorithm>
#include <cmath>

#include "memory/memory_pages.h"

namespace {
constexpr uint64_t kMinuteMs = 60000;
constexpr uint32_t kMeritSpanMinutes = 10;
constexpr size_t kUsualProcessCount = 1024;
// Less is not growth worth showing; it also keeps a flat or cycling process, whose half-hour means wobble a little
// with where the half hours fall, from ranking.
constexpr int64_t kLeastGrowthBytes = 16 << 20;
}  // namespace

template <size_t N>
void ProcessGrowth::PointRing<N>::Put(const Point& p, bool replaceNewest) {
    if (!replaceNewest || Count == 0) {
        Newest = Count == 0 ? 0 : (Newest + 1) % N;
        Count = std::min(Count + 1, N);
    }
    Points[Newest] = p;
}

// Everything is sized here: the places, each name's room, the slopes of the largest span (61 points, 1,830 pairs)
// and the marks of a list of the usual length; Update and the queries allocate nothing after.
ProcessGrowth::ProcessGrowth() : tracked_(kTracked), slopes_((kHourMinutes + 1) * kHourMinutes / 2) {
    for (Tracked& t : tracked_)
        t.ExeName.reserve(kMaxExeName);
    matched_.reserve(kUsualProcessCount);
}

size_t ProcessGrowth::TrackedCount() const {
    return static_cast<size_t>(
        std::count_if(tracked_.begin(), tracked_.end(), [](const Tracked& t) { return t.InUse; }));
}

// The hour keeps a point per minute (a second list within the same minute replaces it); the day keeps a point per
// half hour, the mean of that half hour's minutes and of their times.
void ProcessGrowth::Record(Tracked& t, uint32_t minute, uint64_t privateBytes) {
    t.PrivateBytes = privateBytes;
    uint32_t pages = BytesToPages(privateBytes);
    t.Hour.Put({minute, pages}, t.Hour.Count > 0 && t.Hour.Points[t.Hour.Newest].Minute == minute);

    bool sameHalfHour =
        t.HalfHourCount > 0 && t.Day.Points[t.Day.Newest].Minute / kDayStepMinutes == minute / kDayStepMinutes;
    if (!sameHalfHour)
        t.HalfHourMinutes = t.HalfHourPages = t.HalfHourCount = 0;
    t.HalfHourMinutes += minute;
    t.HalfHourPages += pages;
    ++t.HalfHourCount;
    t.Day.Put({static_cast<uint32_t>(t.HalfHourMinutes / t.HalfHourCount),
               static_cast<uint32_t>(t.HalfHourPages / t.HalfHourCount)},
              sameHalfHour);
}

void ProcessGrowth::Admit(Tracked& t, uint32_t minute, const ProcessMemoryReading& reading) {
    t.InUse = t.Seen = true;
    t.ProcessId = reading.ProcessId;
    t.CreationTime = reading.CreationTime;
    t.Merit = reading.PrivateBytes;
    t.ExeName.assign(reading.ExeName.substr(0, kMaxExeName));
    t.Hour.Count = t.Day.Count = 0;
    t.HalfHourCount = 0;
    Record(t, minute, reading.PrivateBytes);
}

// A process is known by its id and creation time, so an id the system gave again is a new process with a history of
// its own, and a tracked process missing from the list has ended and gives up its place.
//
// Who is tracked: a process not yet tracked takes a free place, else the place of the tracked process of least
// merit (its private bytes plus what it grew over the last ten minutes), when its own private bytes are more. So
// the heaviest processes are tracked; one that keeps growing holds its place against a heavier one that does not,
// a newcomer needs more than the grower's weight and growth together, and a small process that grows fast is taken
// once it outweighs the least merit. Places change hands only on merit, so two processes of equal weight do not
// take turns.
//
// Cost: finding each process among the tracked ones (processes x 64 comparisons), a robust slope of 11 points per
// tracked process for its merit, and for each untracked process a scan of the 64 places: about 30,000 simple steps
// for 200 processes, nothing allocated unless the list is longer than any before (and above 1,024).
void ProcessGrowth::Update(uint32_t tickMs, const std::vector<ProcessMemoryReading>& processes) {
    minute_ = static_cast<uint32_t>(clock_.Advance(tickMs) / kMinuteMs);
    for (Tracked& t : tracked_)
        t.Seen = false;
    matched_.assign(processes.size(), 0);
    for (size_t i = 0; i < processes.size(); ++i) {
        const ProcessMemoryReading& p = processes[i];
        for (Tracked& t : tracked_) {
            if (t.InUse && t.ProcessId == p.ProcessId && t.CreationTime == p.CreationTime) {
                Record(t, minute_, p.PrivateBytes);
                t.Seen = true;
                matched_[i] = 1;
                break;
            }
        }
    }
    for (Tracked& t : tracked_) {
        t.InUse = t.InUse && t.Seen;
        if (t.InUse)
            t.Merit = t.PrivateBytes + static_cast<uint64_t>(std::max<int64_t>(0, Growth(t, kMeritSpanMinutes)));
    }
    for (size_t i = 0; i < processes.size(); ++i) {
        if (matched_[i])
            continue;
        Tracked* place = nullptr;
        for (Tracked& t : tracked_) {
            if (!t.InUse) {
                place = &t;
                break;
            }
            if (!place || t.Merit < place->Merit)
                place = &t;
        }
        if (!place->InUse || processes[i].PrivateBytes > place->Merit)
            Admit(*place, minute_, processes[i]);
    }
}

// How many of the newest points lie within the last spanMinutes.
template <size_t N>
size_t ProcessGrowth::CountInSpan(const PointRing<N>& ring, uint32_t spanMinutes) const {
    size_t count = 0;
    while (count < ring.Count && minute_ - ring.At(count).Minute <= spanMinutes)
        ++count;
    return count;
}

// Theil-Sen: the median of the slopes between every two points of the span, times the minutes the points cover.
// A spike moves a few slopes of many and a garbage collector's rise and fall cancel out, where the difference of
// two points would follow either. Fewer than three points give no growth: a slope of two would follow a spike.
template <size_t N>
int64_t ProcessGrowth::TheilSen(const PointRing<N>& ring, uint32_t spanMinutes) {
    size_t count = CountInSpan(ring, spanMinutes);
    if (count < 3)
        return 0;
    auto at = [&](size_t age) { return ring.At(age); };
    size_t slopes = 0;
    for (size_t i = 1; i < count; ++i) {
        for (size_t j = 0; j < i; ++j) {
            Point older = at(i), newer = at(j);
            if (newer.Minute > older.Minute)
                slopes_[slopes++] = (double(newer.Pages) - double(older.Pages)) / double(newer.Minute - older.Minute);
        }
    }
    if (slopes == 0)
        return 0;
    auto middle = slopes_.begin() + static_cast<std::ptrdiff_t>(slopes / 2);
    std::nth_element(slopes_.begin(), middle, slopes_.begin() + static_cast<std::ptrdiff_t>(slopes));
    double median = *middle;
    if (slopes % 2 == 0)
        median = (median + *std::max_element(slopes_.begin(), middle)) / 2;
    double minutes = double(at(0).Minute - at(count - 1).Minute);
    return std::llround(median * minutes * double(kPageBytes));
}

int64_t ProcessGrowth::Growth(const Tracked& t, uint32_t spanMinutes) {
    return spanMinutes <= kHourMinutes ? TheilSen(t.Hour, spanMinutes)
                                       : TheilSen(t.Day, std::min(spanMinutes, kDayMinutes));
}

ProcessGrowthEntry ProcessGrowth::EntryOf(const Tracked& t, int64_t growth) const {
    return {t.ProcessId, t.CreationTime, t.PrivateBytes, growth, t.ExeName};
}

size_t ProcessGrowth::RankGrowth(uint32_t spanMinutes, ProcessGrowthEntry* out, size_t capacity) {
    std::array<ProcessGrowthEntry, kTracked> growing;
    size_t count = 0;
    for (const Tracked& t : tracked_) {
        int64_t growth = t.InUse ? Growth(t, spanMinutes) : 0;
        if (growth >= kLeastGrowthBytes)
            growing[count++] = EntryOf(t, growth);
    }
    size_t shown = std::min(count, capacity);
    std::partial_sort(growing.begin(), growing.begin() + static_cast<std::ptrdiff_t>(shown),
                      growing.begin() + static_cast<std::ptrdiff_t>(count), [](const auto& a, const auto& b) {
                          return a.GrowthBytes != b.GrowthBytes ? a.GrowthBytes > b.GrowthBytes
                                                                : a.PrivateBytes > b.PrivateBytes;
                      });
    std::copy_n(growing.begin(), shown, out);
    return shown;
}

bool ProcessGrowth::GrewMoreThan(uint64_t bytes, uint32_t spanMinutes, ProcessGrowthEntry& out) {
    ProcessGrowthEntry top;
    if (RankGrowth(spanMinutes, &top, 1) == 0 || static_cast<uint64_t>(top.GrowthBytes) <= bytes)
        return false;
    out = top;
    return true;
}

template <size_t N>
size_t ProcessGrowth::CopyRing(const PointRing<N>& ring,
                               uint32_t spanMinutes,
                               ProcessGrowthReading* out,
                               size_t capacity) const {
    size_t count = std::min(CountInSpan(ring, spanMinutes), capacity);
    for (size_t i = 0; i < count; ++i) {
        const Point& p = ring.At(count - 1 - i);
        out[i] = {minute_ - p.Minute, uint64_t{p.Pages} * kPageBytes};
    }
    return count;
}

// The same rings the growth is measured on, so a sparkline shows what ranked the process.
size_t ProcessGrowth::CopyReadings(uint32_t processId,
                                   uint64_t creationTime,
                                   uint32_t spanMinutes,
                                   ProcessGrowthReading* out,
                                   size_t capacity) const {
    for (const Tracked& t : tracked_) {
        if (t.InUse && t.ProcessId == processId && t.CreationTime == creationTime)
            return spanMinutes <= kHourMinutes ? CopyRing(t.Hour, spanMinutes, out, capacity)
                                               : CopyRing(t.Day, std::min(spanMinutes, kDayMinutes), out, capacity);
    }
    return 0;
}
