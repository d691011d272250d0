// The display's side of the main form: the notification area's icon size, high contrast, and the light and dark
// taskbar themes.
#include "app/main_form_win.h"

#include "platform/dpi_win.h"
#include "platform/text_win.h"
#include "settings/profile_win.h"
#include "settings/themes.h"
#include "settings/themes_win.h"

// The icon is drawn at the small-icon size for the DPI of the monitor that holds the notification area, so the
// shell shows it pixel for pixel instead of stretching a 16-pixel picture.
bool MainForm::RefreshTrayLook() {
    const int size = TrayIconSizeForDpi(hooks_.PrimaryDpi());
    const bool highContrast = hooks_.HighContrast();
    const bool changed = size != iconSize_ || highContrast != highContrast_;
    iconSize_ = size;
    highContrast_ = highContrast;
    return changed;
}

void MainForm::DisplayChanged() {
    if (RefreshTrayLook() && trayPictureShown_)
        RefreshTick();
}

// WM_SETTINGCHANGE: the scaling, high contrast or (with "ImmersiveColorSet") Windows' light or dark mode may
// have changed; the icon shows the outcome at once.
void MainForm::SettingChange(LPARAM lParam) {
    menuPainter_.Reset();  // the menu font or visual style may have changed too
    bool redraw = RefreshTrayLook();
    const auto* area = reinterpret_cast<const wchar_t*>(lParam);
    if (area && lstrcmpW(area, L"ImmersiveColorSet") == 0 && settings_.FollowTaskbarTheme)
        redraw = FollowTaskbarMode() || redraw;
    if (redraw && trayPictureShown_)  // notices during start-up wait for its first tick
        RefreshTick();
}

// Loads the colours of the theme for the taskbar's mode into the settings; they are saved with the next save.
bool MainForm::FollowTaskbarMode() {
    const std::optional<bool> light = TaskbarUsesLightTheme();
    if (!light)
        return false;
    return LoadFirstRunTheme(TaskbarThemeIndex(*light));
}

bool MainForm::LoadFirstRunTheme(int index) {
    std::wstring path = ThemesFolder() + Widen(DefaultThemeFileName(index));
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    IniFileProfile file(path);
    ApplyThemeFileToSettings(file, index, settings_);
    ApplyFontColor();
    return true;
}

void MainForm::ApplyDefaultTheme() {
    // Where Windows tells the taskbar's mode, the light or dark theme fits better than the visual style's, and
    // the icon keeps following the mode.
    if (const std::optional<bool> light = TaskbarUsesLightTheme()) {
        settings_.FollowTaskbarTheme = true;
        LoadFirstRunTheme(TaskbarThemeIndex(*light));
        return;
    }
    LoadFirstRunTheme(DetectDefaultTheme());
}
