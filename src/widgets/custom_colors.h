#pragma once

#include <array>
#include <cstdint>

#include "settings/profile.h"

// The 16 custom colours of the colour pickers' colour dialog, kept in the settings file's "自定义颜色" section as
// "ColorA" to "ColorP": six upper-case hexadecimal digits of the value, blue first. Missing or unreadable keys read
// as white.
using CustomColors = std::array<uint32_t, 16>;
CustomColors ReadCustomColors(IProfile& profile);
// Writes the 16 keys and commits them.
bool WriteCustomColors(IProfile& profile, const CustomColors& colors);
