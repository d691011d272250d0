// The tray menu of the main form: rows of the heaviest programs and of the memory figures, owner drawing, and the
// dialog of a process row.

#include "app/main_form_win.h"

#include <shellapi.h>

#include "memory/memory_format.h"
#include "memory/memory_status_win.h"
#include "platform/dpi_win.h"
#include "platform/native_path_win.h"
#include "platform/text_win.h"
#include "processes/process_actions_win.h"
#include "processes/process_dialog.h"
#include "processes/process_list_win.h"
#include "processes/tray_menu_model.h"
#include "resource.h"
#include "system/hot_key_manager_win.h"
#include "system/task_dialog_win.h"
#include "tray/tray_picture_win.h"
#include "tray/tray_renderer.h"

namespace {
// The small icon of an executable, when the file gives both sizes; System32 paths from the real folder.
UniqueIcon SmallIconOf(const std::string& path) {
    if (path.empty())
        return {};
    HICON large = nullptr, small = nullptr;
    UINT extracted = ExtractIconExW(Widen(NativeFilePath(path)).c_str(), 0, &large, &small, 1);
    UniqueIcon largeIcon(large), smallIcon(small);
    if (extracted != 2)
        return {};
    return smallIcon;
}
}  // namespace

void MainForm::InitTrayMenu() {
    tray_->OnMouseDown = [this](TrayIcon& sender, MouseButton button, ShiftState shift, int x, int y) {
        TrayMouseDown(sender, button, shift, x, y);
    };
}

