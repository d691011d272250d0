#include "platform/taskbar_edge.h"

TaskbarEdge TaskbarEdgeOf(const ScreenRect& taskbar, int screenWidth, int screenHeight) {
    const int halfWidth = screenWidth / 2, halfHeight = screenHeight / 2;
    if (halfHeight < taskbar.Top && screenWidth <= taskbar.Right)
        return TaskbarEdge::Bottom;
    // A top taskbar ends in the upper half of the screen. (Comparing its bottom with half the screen's width would
    // call a left taskbar "top" on every screen that is more than twice as wide as it is high.)
    if (taskbar.Top < halfHeight && taskbar.Bottom <= halfHeight)
        return TaskbarEdge::Top;
    if (taskbar.Left < halfWidth && taskbar.Top <= 0)
        return TaskbarEdge::Left;
    if (halfWidth <= taskbar.Left)
        return TaskbarEdge::Right;
    return TaskbarEdge::Unknown;
}

std::optional<ScreenPoint> PositionNearTaskbar(TaskbarEdge edge, const ScreenRect& workArea, int width, int height) {
    switch (edge) {
        case TaskbarEdge::Top:
            return ScreenPoint{workArea.Right - width - 20, workArea.Top + 10};
        case TaskbarEdge::Bottom:
        case TaskbarEdge::Right:
            return ScreenPoint{workArea.Right - width - 20, workArea.Bottom - height - 20};
        case TaskbarEdge::Left:
            return ScreenPoint{workArea.Left + 20, workArea.Bottom - height - 20};
        case TaskbarEdge::Unknown:
            break;
    }
    return std::nullopt;
}
