// The display's side of the main form: changes of the display, the DPI and high contrast, and the light and dark
// taskbar themes.
#include "app/main_form_win.h"

#include "platform/text_win.h"
#include "settings/profile_win.h"
#include "settings/themes.h"
#include "settings/themes_win.h"

void MainForm::DisplayChanged() {
    if (view_.RefreshLook() && view_.PictureShown())
        RefreshTick();
}

// WM_SETTINGCHANGE: the scaling, high contrast or (with "ImmersiveColorSet") Windows' light or dark mode may
// have changed; the icon shows the outcome at once.
void MainForm::SettingChange(LPARAM lParam) {
    bool redraw = view_.RefreshLook();
    const auto* area = reinterpret_cast<const wchar_t*>(lParam);
    if (area && lstrcmpW(area, L"ImmersiveColorSet") == 0 && settings_.FollowTaskbarTheme)
        redraw = FollowTaskbarMode() || redraw;
    if (redraw && view_.PictureShown())  // notices during start-up wait for its first tick
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
    IniFileProfile file(path, kMaxThemeFileBytes);
    if (file.Contents().Result == IniFileContents::State::Failed)
        return false;
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
