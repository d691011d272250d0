#include "system/hot_key.h"

#include <gtest/gtest.h>

TEST(HotKey, ModifierFlagsBothWays) {
    struct Case {
        HotKeyValue Value;
        unsigned Flags;
    } cases[] = {
        {32833, kModAlt},  // Alt+A
        {kHotKeyShift | kHotKeyAlt | 'M', kModShift | kModAlt},
        {kHotKeyCtrl | kHotKeyShift | kHotKeyAlt | kHotKeyWin | 0x70, kModControl | kModShift | kModAlt | kModWin},
        {'Z', 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HotKeyModifierFlags(c.Value), c.Flags) << c.Value;
        EXPECT_EQ(HotKeyFromMessage(c.Flags, HotKeyVirtualKey(c.Value)), c.Value) << c.Value;
    }
    EXPECT_EQ(HotKeyAtomName(32833), "HotKeyManagerHotKey32833");
    EXPECT_EQ(HotKeyAtomName(0), "HotKeyManagerHotKey0");
}

TEST(HotKey, TextOrdersModifiersCtrlShiftAltWin) {
    HotKeyModifierNames english;
    HotKeyModifierNames german{"Umschalt", "Strg", "Alt", "Win"};
    EXPECT_EQ(ComposeHotKeyText(kHotKeyShift | kHotKeyAlt | 'A', english, "A"), "Shift+Alt+A");
    EXPECT_EQ(ComposeHotKeyText(kHotKeyWin | kHotKeyAlt | kHotKeyShift | kHotKeyCtrl | 'A', english, "A"),
              "Ctrl+Shift+Alt+Win+A");
    EXPECT_EQ(ComposeHotKeyText(kHotKeyShift | kHotKeyCtrl | 0x2E, german, "Entf"), "Strg+Umschalt+Entf");
    // A key without a name still gives its prefix.
    EXPECT_EQ(ComposeHotKeyText(kHotKeyAlt | 0xFF, english, ""), "Alt+");
}

TEST(HotKey, MediaKeysTakeTheirEnglishNameWhenTheLayoutHasNone) {
    HotKeyModifierNames names;
    EXPECT_EQ(ComposeHotKeyText(kHotKeyCtrl | 166, names, ""), "Ctrl+Browser Back");
    EXPECT_EQ(ComposeHotKeyText(179, names, "x"), "Play/Pause Media");
    EXPECT_EQ(ComposeHotKeyText(183, names, ""), "Start Application 2");
    EXPECT_EQ(ComposeHotKeyText(173, names, "Stumm"), "Stumm");  // a real name is kept
    EXPECT_EQ(ComposeHotKeyText(165, names, ""), "");            // outside 166-183
    EXPECT_EQ(ComposeHotKeyText(184, names, ""), "");
    // One Chinese character is still one character.
    EXPECT_EQ(ComposeHotKeyText(174, names, "音"), "Volume Down");
}

TEST(HotKey, NavigationBlockIsExtended) {
    for (unsigned vk = 0; vk < 256; ++vk) {
        bool expected = (vk >= 33 && vk <= 40) || vk == 45 || vk == 46;
        EXPECT_EQ(IsExtendedNavigationKey(vk), expected) << vk;
    }
}

TEST(HotKey, WinIsCapitalisedWithACapitalAltName) {
    EXPECT_EQ(WinNameFor("ALT"), "WIN");
    EXPECT_EQ(WinNameFor("Alt"), "Win");
    EXPECT_EQ(WinNameFor("ALT GR"), "Win");
    EXPECT_EQ(WinNameFor(""), "Win");
}

TEST(HotKey, HotKeyControlWordMapsToTheShortcutCode) {
    struct Case {
        uint16_t Word;
        HotKeyValue Value;
    } cases[] = {
        {0x0441, 32833},  // HOTKEYF_ALT + 'A'
        {0x0141, kHotKeyShift | 'A'},
        {0x0770, kHotKeyShift | kHotKeyCtrl | kHotKeyAlt | 0x70},
        {0x0000, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortCutFromHotKeyControl(c.Word), c.Value) << c.Word;
        EXPECT_EQ(HotKeyControlFromShortCut(c.Value), c.Word) << c.Value;
    }
    EXPECT_EQ(ShortCutFromHotKeyControl(0x0400), 0u);                // a modifier alone is no combination
    EXPECT_EQ(ShortCutFromHotKeyControl(0x0841), 0x41u);             // the extended-key flag is not part of the code
    EXPECT_EQ(HotKeyControlFromShortCut(kHotKeyWin | 'A'), 0x0041);  // the control has no Win modifier
}
