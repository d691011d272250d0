#pragma once

#include <windows.h>

#include <string>

// The text of a window or control as UTF-8, and back.
std::string GetControlText(HWND hwnd);
void SetControlText(HWND hwnd, const std::string& text);
// The text of an entry of a combo box or a list box; empty when there is no such entry.
std::string ComboItemText(HWND combo, int index);
std::string ListItemText(HWND listBox, int index);
// Height of a line of text in the font of the control's dialog: owner-drawn items are sized from it.
int DialogTextHeight(HWND control);
