#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "platform/dpi_win.h"
#include "platform/unique_handle_win.h"
#include "platform/window_win.h"
#include "settings/settings.h"
#include "settings/themes.h"
#include "system/hot_key.h"
#include "widgets/color_combo_win.h"
#include "widgets/color_list_win.h"
#include "widgets/spin_edit_win.h"

struct TaskDialogTexts;

// The options dialog's questions to the user and to the computer besides its own controls (warnings, the theme name,
// the font and colour pickers): the program passes the real ones in, tests answer here.
struct OptionsDialogPrompts {
    std::function<bool()> IsPortableDevice;
    // The portable-device warning; returns the button id (100 "Activate &Option", 101 "Do&n't Activate").
    std::function<int(TaskDialogTexts& dialog, HWND parent)> ShowPortableWarning;
    // A warning with Yes and No; returns 6 (Yes) or 7 (No).
    std::function<int(const std::string& text)> AskYesNo;
    // "Save Theme" / "Theme Name"; false when cancelled.
    std::function<bool(HWND owner, std::string& name)> AskThemeName;
    std::function<bool(HWND owner, FontSpec& font)> PickFont;
    std::function<bool(HWND owner, COLORREF& color, COLORREF* customColors)> PickColor;
};

// What the dialog needs of the program: the record it edits and what OK and Apply set off.
struct OptionsDialogHost {
    Settings* Values = nullptr;
    std::wstring SettingsPath;               // also keeps the colour pickers' custom colours
    std::wstring ThemesFolder;               // ends with a backslash
    std::function<bool()> SaveSettingsFile;  // writes the record to the settings file; false when it could not
    std::function<void()> ApplyFontColor;
    // Before the save, whether it succeeds or not: menu rows that went away, the timers' intervals.
    std::function<void()> SettingsStored;
    // After a successful save: the tick, the hot key, the default menu item.
    std::function<void()> SettingsApplied;
};

// "Lumivex 设置": the dialog in which every setting is edited, five pages on a tab control. It edits the record
// directly on OK and Apply; Cancel only closes it.
class OptionsDialog : public Dialog {
  public:
    static constexpr int kPageCount = 5;
    static constexpr int kThemePage = 4;

    OptionsDialog(OptionsDialogHost host, OptionsDialogPrompts prompts);
    ~OptionsDialog() override;

    // Shows the dialog modally (on the theme page when asked); returns when it has closed.
    void Execute(HWND owner, bool themePage);
    void SetActivePage(int index);
    int ActivePage() const { return activePage_; }
    // The control of that id on whichever page holds it.
    HWND Item(int id) const;
    const ColorTextListBox& ColorList() const { return colorSlotList_; }
    ColorComboBox& SlotColorPicker() { return slotColorPicker_; }
    ColorComboBox& HighlightPicker() { return highlightColorPicker_; }

  protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    class Page;
    friend class Page;
    // The font panel shows the chosen typeface at a size that fits it.
    static constexpr int kPanelFontPoints = 8;

    void CreatePages();
    // The tab's caption of a page in the chosen language: TCM_INSERTITEMW adds it, TCM_SETITEMW renews it.
    void SetPageCaption(int index, UINT message);
    void LayOut();
    INT_PTR PageMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code);

    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    void Enable(int id, bool enabled);
    void ShowFontPanel(const FontSpec& font);
    // The panel's text, in the typeface and style of font at the panel's size.
    void SetPanelFont(const FontSpec& font, const std::string& text);

    void FillControls();
    // Every text of the open dialog in the chosen language.
    void SetTexts();
    void PlaceOnScreen();
    // OK (close) and Apply: controls to record, then save and apply.
    void StoreAndApply(bool close);
    void CancelDialog();
    void ChooseDisplayFont();
    void ShowInternalFontInPanel();
    void OnShowPercentageClicked();
    void OnInternalFontClicked();
    void OnShowTopProcessesClicked();
    void OnHighlightProcessClicked();
    void OnFreeEveryClicked();
    void OnYellowPercentChanged();
    void OnRedPercentChanged();
    void UpdateThresholdBounds();
    void UpdateHighLabel();
    void OnMonitorOffClicked();
    void OpenThemePage();

    // The theme page (options_theme_page_win.cpp).
    void FillThemeList();
    void SetFixedThemeEntryTexts();
    void OnThemeSelected();
    void OnColorSlotSelected();
    void OnSlotColorChanged();
    void SaveThemeAs();
    void DeleteSelectedTheme();
    bool WriteThemeFile(const std::wstring& path, const std::string& name);
    std::wstring ThemePath(const std::string& name) const;
    ThemeColorTexts ColorEntries() const;
    // The colour list anew: each slot's name in the chosen language with its entry.
    void FillColorList(const ThemeColorTexts& entries);

    OptionsDialogHost host_;
    OptionsDialogPrompts prompts_;
    Settings& settings_;
    std::array<std::unique_ptr<Page>, kPageCount> pages_;
    int activePage_ = 0;
    bool startOnThemePage_ = false;

    SpinEdit yellowPercentEdit_, redPercentEdit_;
    SpinEdit freeEveryMinutesEdit_, refreshRateEdit_;
    SpinEdit topProcessCountEdit_, highlightAboveEdit_;  // process rows; memory above which a row is highlighted
    SpinEdit commitRedEdit_, growthShareEdit_;
    ColorComboBox highlightColorPicker_;
    ColorTextListBox colorSlotList_;  // the theme page's colours, one per ThemeColorSlot
    ColorComboBox slotColorPicker_;   // the colour of the slot selected in colorSlotList_
    FontSpec chosenFont_;             // the hidden font panel's font
    UniqueFont panelFont_;
    DpiScaler scaler_;
    ThemeColorTexts currentColors_;  // the "Current Colors" entry: the record's colours when the dialog opened
    HotKeyValue openedHotKey_ = 0;
};
