#pragma once

#include <string>
#include <string_view>

#include "settings/settings.h"

constexpr int kSystemColorCount = 25;

// Name of system colour index 0..24 ("ScrollBar" ... "InfoBackground"), empty for any other index.
std::string SystemColorName(int index);
bool IsSystemColor(TColor color);
int SystemColorIndex(TColor color);

std::string ColorToText(TColor color);
TColor TextToColor(std::string_view text);
