#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What a double-click on the tray icon does; the setting "DoubleClickAction" holds the number.
enum class DoubleClickAction {
    TaskManager = 0,
    FreeMemory = 1,
    MemoryBalloon = 2,
    ShowSettings = 3,
    LockComputer = 4,
    RunDialog = 5,
    ShutDownDialog = 6,
    MemoryHistory = 7,
    Nothing = -1,
};
DoubleClickAction DoubleClickActionOf(int32_t setting);

// The Run dialog's description (its title is TextId::RunTitle), and the sizes (in characters, terminator included) of
// the buffers the shell gets them in.
constexpr std::size_t kRunDialogTitleBuffer = 4;
constexpr std::size_t kRunDialogDescriptionBuffer = 116;
std::string RunDialogDescription(std::string_view productName);

// Switching the display off on lock: the power-off command goes out this many times, this far apart, because
// one command alone is often undone by the lock screen waking the display.
constexpr int kMonitorOffRepeats = 17;
constexpr unsigned kMonitorOffSpacingMs = 400;
