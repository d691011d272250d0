#include "system/hot_key.h"

#include <array>

namespace {
constexpr unsigned kFirstMediaKey = 166;
constexpr std::array<const char*, 18> kMediaKeyNames = {
    "Browser Back",      "Browser Forward",     "Browser Refresh",    "Browser Stop",     "Browser Search",
    "Browser Favorites", "Browser Start/Home",  "Volume Mute",        "Volume Down",      "Volume Up",
    "Next Track",        "Previous Track",      "Stop Media",         "Play/Pause Media", "Start Mail",
    "Select Media",      "Start Application 1", "Start Application 2"};

constexpr uint16_t kControlShift = 0x01;
constexpr uint16_t kControlCtrl = 0x02;
constexpr uint16_t kControlAlt = 0x04;

// Characters of a UTF-8 text (continuation bytes are not counted).
size_t CharacterCount(const std::string& text) {
    size_t n = 0;
    for (unsigned char c : text)
        n += (c & 0xC0) != 0x80;
    return n;
}
}  // namespace

unsigned HotKeyModifierFlags(HotKeyValue value) {
    unsigned flags = 0;
    if (value & kHotKeyAlt)
        flags |= kModAlt;
    if (value & kHotKeyCtrl)
        flags |= kModControl;
    if (value & kHotKeyShift)
        flags |= kModShift;
    if (value & kHotKeyWin)
        flags |= kModWin;
    return flags;
}

HotKeyValue HotKeyFromMessage(unsigned modifierFlags, unsigned virtualKey) {
    HotKeyValue value = 0;
    if (modifierFlags & kModShift)
        value |= kHotKeyShift;
    if (modifierFlags & kModControl)
        value |= kHotKeyCtrl;
    if (modifierFlags & kModAlt)
        value |= kHotKeyAlt;
    if (modifierFlags & kModWin)
        value |= kHotKeyWin;
    return value + (virtualKey & 0xFFFFu);
}

std::string HotKeyAtomName(HotKeyValue value) {
    return kHotKeyAtomPrefix + std::to_string(value);
}

bool IsExtendedNavigationKey(unsigned virtualKey) {
    return (virtualKey >= 33 && virtualKey <= 40) || virtualKey == 45 || virtualKey == 46;
}

std::string MediaKeyName(unsigned virtualKey) {
    if (virtualKey < kFirstMediaKey || virtualKey >= kFirstMediaKey + kMediaKeyNames.size())
        return {};
    return kMediaKeyNames[virtualKey - kFirstMediaKey];
}

std::string WinNameFor(const std::string& altName) {
    if (altName.empty())
        return "Win";
    for (char c : altName) {
        if (c < 'A' || c > 'Z')
            return "Win";
    }
    return "WIN";
}

std::string ComposeHotKeyText(HotKeyValue value, const HotKeyModifierNames& names, const std::string& keyName) {
    std::string key = keyName;
    if (CharacterCount(key) <= 1) {
        std::string media = MediaKeyName(HotKeyVirtualKey(value));
        if (!media.empty())
            key = media;
    }
    std::string text;
    if (value & kHotKeyCtrl)
        text += names.Ctrl + "+";
    if (value & kHotKeyShift)
        text += names.Shift + "+";
    if (value & kHotKeyAlt)
        text += names.Alt + "+";
    if (value & kHotKeyWin)
        text += names.Win + "+";
    return text + key;
}

HotKeyValue ShortCutFromHotKeyControl(uint16_t word) {
    unsigned flags = word >> 8;
    HotKeyValue value = word & 0xFFu;
    if (value == 0)
        return 0;  // modifiers alone are no combination
    if (flags & kControlShift)
        value |= kHotKeyShift;
    if (flags & kControlCtrl)
        value |= kHotKeyCtrl;
    if (flags & kControlAlt)
        value |= kHotKeyAlt;
    return value;
}

uint16_t HotKeyControlFromShortCut(HotKeyValue value) {
    uint16_t flags = 0;
    if (value & kHotKeyShift)
        flags |= kControlShift;
    if (value & kHotKeyCtrl)
        flags |= kControlCtrl;
    if (value & kHotKeyAlt)
        flags |= kControlAlt;
    if (HotKeyVirtualKey(value) == 0)
        return 0;
    return static_cast<uint16_t>((flags << 8) | HotKeyVirtualKey(value));
}
