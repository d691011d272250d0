#pragma once

#include <windows.h>
// after windows.h
#include <commdlg.h>

// The system's colour and font dialogs; false when cancelled or when the dialogs' library is missing.
bool ShowChooseColor(CHOOSECOLORW& choice);
bool ShowChooseFont(CHOOSEFONTW& choice);
