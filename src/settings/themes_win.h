#pragma once

#include <optional>

// Which first-run theme matches the visual style Windows shows now (index for DefaultThemeFileName).
int DetectDefaultTheme(bool isVistaOrLater);

// Whether Windows shows a light taskbar ("SystemUsesLightTheme" under HKCU
// Software\Microsoft\Windows\CurrentVersion\Themes\Personalize, Windows 10 1903 and later); nothing where the value
// is missing.
std::optional<bool> TaskbarUsesLightTheme();