// Setting an item's type again makes Windows measure it anew the next time the menu opens.
void MainForm::RemeasureMenu(HMENU menu) {
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

void MainForm::TrayMouseDown(TrayIcon& sender, MouseButton button, ShiftState, int, int) {
    if (button != MouseButton::Right)
        return;
    // A tray menu closes when the user clicks elsewhere only while its owner window has the foreground; the owner is
    // this form, which measures and draws the items.
    SetForegroundWindow(Hwnd());
    POINT cursor{};
    GetCursorPos(&cursor);
    // The menu is measured for the monitor where it opens; Windows keeps the sizes of items it has measured, so
    // after a change of DPI every item is marked for measuring again.
    if (menuPainter_.SetDpi(PointDpi(cursor)))
        RemeasureMenu(trayMenu_.Handle());
    BuildMenuRows(sender.Hint());
    // The items are measured, drawn and clicked through this form's window; a click arrives as WM_COMMAND after
    // the menu has closed.
    TrackPopupMenuEx(trayMenu_.Handle(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, Hwnd(),
                     nullptr);
    if (closed_)
        return;  // the session ended while the menu was open
    PostMessageW(Hwnd(), WM_NULL, 0, 0);
    // The notification-area overflow panel from which the icon may have been clicked closes with the menu.
    if (HWND overflow = FindWindowExW(nullptr, nullptr, L"NotifyIconOverflowWindow", nullptr))
        PostMessageW(overflow, WM_CLOSE, 0, 0);
}

void MainForm::BuildMenuRows(const std::string& hint) {
    if (settings_.ShowTopProcess)
        BuildProcessRows();
    if (settings_.ShowMemMenu)
        BuildMemoryRows(hint);
}

std::unique_ptr<MenuItemEx> MainForm::MakeProcessRow(const ProcessRecord& r,
                                                     UINT id,
                                                     const NumberSeparators& separators) {
    auto row = std::make_unique<MenuItemEx>();
    row->Tag = kTagProcessRow;
    row->Id = id;
    row->ProcessID = r.ProcessID;
    row->CreationFileTime = r.CreationFileTime;
    row->ExeName = r.ExeName;
    row->FullPath = r.FullPath;
    row->IconHandle = SmallIconOf(r.FullPath);
    row->NoIcon = !row->IconHandle;
    std::string description;
    if (settings_.ShowNameInsteadOfModule && !r.FullPath.empty()) {
        fileVer_.SetFilename(r.FullPath);
        description = fileVer_.GetByIndex(1);
    }
    row->Caption = ProcessCaption(r.ExeName, description, settings_.ShowNameInsteadOfModule);
    row->MemText = r.MemoryUsage == 0 ? "n/a" : FormatByteSize(r.MemoryUsage, separators);
    row->Highlight = IsHighlighted(r.MemoryUsage, settings_.HighlightProcessAbove);
    return row;
}

void MainForm::BuildProcessRows() {
    ProcessList list;
    list.RefreshHeaviest(settings_.TopProcessCount);
    RemoveProcessRows();
    const NumberSeparators separators = UserNumberSeparators();
    const int rows = ProcessRowCount(settings_.TopProcessCount, list.Count());
    const UINT idCount = IDM_PROCESS_ROW_LAST - IDM_PROCESS_ROW_FIRST + 1;
    for (int i = 0; i < rows; ++i) {
        UINT id = IDM_PROCESS_ROW_FIRST + static_cast<UINT>(i) % idCount;
        trayMenu_.Insert(nullptr, PopupMenu::IndexOf(*fixedItemsSeparator_),
                         MakeProcessRow(list.Item(i), id, separators));
    }
    if (rows > 0)
        trayMenu_.Insert(nullptr, 1, MakeSeparator(kTagProcessRow));
}

std::unique_ptr<MenuItemEx> MainForm::MakeSeparator(int tag) {
    auto separator = std::make_unique<MenuItemEx>();
    separator->Caption = "-";
    separator->Tag = tag;
    return separator;
}

void MainForm::BuildMemoryRows(const std::string& hint) {
    RemoveMemoryRows();
    std::vector<std::string> lines = SplitHintLines(hint);
    for (size_t i = 0; i < lines.size(); ++i) {
        MemoryRowText text = SplitHintLine(lines[i]);
        auto row = std::make_unique<MenuItemEx>();
        row->Tag = kTagMemoryRow;
        row->Caption = text.Caption;
        row->MemText = text.MemText;
        trayMenu_.Insert(nullptr, static_cast<int>(i) + 2, std::move(row), PopupMenu::Disabled);
    }
    if (!lines.empty())
        trayMenu_.Insert(nullptr, static_cast<int>(lines.size()) + 2, MakeSeparator(kTagMemoryRow));
}

void MainForm::RemoveProcessRows() {
    trayMenu_.RemoveByTag(kTagProcessRow);
}

void MainForm::RemoveMemoryRows() {
    trayMenu_.RemoveByTag(kTagMemoryRow);
}

MenuDrawContext MainForm::MenuContext() const {
    MenuDrawContext context;
    context.NewMenus = true;
    context.DefaultProgramIcon = defaultProgramIcon_.Get();
    context.TaskManagerIcon = taskManagerIcon_.Get();
    context.Highlight = ResolveColor(ProcessHighlightColor(settings_.ProcessHighlightColor, false),
                                     AutomaticColors::kProcessHighlight, GdiSystemColors());
    return context;
}

std::string MainForm::MenuItemText(const MenuItemEx& item) const {
    std::string text = PopupMenu::TextOf(item);
    if (item.Id == IDM_FREE_MEMORY && freeMemoryShortcut_ != 0 && text.find('\t') == std::string::npos)
        text += "\t" + HotKeyToText(freeMemoryShortcut_, true);
    return text;
}

void MainForm::MeasureItem(MEASUREITEMSTRUCT& measure) {
    auto* item = reinterpret_cast<MenuItemEx*>(measure.itemData);
    if (!item)
        return;
    const bool isDefault = (PopupMenu::StateOf(*item) & MFS_DEFAULT) != 0;
    menuPainter_.MeasureItem(*item, MenuItemText(*item), isDefault, measure.itemWidth, measure.itemHeight);
}

void MainForm::DrawItem(const DRAWITEMSTRUCT& draw) {
    auto* item = reinterpret_cast<MenuItemEx*>(draw.itemData);
    if (!item)
        return;
    MenuItemState state;
    state.Selected = (draw.itemState & ODS_SELECTED) != 0;
    state.Enabled = (draw.itemState & (ODS_DISABLED | ODS_GRAYED)) == 0;
    state.Checked = (draw.itemState & ODS_CHECKED) != 0;
    state.Default = (draw.itemState & ODS_DEFAULT) != 0 || (PopupMenu::StateOf(*item) & MFS_DEFAULT) != 0;
    menuPainter_.DrawItem(draw.hDC, draw.rcItem, *item, MenuItemText(*item), state, MenuContext());
}

void MainForm::KillItem(const MenuItemEx& row) {
    std::string description, company, fileVersion;
    if (!row.FullPath.empty()) {
        fileVer_.SetFilename(row.FullPath);
        description = fileVer_.GetByIndex(1);
        company = fileVer_.GetByIndex(0);
        fileVersion = fileVer_.FileVersion().Text();
    }
    ProcessDialogTexts texts = BuildProcessDialogTexts(row.ExeName, description, company, fileVersion);
    // The dialog is modal and a right-click on the tray icon meanwhile rebuilds the rows: keep copies.
    const ProcessIdentity identity{row.ProcessID, row.CreationFileTime, row.FullPath};
    const std::string exeName = row.ExeName;
    const int choice = hooks_.ProcessChoice(texts);
    if (closed_)
        return;  // the session ended while the dialog was open: nothing is done to the process
    ProcessActionOutcome outcome = RunProcessAction(choice, identity, Hwnd());
    if (outcome == ProcessActionOutcome::Ended)
        hooks_.ProcessNotice(ProcessEndedText(exeName));
}

bool MainForm::HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
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
            menuPainter_.Reset();
            return false;
        case WM_COMMAND: {
            UINT id = LOWORD(wParam);
            if (HIWORD(wParam) != 0 || id < IDM_PROCESS_ROW_FIRST || id > IDM_PROCESS_ROW_LAST)
                return false;
            if (const MenuItemEx* row = trayMenu_.FindById(id))
                KillItem(*row);
            result = 0;
            return true;
        }
        default:
            return false;
    }
}
