#include "app/tray_menu_win.h"

#include <shellapi.h>

#include "memory/memory_format.h"
#include "memory/memory_status_win.h"
#include "platform/dpi_win.h"
#include "platform/native_path_win.h"
#include "platform/paths_win.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "processes/process_actions_win.h"
#include "processes/process_dialog.h"
#include "processes/process_list_win.h"
#include "processes/tray_menu_model.h"
#include "resource.h"
#include "system/double_click_action.h"
#include "system/hot_key_manager_win.h"
#include "tray/tray_picture_win.h"
#include "tray/tray_renderer.h"

namespace {
// The small icon of a file, when the file gives both sizes (the large one that comes with it is not kept).
UniqueIcon SmallIconOf(const std::wstring& file) {
    HICON large = nullptr, small = nullptr;
    UINT extracted = ExtractIconExW(file.c_str(), 0, &large, &small, 1);
    UniqueIcon largeIcon(large), smallIcon(small);
    if (extracted != 2)
        return {};
    return smallIcon;
}

std::wstring WindowsFolder() {
    wchar_t buffer[MAX_PATH] = {};
    UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
    return WithTrailingBackslash(std::wstring(buffer, n < MAX_PATH ? n : 0));
}

// Setting an item's type again makes Windows measure it anew the next time the menu opens.
void RemeasureMenu(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        info.fMask = MIIM_FTYPE;
        SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        if (info.hSubMenu)
            RemeasureMenu(info.hSubMenu);
    }
}

std::unique_ptr<MenuItemEx> MakeSeparator(int tag) {
    auto separator = std::make_unique<MenuItemEx>();
    separator->Caption = "-";
    separator->Tag = tag;
    return separator;
}
}  // namespace

void TrayMenu::Create(HWND window) {
    window_ = window;
    PopupMenu& m = popup_;
    settingsSubmenu_ = CreatePopupMenu();
    m.Add(settingsSubmenu_, Text(TextId::MenuThemes), IDM_THEMES);
    m.Add(settingsSubmenu_, Text(TextId::MenuTextColor), IDM_TEXT_COLOR);
    m.Add(settingsSubmenu_, Text(TextId::MenuTransparentBackground), IDM_TRANSPARENT_BACKGROUND);
    m.Add(settingsSubmenu_, "-", 0);
    m.Add(settingsSubmenu_, Text(TextId::MenuMoreSettings), IDM_SETTINGS);

    m.Add(nullptr, Text(TextId::MenuTaskManager), IDM_LAUNCH_TASK_MANAGER, kTagTaskManager);
    fixedItemsSeparator_ = &m.Add(nullptr, "-", 0);
    m.Add(nullptr, Text(TextId::MenuMemoryHistory), IDM_MEMORY_HISTORY);
    m.Add(nullptr, Text(TextId::MenuFreeMemory), IDM_FREE_MEMORY);
    m.Add(nullptr, "-", 0);
    settingsItem_ = &m.Add(nullptr, Text(TextId::MenuSettings), 0, 0, settingsSubmenu_);
    m.Add(nullptr, "-", 0);
    m.Add(nullptr, Text(TextId::MenuAbout), IDM_ABOUT);
    m.Add(nullptr, Text(TextId::MenuExit), IDM_CLOSE);
    SetMenuDefaultItem(m.Handle(), IDM_LAUNCH_TASK_MANAGER, FALSE);
    painter_.SetWindow(window_);
}

void TrayMenu::SetTexts() {
    static constexpr struct {
        UINT Id;
        TextId Text;
    } kMenuTexts[] = {
        {IDM_THEMES, TextId::MenuThemes},
        {IDM_TEXT_COLOR, TextId::MenuTextColor},
        {IDM_TRANSPARENT_BACKGROUND, TextId::MenuTransparentBackground},
        {IDM_SETTINGS, TextId::MenuMoreSettings},
        {IDM_LAUNCH_TASK_MANAGER, TextId::MenuTaskManager},
        {IDM_FREE_MEMORY, TextId::MenuFreeMemory},
        {IDM_MEMORY_HISTORY, TextId::MenuMemoryHistory},
        {IDM_ABOUT, TextId::MenuAbout},
        {IDM_CLOSE, TextId::MenuExit},
    };
    for (const auto& entry : kMenuTexts) {
        if (MenuItemEx* item = popup_.FindById(entry.Id))
            PopupMenu::SetCaption(*item, Text(entry.Text));
    }
    if (settingsItem_)
        PopupMenu::SetCaption(*settingsItem_, Text(TextId::MenuSettings));
}

