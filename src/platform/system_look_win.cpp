#include "platform/system_look_win.h"

#include <windows.h>

#include "platform/unique_handle_win.h"

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// Windows 10 writes these values (1809 on for apps, 1903 on for the taskbar); before, and where the value is not
// a DWORD, there is no answer.
std::optional<bool> PersonalizeUsesLight(const wchar_t* value) {
    UniqueRegistryKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                      KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD light = 0, type = 0, size = sizeof light;
    const LSTATUS status = RegQueryValueExW(key.Get(), value, nullptr, &type, reinterpret_cast<BYTE*>(&light), &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof light)
        return std::nullopt;
    return light != 0;
}
