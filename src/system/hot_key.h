#pragma once

#include <cstdint>
#include <string>

// A hot key value: the virtual key in bits 0-7 plus modifier bits (the menu shortcut layout, with Win above it).
// 32833 (0x8041) is Alt+A; 0 is no hot key.
using HotKeyValue = uint32_t;
constexpr HotKeyValue kHotKeyShift = 0x2000;
constexpr HotKeyValue kHotKeyCtrl = 0x4000;
constexpr HotKeyValue kHotKeyAlt = 0x8000;
constexpr HotKeyValue kHotKeyWin = 0x10000;

// RegisterHotKey's modifier flags (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN).
constexpr unsigned kModAlt = 1;
constexpr unsigned kModControl = 2;
constexpr unsigned kModShift = 4;
constexpr unsigned kModWin = 8;

inline constexpr char kHotKeyAtomPrefix[] = "HotKeyManagerHotKey";

constexpr unsigned HotKeyVirtualKey(HotKeyValue value) {
    return value & 0xFFu;
}
unsigned HotKeyModifierFlags(HotKeyValue value);
// The value a WM_HOTKEY reports: modifier flags from lParam's low word, virtual key from its high word.
HotKeyValue HotKeyFromMessage(unsigned modifierFlags, unsigned virtualKey);
std::string HotKeyAtomName(HotKeyValue value);

// Page Up/Down, End, Home, the arrows, Insert and Delete: named as extended keys so that the navigation block is
// meant, not the numeric keypad.
bool IsExtendedNavigationKey(unsigned virtualKey);
// English names of the browser, volume, media and launch keys (166-183); empty for any other key.
std::string MediaKeyName(unsigned virtualKey);

struct HotKeyModifierNames {
    std::string Shift = "Shift";
    std::string Ctrl = "Ctrl";
    std::string Alt = "Alt";
    std::string Win = "Win";
};
// "WIN" when the Alt name is written in capitals A-Z only, so the four names match; "Win" otherwise.
std::string WinNameFor(const std::string& altName);
// Ctrl, Shift, Alt, Win (those set), each followed by "+", then the key name; a key name of at most one character
// for keys 166-183 is replaced by the English media-key name.
std::string ComposeHotKeyText(HotKeyValue value, const HotKeyModifierNames& names, const std::string& keyName);

// The common hot-key control's word (virtual key in the low byte, HOTKEYF_SHIFT 1, HOTKEYF_CONTROL 2, HOTKEYF_ALT 4
// in the high byte) to and from the shortcut code that the settings store. The control has no Win modifier.
HotKeyValue ShortCutFromHotKeyControl(uint16_t word);
uint16_t HotKeyControlFromShortCut(HotKeyValue value);
