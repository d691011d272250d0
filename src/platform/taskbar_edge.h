#pragma once

#include <optional>

struct ScreenRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};
struct ScreenPoint {
    int X = 0, Y = 0;
    bool operator==(const ScreenPoint& o) const { return X == o.X && Y == o.Y; }
};

enum class TaskbarEdge { Unknown, Top, Bottom, Left, Right };

// The screen edge the taskbar (its window rectangle) sits on, for a screen of the given size.
TaskbarEdge TaskbarEdgeOf(const ScreenRect& taskbar, int screenWidth, int screenHeight);

// Where a window of width x height goes so that it sits near the taskbar inside the work area; nothing (stay where
// it is) when the edge is unknown.
std::optional<ScreenPoint> PositionNearTaskbar(TaskbarEdge edge, const ScreenRect& workArea, int width, int height);
