#include "settings/themes_win.h"

#include <windows.h>

#include "platform/system_library_win.h"
#include "platform/system_look_win.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"
#include "settings/themes.h"

namespace {
constexpr int kNameChars = 255;

// Desktop composition counts as off when dwmapi cannot answer.
bool CompositionEnabled() {
    SystemLibrary dwmapi(L"dwmapi.dll");
    using DwmIsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
    auto isEnabled = dwmapi.Proc<DwmIsCompositionEnabledFn>("DwmIsCompositionEnabled");
    BOOL enabled = FALSE;
    return isEnabled && SUCCEEDED(isEnabled(&enabled)) && enabled;
}
}  // namespace

std::optional<std::wstring> ResolveThemeFile(const std::wstring& folder, const std::string& name) {
    if (folder.empty() || !IsPlainThemeName(name))
        return std::nullopt;
    std::wstring path = folder + Widen(name) + Widen(kThemeExtension);
    auto fullPath = [](const std::wstring& p) {
        DWORD size = GetFullPathNameW(p.c_str(), 0, nullptr, nullptr);
        if (size == 0)
            return std::wstring();
        std::wstring full(size, L'\0');
        DWORD length = GetFullPathNameW(p.c_str(), size, full.data(), nullptr);
        full.resize(length < size ? length : 0);
        return full;
    };
    std::wstring fullFolder = fullPath(folder);
    std::wstring fullFile = fullPath(path);
    if (fullFolder.empty() || fullFile.empty())
        return std::nullopt;
    if (fullFolder.back() != L'\\')
        fullFolder += L'\\';
    // Windows drops trailing dots and blanks from a path's last part: the file must still be the one named, in
    // this folder and nowhere below or above it.
    if (fullFile.size() <= fullFolder.size() ||
        CompareStringOrdinal(fullFile.c_str(), static_cast<int>(fullFolder.size()), fullFolder.c_str(),
                             static_cast<int>(fullFolder.size()), TRUE) != CSTR_EQUAL ||
        fullFile.find_first_of(L"\\/", fullFolder.size()) != std::wstring::npos ||
        fullFile.compare(fullFolder.size(), std::wstring::npos, Widen(name) + Widen(kThemeExtension)) != 0)
        return std::nullopt;
    return path;
}

int DetectDefaultTheme() {
    VisualStyle style;
    SystemLibrary uxtheme(L"uxtheme.dll");
    using GetCurrentThemeNameFn = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
    auto getName = uxtheme.Proc<GetCurrentThemeNameFn>("GetCurrentThemeName");
    if (!getName)
        return DefaultThemeIndex(style);  // no visual styles: the system colours
    wchar_t file[kNameChars] = {}, color[kNameChars] = {}, size[kNameChars] = {};
    getName(file, kNameChars, color, kNameChars, size, kNameChars);
    style.ColorScheme = Narrow(color);
    style.VistaOrLater = true;  // the program needs Windows 7
    style.XpOrLater = true;
    style.CompositionEnabled = CompositionEnabled();
    return DefaultThemeIndex(style);
}

std::optional<bool> TaskbarUsesLightTheme() {
    return PersonalizeUsesLight(L"SystemUsesLightTheme");
}
