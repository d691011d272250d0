#pragma once

#include <optional>
#include <string>

// Larger theme files are not read: a theme is a few hundred bytes, and a hostile one must not fill the memory.
inline constexpr long long kMaxThemeFileBytes = 1 << 20;

// Which first-run theme matches the visual style Windows shows now (index for DefaultThemeFileName).
int DetectDefaultTheme();
// The file of a theme (folder + name + ".Lumivex Theme") when the name is plain and the full path stays directly
// inside the folder; nothing otherwise.
std::optional<std::wstring> ResolveThemeFile(const std::wstring& folder, const std::string& name);

// Whether Windows shows a light taskbar ("SystemUsesLightTheme" under HKCU
// Software\Microsoft\Windows\CurrentVersion\Themes\Personalize, Windows 10 1903 and later); nothing where the value
// is missing.
std::optional<bool> TaskbarUsesLightTheme();
