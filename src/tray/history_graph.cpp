#include "tray/history_graph.h"

#include <algorithm>
#include <cmath>

#include "tray/pixel_rows.h"

Canvas::Canvas(int width, int height)
    : Width(std::max(width, 0)),
      Height(std::max(height, 0)),
      Pixels(static_cast<size_t>(Width) * static_cast<size_t>(Height)) {}

void Canvas::Set(int x, int y, uint32_t color) {
    SetPixelClipped(Pixels, Width, Height, x, y, color);
}

void Canvas::Fill(int left, int top, int right, int bottom, uint32_t color) {
    FillClipped(Pixels, Width, Height, left, top, right, bottom, color);
}

int GraphRow(double percent, int height) {
    double p = std::clamp(percent, 0.0, 100.0);
    return static_cast<int>(std::lround((100.0 - p) * (height - 1) / 100.0));
}

int GraphColumn(uint64_t ageMs, uint64_t spanMs, int width) {
    if (spanMs == 0)
        return width - 1;
    double age = double(std::min(ageMs, spanMs));
    return width - 1 - static_cast<int>(std::lround(age * (width - 1) / double(spanMs)));
}

namespace {
// What a segment does in each of its columns, given the row it passes there.
template <typename PerColumn>
void ForEachColumn(int x1, double y1, int x2, double y2, PerColumn&& perColumn) {
    for (int x = x1; x <= x2; ++x) {
        double t = x2 == x1 ? 1.0 : double(x - x1) / double(x2 - x1);
        perColumn(x, y1 + (y2 - y1) * t);
    }
}

// A line from (x1, y1) to (x2, y2), x1 <= x2, width pixels thick: each column spans the rows between the line's row
// in the column before and in its own, so a steep line stays connected.
void DrawSegment(Canvas& canvas, int x1, int y1, int x2, int y2, int width, uint32_t color) {
    int previous = y1;
    ForEachColumn(x1, y1, x2, y2, [&](int x, double y) {
        int row = static_cast<int>(std::lround(y));
        canvas.Fill(x, std::min(previous, row), x + width, std::max(previous, row) + width, color);
        previous = row;
    });
}

void HorizontalLine(Canvas& canvas, int row, int width, uint32_t color) {
    canvas.Fill(0, row, canvas.Width, row + width, color);
}

// Each pair of neighbours without a gap between them, as columns and points.
template <typename PerPair>
void ForEachJoinedPair(const GraphPoint* points, size_t count, const GraphLayout& layout, int width, PerPair&& f) {
    for (size_t i = 0; i < count; ++i) {
        const GraphPoint& b = points[i];
        const GraphPoint& a = i > 0 && !b.GapBefore ? points[i - 1] : b;  // a point alone joins itself
        f(GraphColumn(a.AgeMs, layout.SpanMs, width), a, GraphColumn(b.AgeMs, layout.SpanMs, width), b);
    }
}
}  // namespace

// Back to front: grid, the load's range and area, the thresholds, the commit and load lines, the marker. Nothing is
// drawn between two points with a gap between them, so a time without readings stays background.
void DrawHistoryGraph(Canvas& canvas,
                      const GraphPoint* points,
                      size_t count,
                      const GraphLayout& layout,
                      const GraphPalette& palette) {
    const int w = canvas.Width, h = canvas.Height, lw = std::max(layout.LineWidth, 1);
    canvas.Fill(0, 0, w, h, palette.Background);
    if (w == 0 || h == 0)
        return;
    for (int percent = 25; percent < 100; percent += 25)
        HorizontalLine(canvas, GraphRow(percent, h), 1, palette.Grid);
    for (int i = 1; i < layout.GridColumns; ++i) {
        int x = GraphColumn(layout.SpanMs * uint64_t(i) / uint64_t(layout.GridColumns), layout.SpanMs, w);
        canvas.Fill(x, 0, x + 1, h, palette.Grid);
    }
    ForEachJoinedPair(points, count, layout, w, [&](int x1, const GraphPoint& a, int x2, const GraphPoint& b) {
        ForEachColumn(x1, a.Load, x2, b.Load,
                      [&](int x, double load) { canvas.Fill(x, GraphRow(load, h), x + 1, h, palette.LoadArea); });
    });
    ForEachJoinedPair(points, count, layout, w, [&](int x1, const GraphPoint& a, int x2, const GraphPoint& b) {
        if (!layout.Band)
            return;
        ForEachColumn(x1, a.LoadLow, x2, b.LoadLow, [&](int x, double low) {
            double t = x2 == x1 ? 1.0 : double(x - x1) / double(x2 - x1);
            int top = GraphRow(a.LoadHigh + (b.LoadHigh - a.LoadHigh) * t, h);
            canvas.Fill(x, top, x + 1, GraphRow(low, h) + 1, palette.LoadBand);
        });
    });
    HorizontalLine(canvas, GraphRow(layout.YellowPercent, h), lw, palette.Yellow);
    HorizontalLine(canvas, GraphRow(layout.RedPercent, h), lw, palette.Red);
    ForEachJoinedPair(points, count, layout, w, [&](int x1, const GraphPoint& a, int x2, const GraphPoint& b) {
        DrawSegment(canvas, x1, GraphRow(a.Commit, h), x2, GraphRow(b.Commit, h), lw, palette.CommitLine);
    });
    ForEachJoinedPair(points, count, layout, w, [&](int x1, const GraphPoint& a, int x2, const GraphPoint& b) {
        DrawSegment(canvas, x1, GraphRow(a.Load, h), x2, GraphRow(b.Load, h), lw, palette.LoadLine);
    });
    if (layout.HoverX >= 0 && layout.HoverX < w)
        canvas.Fill(layout.HoverX, 0, layout.HoverX + lw, h, palette.Marker);
}

void DrawSparkline(Canvas& canvas, const uint64_t* values, size_t count, uint32_t background, uint32_t color) {
    canvas.Fill(0, 0, canvas.Width, canvas.Height, background);
    if (count == 0 || canvas.Width == 0 || canvas.Height == 0)
        return;
    const auto range = std::minmax_element(values, values + count);
    const uint64_t low = *range.first, high = *range.second;
    auto row = [&](uint64_t v) {
        if (high == low)
            return canvas.Height / 2;
        return static_cast<int>(std::lround(double(high - v) * (canvas.Height - 1) / double(high - low)));
    };
    auto column = [&](size_t i) {
        return count == 1 ? canvas.Width - 1 : static_cast<int>(i * size_t(canvas.Width - 1) / (count - 1));
    };
    for (size_t i = 0; i < count; ++i) {
        size_t from = i == 0 ? 0 : i - 1;
        DrawSegment(canvas, column(from), row(values[from]), column(i), row(values[i]), 1, color);
    }
}
