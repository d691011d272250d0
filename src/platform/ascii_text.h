#pragma once

#include <string>

// Equal texts when ASCII letters are compared without regard to case (other bytes must match exactly).
bool SameTextIgnoringAsciiCase(const std::string& a, const std::string& b);
