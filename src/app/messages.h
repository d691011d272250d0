#pragma once

// Window messages the program exchanges with itself and with a second copy of itself.
constexpr unsigned kWmUser = 0x0400;
constexpr unsigned MSG_STARTUP_NOTICE = kWmUser + 42;   // posted to itself after the settings are loaded
constexpr unsigned MSG_SECOND_INSTANCE = kWmUser + 45;  // posted by a second copy to the running one
constexpr unsigned kTrayCallbackMessage = 2048;
constexpr unsigned MSG_ABOUT_SHOWN = 0x8000 + 0x170;  // WM_APP + 0x170: the About box has been shown
constexpr char kMainWindowClass[] = "TFrmLumivexMain";
constexpr char kApplicationTitle[] = "Lumivex";
