#pragma once

// Every private window message of the program, each defined here once.
constexpr unsigned kWmUser = 0x0400;
constexpr unsigned kWmApp = 0x8000;
constexpr unsigned kStartupNoticeMessage = kWmUser + 42;   // posted to itself after the settings are loaded
constexpr unsigned kSecondInstanceMessage = kWmUser + 45;  // posted by a second copy to the running one
constexpr unsigned kTrayCallbackMessage = 2048;            // WM_USER + 0x400: the shell's callbacks to the tray window
constexpr unsigned kAboutShownMessage = kWmApp + 0x170;    // the About box has been shown
constexpr unsigned kDownloadDoneMessage = kWmApp + 1;      // sent by the update check's worker to its window
constexpr unsigned kDialogShownMessage = kWmApp + 2;       // posted by the emulated message dialog to itself
constexpr char kMainWindowClass[] = "TFrmLumivexMain";
constexpr char kApplicationTitle[] = "Lumivex";
