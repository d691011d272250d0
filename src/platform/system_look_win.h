#pragma once

#include <optional>

// Whether the user turned high contrast on.
bool HighContrastOn();

// "AppsUseLightTheme" or "SystemUsesLightTheme" under the user's Personalize key: light (true) or dark; nothing
// where Windows keeps no such value.
std::optional<bool> PersonalizeUsesLight(const wchar_t* value);
