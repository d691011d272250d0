#include "tray/history_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {
constexpr int kWidth = 12, kHeight = 8;
constexpr uint64_t kSpanMs = 11000;  // a column a second

GraphPalette Palette() {
    GraphPalette p;
    p.Background = 0x000001;
    p.Grid = 0x000002;
    p.LoadLine = 0x000003;
    p.LoadArea = 0x000004;
    p.LoadBand = 0x000005;
    p.CommitLine = 0x000006;
    p.Yellow = 0x000007;
    p.Red = 0x000008;
    p.Marker = 0x000009;
    return p;
}

GraphLayout Layout() {
    GraphLayout l;
    l.SpanMs = kSpanMs;
    l.YellowPercent = 65;
    l.RedPercent = 90;
    return l;
}

Canvas Draw(const std::vector<GraphPoint>& points, const GraphLayout& layout = Layout()) {
    Canvas c(kWidth, kHeight);
    DrawHistoryGraph(c, points.data(), points.size(), layout, Palette());
    return c;
}

// A point a second from `fromAge` seconds down to `toAge`, the load and commit given by its age.
void AddSeconds(std::vector<GraphPoint>& points, int fromAge, int toAge, float (*load)(int), bool gapFirst = false) {
    for (int age = fromAge; age >= toAge; --age) {
        GraphPoint p;
        p.AgeMs = uint64_t(age) * 1000;
        p.Load = p.LoadLow = p.LoadHigh = load(age);
        p.Commit = load(age) / 2;
        p.GapBefore = gapFirst && age == fromAge;
        points.push_back(p);
    }
}

int CountOf(const Canvas& c, uint32_t color, int x) {
    int n = 0;
    for (int y = 0; y < c.Height; ++y)
        n += c.At(x, y) == color;
    return n;
}

int TopRowOf(const Canvas& c, uint32_t color, int x) {
    for (int y = 0; y < c.Height; ++y)
        if (c.At(x, y) == color)
            return y;
    return -1;
}

TEST(HistoryGraph, ThresholdsLandOnTheirRows) {
    struct Case {
        int Yellow, Red, Height, YellowRow, RedRow;
    };
    const Case cases[] = {{65, 90, 8, 2, 1}, {50, 100, 8, 4, 0}, {65, 90, 101, 35, 10}, {0, 75, 5, 4, 1}};
    for (const Case& c : cases) {
        GraphLayout l = Layout();
        l.YellowPercent = c.Yellow;
        l.RedPercent = c.Red;
        Canvas canvas(kWidth, c.Height);
        DrawHistoryGraph(canvas, nullptr, 0, l, Palette());
        for (int y = 0; y < c.Height; ++y) {
            uint32_t expected = y == c.YellowRow ? Palette().Yellow : y == c.RedRow ? Palette().Red : 0;
            for (int x = 0; x < kWidth; ++x)
                if (expected)
                    EXPECT_EQ(canvas.At(x, y), expected) << c.Yellow << " " << x << "," << y;
                else
                    EXPECT_TRUE(canvas.At(x, y) == Palette().Background || canvas.At(x, y) == Palette().Grid);
        }
    }
}

// A load climbing from 0 to 100 % over the span: its line's row falls (rises on screen) column by column, from
// the bottom row to the top one, the area fills everything below it, and the line has no hole.
TEST(HistoryGraph, ARisingSeriesRisesAndItsAreaFillsBelow) {
    std::vector<GraphPoint> points;
    AddSeconds(points, 11, 0, [](int age) { return float(100 - age * 100 / 11); });
    GraphLayout l = Layout();
    l.YellowPercent = l.RedPercent = 200;  // off the canvas: clamped to the top row, under the line there
    Canvas c = Draw(points, l);
    int previous = kHeight;
    for (int x = 0; x < kWidth; ++x) {
        int top = TopRowOf(c, Palette().LoadLine, x);
        ASSERT_GE(top, 0) << x;
        EXPECT_LE(top, previous) << x;
        previous = top;
        for (int y = top + 1; y < kHeight; ++y)
            EXPECT_TRUE(c.At(x, y) == Palette().LoadArea || c.At(x, y) == Palette().LoadLine ||
                        c.At(x, y) == Palette().CommitLine)
                << x << "," << y;
    }
    EXPECT_EQ(c.At(0, kHeight - 1), Palette().LoadLine);
    EXPECT_EQ(c.At(kWidth - 1, 0), Palette().LoadLine);
}

