#pragma once

// Icons
#define IDI_LUMIVEX 1

// Tray menu commands
#define IDM_LAUNCH_TASK_MANAGER 40001
#define IDM_FREE_MEMORY 40002
#define IDM_THEMES 40003
#define IDM_TEXT_COLOR 40004
#define IDM_TRANSPARENT_BACKGROUND 40005
#define IDM_SETTINGS 40006
#define IDM_ABOUT 40007
#define IDM_CLOSE 40008
#define IDM_MEMORY_HISTORY 40009
// Process rows take commands from here on, one per row.
#define IDM_PROCESS_ROW_FIRST 41000
#define IDM_PROCESS_ROW_LAST 41999

// About box
#define IDR_LICENSE 7001
