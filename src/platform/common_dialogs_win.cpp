#include "platform/common_dialogs_win.h"

#include "platform/system_library_win.h"

namespace {
// The dialogs' library is loaded the first time one opens, not at start: a tray program that is never asked for a
// colour or a font does not carry it (under Wine it costs 0.66 MB of private memory). It stays for the run.
const SystemLibrary& DialogLibrary() {
    static const SystemLibrary library(L"comdlg32.dll");
    return library;
}
}  // namespace

bool ShowChooseColor(CHOOSECOLORW& choice) {
    const auto choose = DialogLibrary().Proc<BOOL(WINAPI*)(CHOOSECOLORW*)>("ChooseColorW");
    return choose && choose(&choice) != FALSE;
}

bool ShowChooseFont(CHOOSEFONTW& choice) {
    const auto choose = DialogLibrary().Proc<BOOL(WINAPI*)(CHOOSEFONTW*)>("ChooseFontW");
    return choose && choose(&choice) != FALSE;
}
