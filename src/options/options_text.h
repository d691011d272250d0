#pragma once

#include <array>
#include <string>

#include "platform/texts.h"
#include "settings/settings.h"

// Entries of "双击事件：", indexed by DoubleClickAction.
extern const std::array<TextId, 8> kDoubleClickActionNames;
// Entries of "优化数值显示： ": entry 1 is OptimizeForGigabytes.
extern const std::array<TextId, 2> kGbValueNames;
// Tab captions of the five pages, in page order.
extern const std::array<TextId, 5> kOptionsPageNames;

// Label17: "触发事件（当内存超出    90%  ）时，执行：" and six blanks, in the chosen language.
std::string HighLabelText(int redPercent);
// The font panel: "Tahoma, 6pt".
std::string FontPanelText(const FontSpec& font);
