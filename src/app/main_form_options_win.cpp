// The main form's part in the options dialog, the themes and the global hot key.
#include "app/main_form_win.h"

#include "platform/paths_win.h"
#include "platform/text_win.h"
#include "resource.h"
#include "settings/profile_win.h"
#include "settings/settings_file.h"
#include "settings/themes_win.h"

std::wstring MainForm::ThemesFolder() const {
    return GetDataFolder(portableMode_, programFolder_, false, true, hooks_.UserDataFolder);
}

// One options dialog at a time: asking again while it is open brings it forward (on the theme page for "主题").
void MainForm::ShowSettings(bool themePage) {
    if (optionsDialog_) {
        if (themePage)
            optionsDialog_->SetActivePage(OptionsDialog::kThemePage);
        SetForegroundWindow(optionsDialog_->Hwnd());
        return;
    }
    OptionsDialogHost host;
    host.Values = &settings_;
    host.SettingsPath = settingsPath_;
    host.ThemesFolder = ThemesFolder();
    host.SaveSettingsFile = [this] { return SaveSettingsFile(); };
    host.ApplyFontColor = [this] { ApplyFontColor(); };
    host.SettingsStored = [this] { OnSettingsStored(); };
    host.SettingsApplied = [this] { OnSettingsApplied(); };
    OptionsDialog dialog(std::move(host), hooks_.OptionsPrompts);

    // Whatever ends the dialog (a button, the close box, an error), it goes, the timers follow the settings and
    // "更多设置" comes back.
    struct Closing {
        MainForm& Form;
        ~Closing() {
            Form.optionsDialog_ = nullptr;
            if (Form.closed_)
                return;  // the session ended meanwhile: no timer may start again on a closed form
            Form.InitSettings();
            Form.menu_.EnableSettingsItem(true);
        }
    } closing{*this};
    optionsDialog_ = &dialog;
    menu_.EnableSettingsItem(false);
    dialog.Execute(Hwnd(), themePage);
    if (!closed_)
        SaveSettingsFile();
}

// What OK and Apply change before the settings are saved holds even when the file cannot be written.
void MainForm::OnSettingsStored() {
    menu_.RemoveRowsSwitchedOff();
    InitSettings();
}

void MainForm::OnSettingsApplied() {
    ApplyLanguage();
    RefreshTick();  // the icon shows the new settings at once
    ApplyHotKey();
    InitDefaultMenu();
}

void MainForm::ApplyHotKey() {
    menu_.SetFreeMemoryShortcut(static_cast<WORD>(settings_.FreeMemoryHotKey & 0xFFFF));
    hotKeyManager_.ClearHotKeys();
    // A combination another program holds is not registered; nothing is shown.
    hotKeyManager_.AddHotKey(static_cast<HotKeyValue>(settings_.FreeMemoryHotKey));
}

// The hot key frees memory as the tray menu's "内存清理" does.
void MainForm::HotKeyPressed(HotKeyValue, WORD) {
    FreeMemory();
}
