#pragma once

#include <string_view>

// Equal texts when ASCII letters are compared without regard to case (other bytes must match exactly).
bool SameTextIgnoringAsciiCase(std::string_view a, std::string_view b);
