#include <gtest/gtest.h>

#include <vector>

#include "memory/memory_status_win.h"
#include "memory/ram_optimization_win.h"
#include "memory/working_set_win.h"
#include "win_test_util.h"

using namespace WinTest;

namespace {
int TrimsOfThisProcess() {
    int trims = 0;
    TrimAllWindowProcesses([&](DWORD pid) { trims += pid == GetCurrentProcessId() ? 1 : 0; });
    return trims;
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
}  // namespace

TEST(TrimAllWindowProcesses, EveryTopLevelWindowTrimsItsProcessOnce) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LumivexTrimTestWindow";
    RegisterClassW(&wc);
    // The first window of a thread brings the thread's own default IME window along; count after it.
    std::vector<HWND> windows{
        CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr)};
    const int before = TrimsOfThisProcess();
    for (int i = 0; i < 5; ++i) {
        // Hidden windows count as well as visible ones.
        windows.push_back(CreateWindowExW(0, wc.lpszClassName, L"", i % 2 ? WS_OVERLAPPEDWINDOW | WS_VISIBLE : 0, 0, 0,
                                          50, 50, nullptr, nullptr, wc.hInstance, nullptr));
        ASSERT_TRUE(windows.back());
    }
    EXPECT_EQ(TrimsOfThisProcess(), before + 5);
    for (size_t i = 1; i < windows.size(); ++i)
        DestroyWindow(windows[i]);
    EXPECT_EQ(TrimsOfThisProcess(), before);
    DestroyWindow(windows[0]);
    // The real trim reaches this process; a process that does not exist is skipped without harm.
    EXPECT_TRUE(TrimProcessWorkingSet(GetCurrentProcessId()));
    EXPECT_FALSE(TrimProcessWorkingSet(0xFFFFFFF0u));
}

class CountingOptimization : public MemoryFreer {
  public:
    bool OptimizeNow() override {
        ++Calls;
        return MemoryFreer::OptimizeNow();
    }
    int Calls = 0;
};

// Whether the component's timer exists now (KillTimer answers for timers that exist, and stops it).
bool TimerRuns(const MemoryFreer& o) {
    return KillTimer(o.MessageWindow(), MemoryFreer::kTimerId) != FALSE;
}

TEST(MemoryFreer, PeriodStartsAndStopsTheSelfTrim) {
    CountingOptimization o;
    EXPECT_EQ(o.Period(), 30000);
    EXPECT_TRUE(o.Enabled());
    EXPECT_FALSE(TimerRuns(o));  // nothing until a property changes
    o.SetPeriod(20);
    EXPECT_TRUE(PumpUntil([&] { return o.Calls >= 2; }, 5000));
    o.SetPeriod(0);
    EXPECT_FALSE(TimerRuns(o));
    o.SetPeriod(2000);
    EXPECT_TRUE(TimerRuns(o));
    o.SetPeriod(3000);
    o.SetEnabled(false);
    EXPECT_FALSE(TimerRuns(o));
    EXPECT_TRUE(o.OptimizeNow());
}

TEST(MemoryStatus, ReadingIsConsistent) {
    MemorySample s = ReadMemoryStatus();
    EXPECT_GT(s.TotalPhys, 0u);
    EXPECT_LE(s.AvailPhys, s.TotalPhys);
    EXPECT_LE(s.MemoryLoad, 100u);
    NumberSeparators separators = UserNumberSeparators();
    EXPECT_FALSE(separators.Decimal.empty());
}
