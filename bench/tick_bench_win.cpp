// The refresh tick under Windows (or Wine) against its floor, measured side by side in one process (rounds of
// each in turn, medians):
//   floor:                one GlobalMemoryStatusEx and one NIM_MODIFY with a fixed icon and tip;
//   floor, shell redraws: the same, alternating two fixed icons and tips, so the shell shows a change each time;
//   full tick:            RefreshTick with a reading that changes picture and hint every time;
//   unchanged tick:       RefreshTick with a reading that gives the picture and hint already shown.
// Prints nanoseconds per operation and the ratios. Target: full tick / floor with redraw <= 1.1.
// Then the memory history window opened from the menu's command over that history, the first time (its window,
// fonts and buffers made) and again (target: under 50 ms), each time until it has painted.

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "app/main_form_win.h"
#include "bench_win.h"
#include "memory/memory_status_win.h"
#include "resource.h"
#include "tray/tray_picture_win.h"

namespace {
double NsPerRun(const std::function<void()>& run, int runs) {
    return SecondsPerRun(run, runs) * 1e9;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

UniqueIcon SolidIcon(uint32_t color) {
    TrayPicture picture;
    picture.Fill(0, 0, kTrayImageSize, kTrayImageSize, color);
    return PictureToIcon(picture, false);
}
}  // namespace

int main() {
    bool fixed = false;
    bool flip = false;
    const MemorySample constant = ReadMemoryStatus();
    SystemHooks options;
    options.QuitOnDestroy = false;
    options.TrimProcess = [](DWORD) {};
    options.Sample = [&] {
        MemorySample s = ReadMemoryStatus();  // the tick's one system call, always made
        if (fixed)
            return constant;
        flip = !flip;  // another gauge, figure and hint every tick
        s.MemoryLoad = flip ? 30 : 70;
        s.AvailPhys = s.TotalPhys / (flip ? 3 : 2);
        return s;
    };
    auto owned = CreateBenchForm(std::move(options));
    if (!owned)
        return 1;
    MainForm& form = *owned;
    form.CurrentSettings().Warn = form.CurrentSettings().FreeOnHighMemory = form.CurrentSettings().WarnMsgBox = false;
    form.Freer().SetEnabled(false);
    Pump();

    UniqueIcon iconA = SolidIcon(0x00FF00), iconB = SolidIcon(0x0000FF);
    NOTIFYICONDATAW floorData = form.Tray().NotifyData();
    floorData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    floorData.hIcon = iconA.Get();
    const bool shellAnswers = Shell_NotifyIconW(NIM_MODIFY, &floorData) != FALSE;
    NOTIFYICONDATAW changing = floorData;
    bool other = false;

    auto floor = [&] {
        ReadMemoryStatus();
        Shell_NotifyIconW(NIM_MODIFY, &floorData);
    };
    auto floorRedraw = [&] {
        ReadMemoryStatus();
        other = !other;
        changing.hIcon = other ? iconB.Get() : iconA.Get();
        changing.szTip[0] = other ? L'A' : L'B';
        Shell_NotifyIconW(NIM_MODIFY, &changing);
    };
    auto full = [&] {
        fixed = false;
        form.RefreshTick();
    };
    auto unchanged = [&] {
        fixed = true;
        form.RefreshTick();
    };

    const int runs = 50, rounds = 21;
    std::vector<double> floors, redraws, fulls, unchangeds;
    for (int r = 0; r < rounds; ++r) {
        floors.push_back(NsPerRun(floor, runs));
        redraws.push_back(NsPerRun(floorRedraw, runs));
        fulls.push_back(NsPerRun(full, runs));
        unchanged();  // the first tick with the fixed reading still shows a change
        unchangeds.push_back(NsPerRun(unchanged, runs));
        Pump();
    }
    const double f = Median(floors), fr = Median(redraws), t = Median(fulls), u = Median(unchangeds);
    std::printf("shell answers NIM_MODIFY: %s\n", shellAnswers ? "yes" : "no (no notification area)");
    std::printf("floor: GlobalMemoryStatusEx + NIM_MODIFY, fixed icon  %10.0f ns\n", f);
    std::printf("floor with a change the shell must redraw             %10.0f ns   %.2f x floor\n", fr, fr / f);
    std::printf(
        "full tick, new picture and hint every time            %10.0f ns   %.2f x floor, "
        "%.2f x floor with redraw (target <= 1.1)\n",
        t, t / f, t / fr);
    std::printf("unchanged tick (nothing sent to the shell)            %10.0f ns   %.3f x floor\n", u, u / f);

    auto openHistory = [&] {
        SendMessageW(form.Hwnd(), WM_COMMAND, IDM_MEMORY_HISTORY, 0);
        if (HWND window = FindWindowW(L"LumivexMemoryHistory", nullptr))
            UpdateWindow(window);
    };
    auto closeHistory = [] {
        if (HWND window = FindWindowW(L"LumivexMemoryHistory", nullptr))
            SendMessageW(window, WM_CLOSE, 0, 0);
        Pump();
    };
    const double first = SecondsPerRun(openHistory, 1) * 1e3;
    closeHistory();
    std::vector<double> opens;
    for (int r = 0; r < 9; ++r) {
        opens.push_back(SecondsPerRun(openHistory, 1) * 1e3);
        closeHistory();
    }
    std::printf("memory history window: first opening %.1f ms, then %.1f ms (target < 50 ms)\n", first, Median(opens));
    form.Quit();
    return 0;
}
