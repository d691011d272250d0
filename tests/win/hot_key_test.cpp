#include "system/hot_key_manager_win.h"

#include <gtest/gtest.h>

#include "win_test_util.h"

using namespace WinTest;

namespace {
ATOM AtomOf(HotKeyValue value) {
    return GlobalFindAtomW(Widen(HotKeyAtomName(value)).c_str());
}

struct Presses {
    std::vector<HotKeyValue> Values;
    void Attach(HotKeyManager& m) {
        m.OnHotKeyPressed = [this](HotKeyValue v, WORD) { Values.push_back(v); };
    }
};
}  // namespace

TEST(HotKeyManager, AltARegistersUnderItsAtomAndClearingRemovesIt) {
    HotKeyManager manager;
    WORD id = manager.AddHotKey(32833);
    ASSERT_NE(id, 0);
    EXPECT_EQ(AtomOf(32833), id);
    EXPECT_EQ(manager.Count(), 1u);
    manager.ClearHotKeys();
    EXPECT_EQ(manager.Count(), 0u);
    EXPECT_EQ(AtomOf(32833), 0);
    // The combination is free again.
    EXPECT_TRUE(RegisterHotKey(nullptr, 0x2FFF, MOD_ALT, 'A'));
    UnregisterHotKey(nullptr, 0x2FFF);
}

TEST(HotKeyManager, ZeroRegistersNothing) {
    HotKeyManager manager;
    EXPECT_EQ(manager.AddHotKey(0), 0);
    EXPECT_EQ(manager.Count(), 0u);
    EXPECT_EQ(AtomOf(0), 0);
}

TEST(HotKeyManager, ACombinationHeldElsewhereFailsWithoutLeavingAnAtom) {
    const HotKeyValue value = kHotKeyCtrl | kHotKeyShift | kHotKeyAlt | 'K';
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x2FFE, MOD_CONTROL | MOD_SHIFT | MOD_ALT, 'K'));
    HotKeyManager manager;
    EXPECT_EQ(manager.AddHotKey(value), 0);
    EXPECT_EQ(manager.Count(), 0u);
    EXPECT_EQ(AtomOf(value), 0);
    UnregisterHotKey(nullptr, 0x2FFE);
}

TEST(HotKeyManager, OnlyARegisteredCombinationIsReported) {
    HotKeyManager manager;
    Presses presses;
    presses.Attach(manager);
    WORD id = manager.AddHotKey(32833);
    ASSERT_NE(id, 0);
    SendMessageW(manager.Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_ALT, 'A'));
    SendMessageW(manager.Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_ALT | MOD_SHIFT, 'A'));
    SendMessageW(manager.Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_ALT, 'B'));
    EXPECT_EQ(presses.Values, std::vector<HotKeyValue>{32833});
    // Without a handler a hot key message is simply passed on.
    manager.OnHotKeyPressed = nullptr;
    SendMessageW(manager.Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_ALT, 'A'));
}

TEST(HotKeyManager, PressingTheKeysAnywhereReportsOnce) {
    HotKeyManager manager;
    Presses presses;
    presses.Attach(manager);
    ASSERT_NE(manager.AddHotKey(kHotKeyCtrl | kHotKeyAlt | 'J'), 0);
    INPUT in[6] = {};
    const WORD keys[3] = {VK_CONTROL, VK_MENU, 'J'};
    for (int i = 0; i < 3; ++i) {
        in[i].type = in[5 - i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = in[5 - i].ki.wVk = keys[i];
        in[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    ASSERT_EQ(SendInput(6, in, sizeof(INPUT)), 6u);
    EXPECT_TRUE(PumpUntil([&] { return !presses.Values.empty(); }, 5000));
    PumpFor(200);
    EXPECT_EQ(presses.Values, std::vector<HotKeyValue>{kHotKeyCtrl | kHotKeyAlt | 'J'});
}

TEST(HotKeyManager, EnglishTextOfCombinations) {
    struct Case {
        HotKeyValue Value;
        const char* Text;
    } cases[] = {
        {32833, "Alt+A"},
        {kHotKeyShift | kHotKeyAlt | 'M', "Shift+Alt+M"},
        {kHotKeyCtrl | kHotKeyWin | VK_F5, "Ctrl+Win+F5"},
        {kHotKeyCtrl | VK_HOME, "Ctrl+Home"},
        {kHotKeyAlt | VK_DELETE, "Alt+Delete"},
        {VK_END, "End"},
        {VK_LEFT, "Left"},
        {VK_INSERT, "Insert"},
        {kHotKeyCtrl | VK_MEDIA_PLAY_PAUSE, "Ctrl+Play/Pause Media"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HotKeyToText(c.Value, false), c.Text) << c.Value;
}
