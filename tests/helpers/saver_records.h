#pragma once

#include "settings/settings_file.h"

// The two records the settings saver helper writes in turn: values of the same length, so both files are the same
// size and only their contents tell them apart.
inline Settings SaverRecord(int which) {
    Settings s = Settings{};
    s.RefreshRate = which ? 700 : 500;
    s.RedColor = which ? Rgb(1, 2, 3) : Rgb(4, 5, 6);
    return s;
}