// Readings at 11-8 s and 3-0 s ago, none between: the columns of the gap hold no line, area or commit.
TEST(HistoryGraph, AGapStaysEmpty) {
    std::vector<GraphPoint> points;
    auto load = [](int) { return 40.0f; };
    AddSeconds(points, 11, 8, load);
    AddSeconds(points, 3, 0, load, true);
    Canvas c = Draw(points);
    for (int x = 0; x < kWidth; ++x) {
        bool inGap = x > 3 && x < 8;
        for (uint32_t drawn : {Palette().LoadLine, Palette().LoadArea, Palette().CommitLine})
            EXPECT_EQ(CountOf(c, drawn, x) == 0, inGap) << x << " " << drawn;
    }
}

// The commit line sits on its own row, over the load's area; the 24-hour band spans each minute's range.
TEST(HistoryGraph, CommitLineAndLoadBand) {
    std::vector<GraphPoint> points;
    AddSeconds(points, 11, 0, [](int) { return 30.0f; });
    for (GraphPoint& p : points) {
        p.Commit = 80;
        p.LoadLow = 0;
        p.LoadHigh = 100;
    }
    GraphLayout l = Layout();
    l.Band = true;
    l.YellowPercent = l.RedPercent = 60;  // row 3
    Canvas c = Draw(points, l);
    for (int x = 0; x < kWidth; ++x) {
        EXPECT_EQ(c.At(x, GraphRow(80, kHeight)), Palette().CommitLine);
        EXPECT_EQ(c.At(x, GraphRow(30, kHeight)), Palette().LoadLine);
        EXPECT_EQ(c.At(x, 0), Palette().LoadBand);
        EXPECT_EQ(c.At(x, kHeight - 1), Palette().LoadBand);
    }
}

TEST(HistoryGraph, HoverMarkerIsOneColumnOfItsWidth) {
    std::vector<GraphPoint> points;
    AddSeconds(points, 11, 0, [](int) { return 50.0f; });
    struct Case {
        int HoverX, LineWidth;
        std::vector<int> Columns;
    };
    const Case cases[] = {{5, 1, {5}}, {5, 2, {5, 6}}, {-1, 1, {}}, {kWidth, 1, {}}};
    for (const Case& k : cases) {
        GraphLayout l = Layout();
        l.HoverX = k.HoverX;
        l.LineWidth = k.LineWidth;
        Canvas c = Draw(points, l);
        for (int x = 0; x < kWidth; ++x) {
            bool marked = std::find(k.Columns.begin(), k.Columns.end(), x) != k.Columns.end();
            EXPECT_EQ(CountOf(c, Palette().Marker, x), marked ? kHeight : 0) << k.HoverX << " " << x;
        }
    }
}

TEST(HistoryGraph, SparklineSpansItsCanvasFromLowestToHighest) {
    const uint32_t bg = 1, line = 2;
    Canvas c(6, 4);
    const uint64_t rising[] = {100, 150, 400};
    DrawSparkline(c, rising, 3, bg, line);
    EXPECT_EQ(c.At(0, 3), line);
    EXPECT_EQ(c.At(5, 0), line);
    EXPECT_EQ(c.At(0, 0), bg);
    for (int x = 0; x < 6; ++x)
        EXPECT_GE(CountOf(c, line, x), 1) << x;

    const uint64_t flat[] = {7, 7, 7, 7};
    DrawSparkline(c, flat, 4, bg, line);
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(TopRowOf(c, line, x), 2) << x;
    DrawSparkline(c, flat, 0, bg, line);
    EXPECT_EQ(CountOf(c, line, 0), 0);
}
}  // namespace
