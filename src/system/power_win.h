#pragma once

#include <functional>

#include "system/portable_device.h"

// Replaces the system's power queries behind HasLid / OnBattery / IsPortableDevice (tests of the options dialog
// pretend to be a laptop); an empty function restores them.
void SetPowerReader(std::function<PowerReadings()> reader);
// What the system answers now.
PowerReadings ReadSystemPower();
