// Private bytes (the commit charge of a process) of the program against a minimal tray meter
// (lumivex_bench_minimal_meter: one window, one icon, a 500 ms timer), both started side by side from here and
// measured once they have settled; then where the program's start-up takes its private bytes, step by step, in a
// fresh process of this benchmark that starts the program's form the way the program does.
//   lumivex_bench_footprint [path of Lumivex.exe]
// Prints kilobytes and the ratio. Target: program / minimal meter <= 1.5.
#include <windows.h>
// after windows.h
#include <ole2.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/main_form_win.h"
#include "bench_win.h"

namespace {
// Wine leaves PrivateUsage empty; PagefileUsage is the same figure, the process's commit charge.
double PrivateKb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        return 0;
    return static_cast<double>(counters.PagefileUsage) / 1024.0;
}

std::wstring OwnPath() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// The program's start-up in this process, in the program's order, with the figure after each step.
int RunStartupSteps() {
    double last = PrivateKb(GetCurrentProcess());
    auto note = [&](const char* step) {
        const double now = PrivateKb(GetCurrentProcess());
        std::printf("  %-20s %+8.0f KB  (%8.0f KB)\n", step, now - last, now);
        last = now;
    };
    note("process");
    OleInitialize(nullptr);
    note("OLE");
    SystemHooks hooks;
    hooks.StartupStep = note;
    auto form = CreateBenchForm(std::move(hooks));
    if (!form)
        return 1;
    form->Quit();
    return 0;
}

struct Child {
    PROCESS_INFORMATION Info{};
    bool Start(const std::wstring& exe, const std::wstring& arguments, HANDLE job) {
        std::wstring command = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &Info))
            return false;
        AssignProcessToJobObject(job, Info.hProcess);
        return true;
    }
    ~Child() {
        if (Info.hProcess) {
            TerminateProcess(Info.hProcess, 0);
            WaitForSingleObject(Info.hProcess, 5000);
            CloseHandle(Info.hProcess);
            CloseHandle(Info.hThread);
        }
    }
};
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wcscmp(argv[1], L"--steps") == 0)
        return RunStartupSteps();

    const std::wstring self = OwnPath();
    const std::wstring folder = self.substr(0, self.find_last_of(L'\\') + 1);
    const std::wstring program = argc > 1 ? std::wstring(argv[1]) : folder + L"Lumivex.exe";
    UniqueKernelHandle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
    Child minimal, lumivex;
    if (!minimal.Start(folder + L"lumivex_bench_minimal_meter.exe", std::to_wstring(GetCurrentProcessId()),
                       job.Get()) ||
        !lumivex.Start(program, L"", job.Get())) {
        std::fprintf(stderr, "cannot start the minimal meter or %ls\n", program.c_str());
        return 1;
    }
    // Both settle (start-up, first ticks), then the medians of a few readings side by side.
    Sleep(6000);
    std::vector<double> minimalKb, lumivexKb;
    for (int i = 0; i < 9; ++i) {
        minimalKb.push_back(PrivateKb(minimal.Info.hProcess));
        lumivexKb.push_back(PrivateKb(lumivex.Info.hProcess));
        Sleep(500);
    }
    const double m = Median(minimalKb), l = Median(lumivexKb);
    std::printf("private bytes: minimal tray meter %8.0f KB\n", m);
    std::printf("private bytes: Lumivex            %8.0f KB   %.2f x the minimal meter (target <= 1.5)\n", l, l / m);

    std::printf("start-up of the program's form, step by step (private bytes added):\n");
    std::fflush(stdout);
    Child steps;
    if (steps.Start(self, L"--steps", job.Get()))
        WaitForSingleObject(steps.Info.hProcess, 30000);
    return 0;
}
