// Building the tray menu's process rows under Windows (or Wine) with 200 and more running processes, against the
// floor of a bare process snapshot plus one working-set query per process, measured side by side in one process
// (rounds of each in turn, medians):
//   floor:        CreateToolhelp32Snapshot, every entry, OpenProcess + GetProcessMemoryInfo + CloseHandle each;
//   refresh+sort: ProcessList::Refresh and the sort by working set (every process opened for path, owner, time
//                 and working set), the way the rows were chosen before;
//   heaviest:     ProcessList::RefreshHeaviest(10), as a right-click chooses its rows now (one system-wide
//                 snapshot, only the ten shown processes opened);
//   rows:         BuildProcessRows as a right-click runs it (the heaviest ten, their icons and descriptions, the old
//                 rows removed).
//   minute's growth query: the memory history's once-a-minute read of every process's private bytes (one
//                 system-wide call, no process opened), in CPU time of this process (target <= 2 ms), beside
//                 the bare system call it makes.
// Prints milliseconds per operation and the ratios. Helper programs fill the list up to the wanted count and
// end with the benchmark (a job object ends them even if it does not get that far).
#include <windows.h>
// after windows.h
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "app/main_form_win.h"
#include "bench_win.h"
#include "platform/system_library_win.h"
#include "processes/process_list_win.h"
#include "processes/process_snapshot_win.h"

namespace {
double MsPerRun(const std::function<void()>& run, int runs) {
    return SecondsPerRun(run, runs) * 1e3;
}

uint64_t ProcessCpuTime100ns() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](FILETIME t) { return (uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

// CPU milliseconds per call, over enough calls for the clock's resolution.
double CpuMsPerRun(const std::function<void()>& run, int runs) {
    const uint64_t start = ProcessCpuTime100ns();
    for (int i = 0; i < runs; ++i)
        run();
    return static_cast<double>(ProcessCpuTime100ns() - start) / 1e4 / runs;
}

int ProcessCount() {
    int n = 0;
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
        ++n;
    return n;
}

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s = path;
    return s.substr(0, s.find_last_of(L'\\') + 1);
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int wanted = argc > 1 ? static_cast<int>(wcstol(argv[1], nullptr, 10)) : 210;
    UniqueKernelHandle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

    // Helpers of a few megabytes each, half with an icon and a version resource, until the list is long enough.
    std::vector<UniqueKernelHandle> helpers;
    const std::wstring folder = OwnFolder();
    for (int i = 0; ProcessCount() < wanted && i < wanted; ++i) {
        std::wstring exe = folder + (i % 2 ? L"lumivex_test_helper_full.exe" : L"lumivex_test_helper_plain.exe");
        std::wstring cmd = L"\"" + exe + L"\" " + std::to_wstring(1 + i % 8);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si,
                            &pi)) {
            std::fprintf(stderr, "cannot start %ls\n", exe.c_str());
            return 1;
        }
        AssignProcessToJobObject(job.Get(), pi.hProcess);
        ResumeThread(pi.hThread);
        CloseHandle(pi.hThread);
        WaitForInputIdle(pi.hProcess, 10000);
        helpers.emplace_back(pi.hProcess);
    }
    const int processes = ProcessCount();

    using GetInfoFn = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    SystemLibrary psapi(L"psapi.dll");
    auto getInfo = reinterpret_cast<GetInfoFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "K32GetProcessMemoryInfo")));
    if (!getInfo)
        getInfo = psapi.Proc<GetInfoFn>("GetProcessMemoryInfo");
    SIZE_T sink = 0;
    auto floor = [&] {
        UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
            UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
            PROCESS_MEMORY_COUNTERS counters{};
            if (process && getInfo(process.Get(), &counters, sizeof counters))
                sink += counters.WorkingSetSize;
        }
    };
    auto refresh = [] {
        ProcessList list;
        list.Refresh();
        list.Sort(CompareByMemoryDesc);
    };

    auto heaviest = [] {
        ProcessList list;
        list.RefreshHeaviest(10);
    };

    auto owned = CreateBenchForm(SystemHooks{});
    if (!owned)
        return 1;
    MainForm& form = *owned;
    form.CurrentSettings().TopProcessCount = 10;
    auto rows = [&] { form.Menu().BuildProcessRows(); };
    form.CurrentSettings().ShowNameInsteadOfModule = true;
    auto rowsWithDescriptions = [&] { form.Menu().BuildProcessRows(); };

    uint32_t minute = GetTickCount();
    auto growthQuery = [&] { form.ReadGrowth(minute += 60000); };
    SystemProcessReader bareReader;
    auto rawQuery = [&] { bareReader.Read([](const SystemProcessEntryView&) {}); };

    const int runs = 3, rounds = 9;
    std::vector<double> floors, refreshes, heaviestTimes, rowTimes, describedTimes, growthTimes, growthCpu, callCpu;
    for (int r = 0; r < rounds; ++r) {
        floors.push_back(MsPerRun(floor, runs));
        refreshes.push_back(MsPerRun(refresh, runs));
        heaviestTimes.push_back(MsPerRun(heaviest, runs));
        form.CurrentSettings().ShowNameInsteadOfModule = false;
        rowTimes.push_back(MsPerRun(rows, runs));
        form.CurrentSettings().ShowNameInsteadOfModule = true;
        describedTimes.push_back(MsPerRun(rowsWithDescriptions, runs));
        growthTimes.push_back(MsPerRun(growthQuery, runs));
        growthCpu.push_back(CpuMsPerRun(growthQuery, 20));
        callCpu.push_back(CpuMsPerRun(rawQuery, 20));
    }
    const double f = Median(floors), s = Median(refreshes), h = Median(heaviestTimes), b = Median(rowTimes),
                 d = Median(describedTimes);
    std::printf("running processes: %d (%zu helpers started)\n", processes, helpers.size());
    std::printf("floor: snapshot + one working-set query per process   %8.2f ms\n", f);
    std::printf("TProcessList::Refresh + sort (every process opened)    %8.2f ms   %.2f x floor\n", s, s / f);
    std::printf("TProcessList::RefreshHeaviest(10)                      %8.2f ms   %.2f x floor\n", h, h / f);
    std::printf("process rows of a right-click (10 rows)               %8.2f ms   %.2f x floor\n", b, b / f);
    std::printf("the same with descriptions as captions                %8.2f ms   %.2f x floor\n", d, d / f);
    const double g = Median(growthTimes), gc = Median(growthCpu);
    std::printf(
        "minute's growth query (private bytes of every process) %8.2f ms   %.2f x floor, %.2f ms CPU "
        "(target <= 2 ms)\n",
        g, g / f, gc);
    form.Quit();
    return sink == 1 ? 2 : 0;
}
