#pragma once

#include <windows.h>

#include "system/task_dialog_win.h"

// Flags beyond the native dialog's: a query edit box, masked with "*", focused.
constexpr unsigned kTaskQueryEdit = 0x10000;
constexpr unsigned kTaskQueryMasked = 0x20000;
constexpr unsigned kTaskQueryFocus = 0x40000;
constexpr unsigned kTdfUseCommandLinks = 0x10;
constexpr unsigned kTdfUseCommandLinksNoIcon = 0x20;

// Control ids of the emulated dialog besides the buttons (100 + i, common ids) and radios (200 + i).
constexpr int kVerifyControlId = 300;
constexpr int kSelectionControlId = 301;
constexpr int kQueryControlId = 302;

// The dialog built from ordinary controls; same texts, controls and result ids as the system's task dialog.
int ShowEmulatedTaskDialog(TaskDialogTexts& dialog, const TaskDialogParams& params);

// Tells the observer that a dialog is on screen (task_dialog_win.cpp).
void NotifyTaskDialogShown(HWND dialog, bool native);
