#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/system_hooks_win.h"
#include "platform/unique_handle_win.h"
#include "platform/version_info_win.h"
#include "processes/menu_painter_win.h"
#include "processes/popup_menu_win.h"
#include "processes/process_actions_win.h"
#include "processes/process_rec.h"
#include "settings/settings.h"
#include "tray/tray_icon_win.h"

struct NumberSeparators;

// What the tray menu asks of the form that owns it.
class ITrayMenuOwner {
  public:
    virtual ~ITrayMenuOwner() = default;
    // The form has closed (the session ended) while one of the menu's modal loops ran.
    virtual bool FormClosed() const = 0;
    // "文本颜色" has set a new colour in the settings: the display font follows.
    virtual void TextColorChosen() = 0;
};

// The tray menu: the fixed items and the settings submenu, the rows of the heaviest programs and of the memory
// figures rebuilt on each right press, their measuring and drawing, and the commands that belong to the menu itself
// (a process row's dialog, "文本颜色", "图标背景透明"). The other items' commands reach the form as WM_COMMAND.
class TrayMenu {
  public:
    // settings: the record the rows and the settings submenu follow; hooks: the process dialog and its notice, and
    // the colour dialog.
    TrayMenu(ITrayMenuOwner& owner, Settings& settings, const SystemHooks& hooks)
        : owner_(owner), settings_(settings), hooks_(hooks) {}

    // Builds the fixed items; window (the form) measures and draws them and receives their commands.
    void Create(HWND window);
    // Captions in the chosen language.
    void SetTexts();
    // The item that does what a double-click does is shown in bold.
    void ShowDefaultItem();
    // The icons of the Task Manager item and of programs without their own; Close releases them and the rows.
    void LoadIcons();
    void Close();
    // The shortcut shown beside "内存清理": the low 16 bits of RefreshHotkey (0: none).
    void SetFreeMemoryShortcut(WORD shortcut) { freeMemoryShortcut_ = shortcut; }
    WORD FreeMemoryShortcut() const { return freeMemoryShortcut_; }
    // "更多设置" is greyed while the options dialog is open.
    void EnableSettingsItem(bool enabled);
    // Rows of a kind that the settings switched off leave the menu at once.
    void RemoveRowsSwitchedOff();

    // A right press rebuilds the process and memory rows and pops the menu up at the cursor.
    void TrayMouseDown(TrayIcon& sender, MouseButton button);
    // The same at a point of the screen (the icon's, for a menu asked for from the keyboard).
    void PopUp(TrayIcon& sender, POINT at);
    // The rows of the heaviest programs (ShowTopProcess) and of the hint's lines (ShowMemMenu).
    void BuildRows(const std::string& hint);
    void BuildProcessRows();
    void RemoveProcessRows();
    void RemoveMemoryRows();
    // One process row from a record of the sorted list.
    std::unique_ptr<MenuItemEx> MakeProcessRow(const ProcessRecord& r, UINT id, const NumberSeparators& separators);
    // A process row's click: the dialog about the program, then the chosen action.
    void KillItem(const MenuItemEx& row);
    // The same dialog for a process known by its identity (copied: the dialog is modal).
    void ShowProcessDialog(ProcessIdentity identity, std::string exeName);
    // Runs a process dialog's choice on the process; says so when it has ended.
    void ActOnProcess(int choice, const ProcessIdentity& identity, const std::string& exeName);
    // Called before the rows are built; and the text after a process row's size when ShowGrowthInMenu is set.
    std::function<void()> OnOpening;
    std::function<std::string(uint32_t processId, uint64_t creationFileTime)> GrowthMark;
    // The text an item shows: its caption, and after a tab the hot key beside "内存清理".
    std::string ItemText(const MenuItemEx& item) const;
    MenuDrawContext DrawContext() const;
    // Measuring, drawing, the menu's own commands and the submenu's check mark; true when the message was handled.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    HMENU Handle() const { return popup_.Handle(); }
    PopupMenu& Items() { return popup_; }
    MenuPainter& Painter() { return painter_; }

  private:
    void BuildMemoryRows(const std::string& hint);
    void MeasureItem(MEASUREITEMSTRUCT& measure);
    void DrawItem(const DRAWITEMSTRUCT& draw);
    void UpdateSettingsSubmenu();
    void ChooseTextColor();
    void ToggleTransparentBackground();

    ITrayMenuOwner& owner_;
    Settings& settings_;
    const SystemHooks& hooks_;
    HWND window_ = nullptr;
    PopupMenu popup_;
    HMENU settingsSubmenu_ = nullptr;     // owned by popup_
    MenuItemEx* settingsItem_ = nullptr;  // the item that carries settingsSubmenu_
    // The separator below which the fixed items start; process rows go above it.
    MenuItemEx* fixedItemsSeparator_ = nullptr;
    MenuPainter painter_;
    VersionInfoReader fileVer_;
    UniqueIcon defaultProgramIcon_;
    UniqueIcon taskManagerIcon_;
    WORD freeMemoryShortcut_ = 0;
    COLORREF textColor_ = RGB(0, 0, 0);  // "文本颜色" starts with the colour last chosen in this run
};
