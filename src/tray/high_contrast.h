#pragma once

#include "settings/settings.h"

// The settings the icon draws with while high contrast is on: the same layout, but only the system's window,
// window-text and highlight colours, whatever the theme chose.
Settings HighContrastLook(const Settings& settings);
