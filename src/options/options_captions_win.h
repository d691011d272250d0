#pragma once

#include <windows.h>

// Gives the options dialog's frame or one of its pages the captions of its controls in the chosen language.
void SetOptionsCaptions(HWND dialog);
