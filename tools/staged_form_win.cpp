// lumivex-staged: the program's own main form with a staged memory reading, for screenshots that show realistic
// figures on a test machine whatever its memory does: `lumivex-staged.exe <load percent> [total GB] [history]`.
// With "history" the form first lives through a staged day, a tick every 30 s (every 500 ms in its last ten minutes),
// so the memory history has a story to show: a working day's load, and a climb over the last hour up to the staged
// load, with two made-up programs growing beside the machine's own processes (one all day, one with the climb).
// Everything else (settings beside the program, tray icon, menu, dialogs, the real processes) is the program's.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cwchar>

#include "app/main_form_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const unsigned load = argc > 1 ? static_cast<unsigned>(std::wcstoul(argv[1], nullptr, 10)) : 58u;
    const unsigned long long gigabytes = argc > 2 ? std::wcstoull(argv[2], nullptr, 10) : 16ull;
    const bool history = argc > 3 && std::wcscmp(argv[3], L"history") == 0;
    LocalFree(argv);

    // The staged clock: a day in the past while the day is lived through, then the real one from there.
    constexpr uint32_t kDayMs = 24u * 3600u * 1000u;
    uint32_t stagedNow = GetTickCount() - (history ? kDayMs : 0u);
    bool staging = history;
    unsigned stagedLoad = load;
    SystemHooks hooks;
    hooks.TickCount = [&] { return staging ? stagedNow : GetTickCount(); };
    hooks.Sample = [&stagedLoad, &staging, load, gigabytes] {
        MemorySample s;
        const unsigned percent = staging ? stagedLoad : load;
        s.MemoryLoad = percent > 100 ? 100 : percent;
        s.TotalPhys = gigabytes << 30;
        s.AvailPhys = s.TotalPhys / 100 * (100 - s.MemoryLoad);
        s.TotalPageFile = s.TotalPhys + (s.TotalPhys >> 1);
        // The commit charge follows the load below it, as on a machine whose page file is a third unused.
        const unsigned commit = 10 + s.MemoryLoad * 3 / 4;
        s.AvailPageFile = s.TotalPageFile / 100 * (100 - commit);
        return s;
    };
    if (history) {
        SystemProcessReader reader;
        const uint32_t dayStart = stagedNow;
        hooks.ReadProcesses = [reader, &stagedNow, &staging,
                               dayStart](const std::function<void(const SystemProcessEntryView&)>& visit) mutable {
            if (!reader.Read(visit))
                return false;
            const double hours = std::min(((staging ? stagedNow : GetTickCount()) - dayStart) / 3600000.0, 24.0);
            auto grower = [&visit](uint32_t id, double mib, const wchar_t* name) {
                const auto bytes = static_cast<uint64_t>(mib * 1048576.0);
                visit(SystemProcessEntryView{id, 4, 24, 8, bytes, bytes, 1, name});
            };
            grower(90004, 300 + 25 * hours, L"Teams.exe");
            grower(90008, 1100 + 1800 * std::clamp(hours - 23, 0.0, 1.0), L"chrome.exe");
            return true;
        };
    }
    MainForm form(std::move(hooks));
    if (!form.Create())
        return 1;
    if (history) {
        // The last ten minutes at the program's own pace, so the finest span is as dense as it is in use.
        constexpr uint32_t kFineFrom = kDayMs - 10u * 60000u;
        for (uint32_t elapsed = 0; elapsed < kDayMs; elapsed += elapsed < kFineFrom ? 30000u : 500u) {
            const double hours = elapsed / 3600000.0;
            // Quiet night, a busy day with a lunch dip, and the last hour climbing to the staged load.
            double percent = 38 + 14 * std::sin((hours - 8) / 24 * 2 * 3.14159265) + 4 * std::sin(hours * 5.3);
            if (hours > 23)
                percent += (load - percent) * (hours - 23);
            stagedLoad = static_cast<unsigned>(percent < 5 ? 5 : percent);
            stagedNow += elapsed < kFineFrom ? 30000u : 500u;
            form.RefreshTick();
        }
        staging = false;
    }
    return RunMessageLoop(form);
}
