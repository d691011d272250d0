#pragma once

#include <windows.h>

// Lets the program take the foreground before a dialog it is about to show, without input of any kind.
void ForceForeground(HWND window);