void TrayMenu::ShowDefaultItem() {
    HMENU menu = popup_.Handle();
    if (!menu)
        return;
    SetMenuDefaultItem(menu, static_cast<UINT>(-1), FALSE);
    SetMenuDefaultItem(settingsSubmenu_, static_cast<UINT>(-1), FALSE);
    switch (DoubleClickActionOf(settings_.DoubleClickAction)) {
        case DoubleClickAction::TaskManager:
            SetMenuDefaultItem(menu, IDM_LAUNCH_TASK_MANAGER, FALSE);
            break;
        case DoubleClickAction::FreeMemory:
            SetMenuDefaultItem(menu, IDM_FREE_MEMORY, FALSE);
            break;
        case DoubleClickAction::ShowSettings:
            SetMenuDefaultItem(settingsSubmenu_, IDM_SETTINGS, FALSE);
            break;
        case DoubleClickAction::MemoryHistory:
            SetMenuDefaultItem(menu, IDM_MEMORY_HISTORY, FALSE);
            break;
        default:
            break;
    }
}

void TrayMenu::LoadIcons() {
    std::wstring windows = WindowsFolder();
    defaultProgramIcon_ = SmallIconOf(windows + L"System32\\User32.dll");
    taskManagerIcon_ = SmallIconOf(windows + L"System32\\taskmgr.exe");
}

void TrayMenu::Close() {
    RemoveProcessRows();
    defaultProgramIcon_.Reset();
    taskManagerIcon_.Reset();
}

