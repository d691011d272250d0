#pragma once

#include <string>
#include <string_view>

#include "settings/settings.h"

constexpr int kSystemColorCount = 25;

// Name of system colour index 0..24 ("ScrollBar" ... "InfoBackground"), empty for any other index.
std::string SystemColorName(int index);
// What the colour lists call system colour index 0..24 in the current language ("Window text"), empty otherwise.
std::string SystemColorTitle(int index);
bool IsSystemColor(ColorValue color);
int SystemColorIndex(ColorValue color);

std::string ColorToText(ColorValue color);
ColorValue TextToColor(std::string_view text);
