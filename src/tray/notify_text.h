#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest beginning of a UTF-8 text that fits in maxUnits UTF-16 code units; a character that needs two units
// is never split. Fixed-size shell fields (tip, balloon text and title) are filled through it.
std::string CutToUtf16Units(std::string_view utf8, std::size_t maxUnits);

// Field sizes of the notification-area record, without the terminator.
constexpr std::size_t kTipUnits = 127;
constexpr std::size_t kBalloonTextUnits = 255;
constexpr std::size_t kBalloonTitleUnits = 63;