void TrayMenu::EnableSettingsItem(bool enabled) {
    EnableMenuItem(settingsSubmenu_, IDM_SETTINGS, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void TrayMenu::RemoveRowsSwitchedOff() {
    if (!settings_.ShowTopProcess)
        RemoveProcessRows();
    if (!settings_.ShowMemMenu)
        RemoveMemoryRows();
}

void TrayMenu::TrayMouseDown(TrayIcon& sender, MouseButton button) {
    if (button != MouseButton::Right)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    PopUp(sender, cursor);
}

void TrayMenu::PopUp(TrayIcon& sender, POINT at) {
    // A tray menu closes when the user clicks elsewhere only while its owner window has the foreground; the owner is
    // the form, which measures and draws the items.
    SetForegroundWindow(window_);
    // The menu is measured for the monitor where it opens, its DPI and the width of its work area (no item wider
    // than the menu can be there); Windows keeps the sizes of items it has measured, so after a change every item is
    // marked for measuring again.
    const RECT work = hooks_.WorkArea(at);
    const bool dpiChanged = painter_.SetDpi(PointDpi(at));
    if (painter_.SetWorkAreaWidth(work.right - work.left) || dpiChanged)
        RemeasureMenu(popup_.Handle());
    BuildRows(sender.Hint());
    // The items are measured, drawn and clicked through the form's window; a click arrives as WM_COMMAND after
    // the menu has closed. The menu opens on the side the user's menus drop to (left or right of the cursor), as the
    // shell's own do.
    const UINT side = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    TrackPopupMenuEx(popup_.Handle(), side | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, window_, nullptr);
    if (owner_.FormClosed())
        return;  // the session ended while the menu was open
    PostMessageW(window_, WM_NULL, 0, 0);
    // The notification-area overflow panel from which the icon may have been clicked closes with the menu.
    if (HWND overflow = FindWindowExW(nullptr, nullptr, L"NotifyIconOverflowWindow", nullptr))
        PostMessageW(overflow, WM_CLOSE, 0, 0);
}

void TrayMenu::BuildRows(const std::string& hint) {
    if (OnOpening)
        OnOpening();
    if (settings_.ShowTopProcess)
        BuildProcessRows();
    if (settings_.ShowMemMenu)
        BuildMemoryRows(hint);
}

std::unique_ptr<MenuItemEx> TrayMenu::MakeProcessRow(const ProcessRecord& r,
                                                     UINT id,
                                                     const NumberSeparators& separators) {
    auto row = std::make_unique<MenuItemEx>();
    row->Tag = kTagProcessRow;
    row->Id = id;
    row->ProcessID = r.ProcessID;
    row->CreationFileTime = r.CreationFileTime;
    row->ExeName = r.ExeName;
    row->FullPath = r.FullPath;
    // System32 paths from the real folder, not the one a 32-bit program is redirected to.
    if (!r.FullPath.empty())
        row->IconHandle = SmallIconOf(Widen(NativeFilePath(r.FullPath)));
    row->NoIcon = !row->IconHandle;
    std::string description;
    if (settings_.ShowNameInsteadOfModule && !r.FullPath.empty()) {
        fileVer_.SetFilename(r.FullPath);
        description = fileVer_.GetByIndex(1);
    }
    row->Caption = ProcessCaption(r.ExeName, description, settings_.ShowNameInsteadOfModule);
    row->MemText = r.MemoryUsage == 0 ? std::string(Text(TextId::ProcessMemoryUnknown))
                                      : FormatByteSize(r.MemoryUsage, separators);
    row->Highlight = IsHighlighted(r.MemoryUsage, settings_.HighlightProcessAbove);
    if (settings_.ShowGrowthInMenu && GrowthMark)
        row->MemText += GrowthMark(r.ProcessID, r.CreationFileTime);
    return row;
}

void TrayMenu::BuildProcessRows() {
    ProcessList list;
    list.RefreshHeaviest(settings_.TopProcessCount);
    RemoveProcessRows();
    const NumberSeparators separators = UserNumberSeparators();
    const int rows = ProcessRowCount(settings_.TopProcessCount, list.Count());
    const UINT idCount = IDM_PROCESS_ROW_LAST - IDM_PROCESS_ROW_FIRST + 1;
    for (int i = 0; i < rows; ++i) {
        UINT id = IDM_PROCESS_ROW_FIRST + static_cast<UINT>(i) % idCount;
        popup_.Insert(nullptr, PopupMenu::IndexOf(*fixedItemsSeparator_), MakeProcessRow(list.Item(i), id, separators));
    }
    if (rows > 0)
        popup_.Insert(nullptr, 1, MakeSeparator(kTagProcessRow));
}

void TrayMenu::BuildMemoryRows(const std::string& hint) {
    RemoveMemoryRows();
    std::vector<std::string> lines = SplitHintLines(hint);
    // The English hint starts with the icon's figure for screen readers; the rows show the lines after it.
    if (CurrentLanguage() == Language::English && !lines.empty())
        lines.erase(lines.begin());
    for (size_t i = 0; i < lines.size(); ++i) {
        MemoryRowText text = SplitHintLine(lines[i]);
        auto row = std::make_unique<MenuItemEx>();
        row->Tag = kTagMemoryRow;
        row->Caption = text.Caption;
        row->MemText = text.MemText;
        popup_.Insert(nullptr, static_cast<int>(i) + 2, std::move(row), PopupMenu::Disabled);
    }
    if (!lines.empty())
        popup_.Insert(nullptr, static_cast<int>(lines.size()) + 2, MakeSeparator(kTagMemoryRow));
}

void TrayMenu::RemoveProcessRows() {
    popup_.RemoveByTag(kTagProcessRow);
}

void TrayMenu::RemoveMemoryRows() {
    popup_.RemoveByTag(kTagMemoryRow);
}

MenuDrawContext TrayMenu::DrawContext() const {
    MenuDrawContext context;
    context.DefaultProgramIcon = defaultProgramIcon_.Get();
    context.TaskManagerIcon = taskManagerIcon_.Get();
    context.Highlight = ResolveColor(ProcessHighlightColor(settings_.ProcessHighlightColor, false),
                                     AutomaticColors::kProcessHighlight, GdiSystemColors());
    return context;
}

std::string TrayMenu::ItemText(const MenuItemEx& item) const {
    std::string text = PopupMenu::TextOf(item);
    if (item.Id == IDM_FREE_MEMORY && freeMemoryShortcut_ != 0 && text.find('\t') == std::string::npos)
        text += "\t" + HotKeyToText(freeMemoryShortcut_, true);
    return text;
}

void TrayMenu::MeasureItem(MEASUREITEMSTRUCT& measure) {
    auto* item = reinterpret_cast<MenuItemEx*>(measure.itemData);
    if (!item)
        return;
    const bool isDefault = (PopupMenu::StateOf(*item) & MFS_DEFAULT) != 0;
    painter_.MeasureItem(*item, ItemText(*item), isDefault, measure.itemWidth, measure.itemHeight);
}

void TrayMenu::DrawItem(const DRAWITEMSTRUCT& draw) {
    auto* item = reinterpret_cast<MenuItemEx*>(draw.itemData);
    if (!item)
        return;
    MenuItemState state;
    state.Selected = (draw.itemState & ODS_SELECTED) != 0;
    state.Enabled = (draw.itemState & (ODS_DISABLED | ODS_GRAYED)) == 0;
    state.Checked = (draw.itemState & ODS_CHECKED) != 0;
    state.Default = (draw.itemState & ODS_DEFAULT) != 0 || (PopupMenu::StateOf(*item) & MFS_DEFAULT) != 0;
    state.ShowAccessKeys = (draw.itemState & ODS_NOACCEL) == 0;
    painter_.DrawItem(draw.hDC, draw.rcItem, *item, ItemText(*item), state, DrawContext());
}

void TrayMenu::KillItem(const MenuItemEx& row) {
    // The dialog is modal and a right-click on the tray icon meanwhile rebuilds the rows: keep copies.
    ShowProcessDialog(ProcessIdentity{row.ProcessID, row.CreationFileTime, row.FullPath}, row.ExeName);
}

void TrayMenu::ShowProcessDialog(ProcessIdentity identity, std::string exeName) {
    std::string description, company, fileVersion;
    if (!identity.FullPath.empty()) {
        fileVer_.SetFilename(identity.FullPath);
        description = fileVer_.GetByIndex(1);
        company = fileVer_.GetByIndex(0);
        fileVersion = fileVer_.FileVersion().Text();
    }
    ProcessDialogTexts texts = BuildProcessDialogTexts(exeName, description, company, fileVersion);
    ActOnProcess(hooks_.ProcessChoice(texts), identity, exeName);
}

// Once the form is closed (the session ended while a dialog was open) nothing is done to the process.
void TrayMenu::ActOnProcess(int choice, const ProcessIdentity& identity, const std::string& exeName) {
    if (owner_.FormClosed())
        return;
    if (RunProcessAction(choice, identity, window_) == ProcessActionOutcome::Ended)
        hooks_.ProcessNotice(ProcessEndedText(exeName));
}

void TrayMenu::UpdateSettingsSubmenu() {
    CheckMenuItem(settingsSubmenu_, IDM_TRANSPARENT_BACKGROUND,
                  MF_BYCOMMAND | (settings_.TransBk ? MF_CHECKED : MF_UNCHECKED));
}

void TrayMenu::ChooseTextColor() {
    COLORREF color = textColor_;
    if (!hooks_.PickTextColor(color) || owner_.FormClosed())
        return;
    textColor_ = color;
    settings_.FontColor = static_cast<ColorValue>(color & 0xFFFFFFu);
    owner_.TextColorChosen();
}

void TrayMenu::ToggleTransparentBackground() {
    settings_.TransBk = !settings_.TransBk;
    UpdateSettingsSubmenu();
}

bool TrayMenu::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_MEASUREITEM: {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (wParam != 0 || !measure || measure->CtlType != ODT_MENU)
                return false;
            MeasureItem(*measure);
            result = TRUE;
            return true;
        }
        case WM_DRAWITEM: {
            auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (wParam != 0 || !draw || draw->CtlType != ODT_MENU)
                return false;
            DrawItem(*draw);
            result = TRUE;
            return true;
        }
        case WM_THEMECHANGED:
        case WM_SETTINGCHANGE:
            painter_.Reset();  // the menu font or visual style may have changed
            return false;
        case WM_MENUCHAR: {
            // The items are drawn by the program, so the system leaves their access keys to it.
            HMENU menu = reinterpret_cast<HMENU>(lParam);
            std::vector<std::string> captions;
            for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
                const MenuItemEx* item = PopupMenu::ItemAt(menu, i);
                captions.push_back(item ? SplitShortcut(ItemText(*item)).Caption : std::string());
            }
            const wchar_t key = static_cast<wchar_t>(LOWORD(wParam));
            const int index = key < 0x80 ? FindAccessKey(captions, static_cast<char>(key)) : -1;
            result = index < 0 ? MAKELRESULT(0, MNC_IGNORE) : MAKELRESULT(index, MNC_EXECUTE);
            return true;
        }
        case WM_INITMENUPOPUP:
            if (reinterpret_cast<HMENU>(wParam) == settingsSubmenu_)
                UpdateSettingsSubmenu();
            result = 0;
            return true;
        case WM_COMMAND: {
            const UINT id = LOWORD(wParam);
            if (HIWORD(wParam) != 0)
                return false;
            if (id == IDM_TEXT_COLOR)
                ChooseTextColor();
            else if (id == IDM_TRANSPARENT_BACKGROUND)
                ToggleTransparentBackground();
            else if (id < IDM_PROCESS_ROW_FIRST || id > IDM_PROCESS_ROW_LAST)
                return false;
            else if (const MenuItemEx* row = popup_.FindById(id))
                KillItem(*row);
            result = 0;
            return true;
        }
        default:
            return false;
    }
}
