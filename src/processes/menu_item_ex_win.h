#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/unique_handle_win.h"

// One item of the tray menu with the row data that the drawing and the process dialog need. Every item of
// TrayMenu is one of these, fixed or built per right-click; the Tag tells the kinds apart (97 Task Manager,
// 98 memory rows, 99 process rows, 0 the rest).
struct MenuItemEx {
    int Tag = 0;
    UINT Id = 0;           // command id; 0 for separators and memory rows
    HMENU Menu = nullptr;  // the menu that holds the item
    std::string Caption;   // the text it was created with ("-" for separators)
    DWORD ProcessID = 0;
    uint64_t CreationFileTime = 0;  // tells the process apart from a later one with the same id; 0 when unknown
    std::string ExeName;
    std::string FullPath;
    std::string MemText;
    UniqueIcon IconHandle;  // owned by the row
    bool NoIcon = true;
    bool Highlight = false;
};
