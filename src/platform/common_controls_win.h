#pragma once

#include <windows.h>
// after windows.h
#include <commctrl.h>

// The common controls library (version 6, as the program's manifest asks) with the classes the program uses
// registered; loaded on first use and kept for the run. Null when it cannot be loaded.
HMODULE CommonControls();

// The library's subclass functions; they load it first.
bool SubclassControl(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
void UnsubclassControl(HWND window, SUBCLASSPROC proc, UINT_PTR id);
LRESULT DefaultSubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
