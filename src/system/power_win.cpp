#include "system/power_win.h"

#include <windows.h>

#include "platform/system_library_win.h"
#include "system/task_dialog_win.h"

namespace {
std::function<PowerReadings()>& Reader() {
    static std::function<PowerReadings()> reader;
    return reader;
}

PowerReadings Read() {
    return Reader() ? Reader()() : ReadSystemPower();
}
}  // namespace

void SetPowerReader(std::function<PowerReadings()> reader) {
    Reader() = std::move(reader);
}

PowerReadings ReadSystemPower() {
    PowerReadings r;
    SystemLibrary powrprof(L"powrprof.dll");
    using GetPwrCapabilitiesFunction = BOOLEAN(WINAPI*)(PSYSTEM_POWER_CAPABILITIES);
    if (auto get = powrprof.Proc<GetPwrCapabilitiesFunction>("GetPwrCapabilities")) {
        SYSTEM_POWER_CAPABILITIES caps{};
        if (get(&caps)) {
            r.CapabilitiesRead = true;
            r.LidPresent = caps.LidPresent != 0;
        }
    }
    SYSTEM_POWER_STATUS status{};
    if (GetSystemPowerStatus(&status)) {
        r.StatusRead = true;
        r.AcLineStatus = status.ACLineStatus;
    }
    return r;
}

bool HasLid() {
    return ReadingsHaveLid(Read());
}

bool OnBattery() {
    return ReadingsOnBattery(Read());
}

bool IsPortableDevice() {
    return ReadingsPortable(Read());
}
