#include "settings/themes_win.h"

#include <windows.h>

#include "platform/system_library_win.h"
#include "platform/text_win.h"
#include "settings/themes.h"

namespace {
constexpr int kNameChars = 255;

bool IsXpOrLater() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info))
        return false;
    return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1);
}

// Desktop composition counts as off when dwmapi cannot answer.
bool CompositionEnabled() {
    SystemLibrary dwmapi(L"dwmapi.dll");
    using DwmIsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
    auto isEnabled = dwmapi.Proc<DwmIsCompositionEnabledFn>("DwmIsCompositionEnabled");
    BOOL enabled = FALSE;
    return isEnabled && SUCCEEDED(isEnabled(&enabled)) && enabled;
}
}  // namespace

int DetectDefaultTheme(bool isVistaOrLater) {
    VisualStyle style;
    SystemLibrary uxtheme(L"uxtheme.dll");
    using GetCurrentThemeNameFn = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
    auto getName = uxtheme.Proc<GetCurrentThemeNameFn>("GetCurrentThemeName");
    if (!getName)
        return DefaultThemeIndex(style);  // no visual styles: the system colours
    wchar_t file[kNameChars] = {}, color[kNameChars] = {}, size[kNameChars] = {};
    getName(file, kNameChars, color, kNameChars, size, kNameChars);
    style.ColorScheme = Narrow(color);
    style.VistaOrLater = isVistaOrLater;
    style.XpOrLater = IsXpOrLater();
    style.CompositionEnabled = isVistaOrLater && CompositionEnabled();
    return DefaultThemeIndex(style);
}

std::optional<bool> TaskbarUsesLightTheme() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD value = 0, type = 0, size = sizeof value;
    const LSTATUS status =
        RegQueryValueExW(key, L"SystemUsesLightTheme", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return value != 0;
}
