#pragma once

// What the power queries answered; a query that failed leaves its defaults.
struct PowerReadings {
    bool CapabilitiesRead = false;
    bool LidPresent = false;
    bool StatusRead = false;
    unsigned char AcLineStatus = 255;  // 0 offline (battery), 1 online, 255 unknown
};

// A failed query counts as no lid or as not on battery: a computer whose power status is unknown is not portable.
bool ReadingsHaveLid(const PowerReadings& r);
bool ReadingsOnBattery(const PowerReadings& r);
bool ReadingsPortable(const PowerReadings& r);
