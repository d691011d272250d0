#include "test_shell.h"

#include <gtest/gtest.h>

#include "tray/tray_icon_win.h"

TestShell& TestShell::Get() {
    static TestShell shell;
    return shell;
}

BOOL TestShell::Notify(DWORD message, NOTIFYICONDATAW& data) {
    calls.push_back({message, data});
    if (!taskbarUp)
        return FALSE;
    if (realShell)
        return Shell_NotifyIconW(message, &data);
    std::pair<HWND, UINT> key{data.hWnd, data.uID};
    switch (message) {
        case NIM_ADD:
            return icons.insert(key).second;
        case NIM_DELETE:
            return icons.erase(key) != 0;
        default:
            return Holds(data.hWnd, data.uID);
    }
}

int TestShell::Count(DWORD message) const {
    int n = 0;
    for (const Call& c : calls)
        n += c.message == message;
    return n;
}

namespace {
class TestShellEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        TrayIcon::SetShellNotify(
            [](DWORD message, NOTIFYICONDATAW& data) { return TestShell::Get().Notify(message, data); });
    }
    void TearDown() override { TrayIcon::SetShellNotify(nullptr); }
};
[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new TestShellEnvironment);
}  // namespace
