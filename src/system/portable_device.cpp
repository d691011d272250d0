#include "system/portable_device.h"

bool ReadingsHaveLid(const PowerReadings& r) {
    return r.CapabilitiesRead && r.LidPresent;
}

bool ReadingsOnBattery(const PowerReadings& r) {
    return r.StatusRead && r.AcLineStatus == 0;
}

bool ReadingsPortable(const PowerReadings& r) {
    return ReadingsHaveLid(r) || ReadingsOnBattery(r);
}
