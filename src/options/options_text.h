#pragma once

#include <array>
#include <string>

#include "settings/settings.h"

// Entries of "双击事件：", indexed by DoubleClickAction.
extern const std::array<const char*, 7> kDoubleClickActionNames;
// Entries of "优化数值显示： ": entry 1 is OptimizeForGigabytes.
extern const std::array<const char*, 2> kGbValueNames;
// Tab captions of the five pages, in page order.
extern const std::array<const char*, 5> kOptionsPageNames;

// Label17: "触发事件（当内存超出    90%  ）时，执行：" and six blanks.
std::string HighLabelText(int redPercent);
// The font panel: "Tahoma, 6pt".
std::string FontPanelText(const FontSpec& font);
inline constexpr char kInternalFontText[] = "(Internal Font)";
