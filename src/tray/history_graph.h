#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A rectangular picture, Width x Height, row by row from the top; colours as 0x00BBGGRR.
struct Canvas {
    Canvas(int width, int height);  // all 0

    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;

    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y * Width + x)]; }
    // Pixels outside the canvas are clipped.
    void Set(int x, int y, uint32_t color);
    // Fills columns left..right-1 and rows top..bottom-1, clipped.
    void Fill(int left, int top, int right, int bottom, uint32_t color);
};

// One point of a graph: its age before the newest point and the figures in percent (load, its range in the
// point's time, commit charge of the commit limit). GapBefore: no readings between it and the point before.
struct GraphPoint {
    uint64_t AgeMs = 0;
    float Load = 0, LoadLow = 0, LoadHigh = 0, Commit = 0;
    bool GapBefore = false;
};

struct GraphPalette {
    uint32_t Background = 0xF9F9F9;
    uint32_t Grid = 0xE5E5E5;
    uint32_t LoadLine = 0xD47800;
    uint32_t LoadArea = 0xF5DFCC;
    uint32_t LoadBand = 0xEBC8A8;
    uint32_t CommitLine = 0x1050CA;
    uint32_t Yellow = 0x00B9FF;
    uint32_t Red = 0x3838E8;
    uint32_t Marker = 0x5C5C5C;
};

struct GraphLayout {
    uint64_t SpanMs = 0;  // the age of the left edge
    int YellowPercent = 0, RedPercent = 0;
    int LineWidth = 1;
    int GridColumns = 4;  // vertical grid lines divide the span into so many parts
    int HoverX = -1;      // the hover marker's column; none outside the canvas
    bool Band = false;    // the load's range behind its line
};

// The row of a percentage: 100 on the top row, 0 on the bottom one.
int GraphRow(double percent, int height);
// The column of an age: 0 at the right edge, SpanMs at the left one.
int GraphColumn(uint64_t ageMs, uint64_t spanMs, int width);

// Draws the whole graph of points (oldest first) from scratch.
void DrawHistoryGraph(Canvas& canvas,
                      const GraphPoint* points,
                      size_t count,
                      const GraphLayout& layout,
                      const GraphPalette& palette);

// A line of values (oldest first, evenly spread) from the lowest at the bottom to the highest at the top of the
// canvas; a flat line runs through the middle.
void DrawSparkline(Canvas& canvas, const uint64_t* values, size_t count, uint32_t background, uint32_t color);
