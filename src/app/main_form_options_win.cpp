// The main form's part in the options dialog, the themes and the global hot key.
#include "app/main_form_win.h"

#include <commdlg.h>

#include "platform/paths_win.h"
#include "platform/text_win.h"
#include "resource.h"
#include "settings/profile_win.h"
#include "settings/settings_file.h"
#include "settings/themes_win.h"
#include "system/task_dialog_win.h"
#include "widgets/font_dialog_win.h"
#include "widgets/input_query_win.h"

void MainForm::InitOptionsServices() {
    hotKeyManager_.OnHotKeyPressed = [this](HotKeyValue hotKey, WORD index) { HotKeyPressed(hotKey, index); };
    OptionsServices& s = optionsServices_;
    s.IsPortableDevice = [] { return ::IsPortableDevice(); };
    s.ShowPortableWarning = [](TaskDialogTexts& dialog, HWND parent) {
        TaskDialogParams p;
        p.Flags = kTdfAllowDialogCancellation;
        p.MainIcon = TaskIcon::Warning;
        p.FooterIcon = TaskFooterIcon::Information;
        p.Parent = parent;
        p.ClassicLook = true;
        return ShowTaskDialog(dialog, p);
    };
    // The question belongs to the dialog that asks it: in front of it and modal to it.
    s.AskYesNo = [this](const std::string& text) {
        return MessageBoxWithSound(text, MessageKind::Warning, MessageButtonYes | MessageButtonNo,
                                   optionsDialog_ ? optionsDialog_->Hwnd() : Hwnd());
    };
    s.AskThemeName = [](HWND owner, std::string& name) {
        name.clear();
        return InputQuery(owner, Text(TextId::ThemesSaveCaption), Text(TextId::ThemesSavePrompt), name);
    };
    s.PickFont = [](HWND owner, FontSpec& font) { return ExecuteFontDialog(owner, font); };
}

std::wstring MainForm::ThemesFolder() const {
    return GetDataFolder(portableMode_, programFolder_, false, true, options_.UserDataFolder);
}

// One options dialog at a time: asking again while it is open brings it forward (on the theme page for "主题").
void MainForm::ShowSettings(bool themePage) {
    if (optionsDialog_) {
        if (themePage)
            optionsDialog_->SetActivePage(OptionsDialog::kThemePage);
        SetForegroundWindow(optionsDialog_->Hwnd());
        return;
    }
    OptionsHost host;
    host.Values = &settings_;
    host.SettingsPath = settingsPath_;
    host.ThemesFolder = ThemesFolder();
    host.SaveSettingsFile = [this] { return SaveOptions(); };
    host.ApplyFontColor = [this] { ApplyFontColor(); };
    host.SettingsStored = [this] { OptionsStored(); };
    host.SettingsApplied = [this] { OptionsApplied(); };
    OptionsDialog dialog(std::move(host), optionsServices_);

    // Whatever ends the dialog (a button, the close box, an error), it goes, the timers follow the settings and
    // "更多设置" comes back.
    struct Closing {
        MainForm& Form;
        ~Closing() {
            Form.optionsDialog_ = nullptr;
            if (Form.closed_)
                return;  // the session ended meanwhile: no timer may start again on a closed form
            Form.InitSettings();
            EnableMenuItem(Form.settingsSubmenu_, IDM_SETTINGS, MF_BYCOMMAND | MF_ENABLED);
        }
    } closing{*this};
    optionsDialog_ = &dialog;
    EnableMenuItem(settingsSubmenu_, IDM_SETTINGS, MF_BYCOMMAND | MF_GRAYED);
    dialog.Execute(Hwnd(), themePage);
    if (!closed_)
        SaveOptions();
}

void MainForm::OpenSettings() {
    ShowSettings(false);
}

void MainForm::ShowThemesPage() {
    ShowSettings(true);
}

void MainForm::UpdateSettingsSubmenu() {
    CheckMenuItem(settingsSubmenu_, IDM_TRANSPARENT_BACKGROUND,
                  MF_BYCOMMAND | (settings_.TransBk ? MF_CHECKED : MF_UNCHECKED));
}

void MainForm::ChooseTextColor() {
    COLORREF color = textColor_;
    bool chosen = false;
    if (PickTextColor) {
        chosen = PickTextColor(color);
    } else {
        CHOOSECOLORW cc{};
        cc.lStructSize = sizeof cc;
        cc.hwndOwner = Hwnd();
        cc.rgbResult = color;
        cc.lpCustColors = textColorCustom_;
        cc.Flags = CC_RGBINIT | CC_ANYCOLOR;
        chosen = ChooseColorW(&cc) != FALSE;
        color = cc.rgbResult;
    }
    if (!chosen || closed_)
        return;
    textColor_ = color;
    settings_.FontColor = static_cast<ColorValue>(color & 0xFFFFFFu);
    ApplyFontColor();
}

void MainForm::ToggleTransparentBackground() {
    settings_.TransBk = !settings_.TransBk;
    UpdateSettingsSubmenu();
}

// What OK and Apply change before the settings are saved holds even when the file cannot be written.
void MainForm::OptionsStored() {
    // Rows of a kind that is switched off leave the tray menu at once.
    if (!settings_.ShowTopProcess)
        RemoveProcessRows();
    if (!settings_.ShowMemMenu)
        RemoveMemoryRows();
    InitSettings();
}

void MainForm::OptionsApplied() {
    ApplyLanguage();
    RefreshTick();  // the icon shows the new settings at once
    ApplyHotKey();
    InitDefaultMenu();
}

void MainForm::ApplyHotKey() {
    freeMemoryShortcut_ = static_cast<WORD>(settings_.FreeMemoryHotKey & 0xFFFF);
    hotKeyManager_.ClearHotKeys();
    // A combination another program holds is not registered; nothing is shown.
    hotKeyManager_.AddHotKey(static_cast<HotKeyValue>(settings_.FreeMemoryHotKey));
}

// The hot key frees memory as the tray menu's "内存清理" does.
void MainForm::HotKeyPressed(HotKeyValue, WORD) {
    FreeMemory();
}
