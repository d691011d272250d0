#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/main_form_win.h"

// Seconds per call of `run`, averaged over `runs` calls, from the performance counter.
inline double SecondsPerRun(const std::function<void()>& run, int runs) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < runs; ++i)
        run();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) / runs;
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The program's main form for a benchmark: a fresh settings file of its own in the temporary folder, the refresh
// timer stopped so only the measured calls run. Null (with a message) when it cannot be created.
inline std::unique_ptr<MainForm> CreateBenchForm(SystemHooks options) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    options.QuitOnDestroy = false;
    options.ProgramFolder = std::wstring(temp) + L"lumivex-bench\\";
    CreateDirectoryW(options.ProgramFolder.c_str(), nullptr);
    DeleteFileW((options.ProgramFolder + L"Lumivex.Settings").c_str());
    auto form = std::make_unique<MainForm>(std::move(options));
    if (!form->Create()) {
        std::fprintf(stderr, "cannot create the main form\n");
        return nullptr;
    }
    form->RefreshTimer().SetActive(false);
    return form;
}
