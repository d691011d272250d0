#pragma once

#include <string>
#include <string_view>

// Equal texts when ASCII letters are compared without regard to case (other bytes must match exactly).
bool SameTextIgnoringAsciiCase(std::string_view a, std::string_view b);
// The text with ASCII letters in lower case (other bytes as they are): a key under which case does not count.
std::string AsciiLowerCase(std::string_view text);
