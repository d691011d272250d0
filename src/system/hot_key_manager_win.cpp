#include "system/hot_key_manager_win.h"

#include "platform/text_win.h"

namespace {
constexpr wchar_t kWindowClass[] = L"LumivexHotKeyManager";
constexpr UINT kKlfNoTellShell = 0x80;  // KLF_NOTELLSHELL
constexpr int kMaxLayouts = 100;
constexpr int kKeyNameBufferSize = 256;
constexpr LPARAM kExtendedKeyBit = 0x1000000;

// The US English layout that non-localised names are read with, and the localised modifier names. Prepared on
// first use; the layout is unloaded at program end unless the user has it installed anyway.
class KeyboardNames {
  public:
    static KeyboardNames& Instance() {
        static KeyboardNames names;
        return names;
    }
    HKL UsLayout() const { return usLayout_; }
    bool UnloadUsLayout() const { return unloadUsLayout_; }
    const HotKeyModifierNames& Localised() const { return localised_; }
    const HotKeyModifierNames& English() const { return english_; }

  private:
    KeyboardNames();
    ~KeyboardNames() {
        if (usLayout_ && unloadUsLayout_)
            UnloadKeyboardLayout(usLayout_);
    }
    HKL usLayout_ = nullptr;
    bool unloadUsLayout_ = false;
    HotKeyModifierNames localised_;
    HotKeyModifierNames english_;
};

std::string KeyNameText(LPARAM argument) {
    wchar_t buffer[kKeyNameBufferSize] = {};
    int n = GetKeyNameTextW(static_cast<LONG>(argument), buffer, kKeyNameBufferSize);
    return Narrow(std::wstring_view(buffer, n > 0 ? static_cast<size_t>(n) : 0));
}

// GetKeyNameText's argument for a key: its scan code in bits 16-23, with the extended bit for the navigation block.
LPARAM KeyNameArgument(UINT scanCode, unsigned virtualKey) {
    LPARAM argument = static_cast<LPARAM>(scanCode) << 16;
    if (IsExtendedNavigationKey(virtualKey))
        argument |= kExtendedKeyBit;
    return argument;
}

std::string KeyName(unsigned virtualKey, bool localised) {
    KeyboardNames& names = KeyboardNames::Instance();
    HKL us = names.UsLayout();
    if (localised || !us) {
        LPARAM argument = KeyNameArgument(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC), virtualKey);
        return argument ? KeyNameText(argument) : std::string();
    }
    LPARAM argument = KeyNameArgument(MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, us), virtualKey);
    if (!argument)
        return {};
    // GetKeyNameText reads the active layout: the US one is made active for the call only.
    HKL previous = GetKeyboardLayout(0);
    if (previous == us)
        return KeyNameText(argument);
    ActivateKeyboardLayout(us, 0);
    std::string name = KeyNameText(argument);
    ActivateKeyboardLayout(previous, 0);
    return name;
}

KeyboardNames::KeyboardNames() {
    usLayout_ = LoadKeyboardLayoutW(L"00000409", kKlfNoTellShell);
    if (usLayout_) {
        HKL layouts[kMaxLayouts];
        int count = GetKeyboardLayoutList(kMaxLayouts, layouts);
        unloadUsLayout_ = true;
        for (int i = 0; i < count; ++i) {
            if (layouts[i] == usLayout_)
                unloadUsLayout_ = false;
        }
    }
    auto localisedName = [](unsigned vk) {
        LPARAM argument = KeyNameArgument(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC), vk);
        return argument ? KeyNameText(argument) : std::string();
    };
    localised_.Shift = localisedName(VK_SHIFT);
    localised_.Ctrl = localisedName(VK_CONTROL);
    localised_.Alt = localisedName(VK_MENU);
    localised_.Win = WinNameFor(localised_.Alt);
}
}  // namespace

std::string HotKeyToText(HotKeyValue value, bool localised) {
    KeyboardNames& names = KeyboardNames::Instance();
    return ComposeHotKeyText(value, localised ? names.Localised() : names.English(),
                             KeyName(HotKeyVirtualKey(value), localised));
}

HotKeyManager::HotKeyManager() {
    CreateWindowOf(kWindowClass, 0, WS_POPUP, L"", HWND_MESSAGE, 0, 0, 0, 0);
}

HotKeyManager::~HotKeyManager() {
    ClearHotKeys();
    DestroyOwnWindow();
}

WORD HotKeyManager::AddHotKey(HotKeyValue value) {
    // Without a key (0 is "no hot key") nothing can be pressed: such a value is not registered at all.
    if (HotKeyVirtualKey(value) == 0)
        return 0;
    ATOM id = GlobalAddAtomW(Widen(HotKeyAtomName(value)).c_str());
    if (!id)
        return 0;
    if (!RegisterHotKey(Hwnd(), id, HotKeyModifierFlags(value), HotKeyVirtualKey(value))) {
        GlobalDeleteAtom(id);
        return 0;
    }
    registrations_.push_back({value, id});
    return id;
}

void HotKeyManager::ClearHotKeys() {
    for (auto it = registrations_.rbegin(); it != registrations_.rend(); ++it) {
        UnregisterHotKey(Hwnd(), it->Id);
        GlobalDeleteAtom(it->Id);
    }
    registrations_.clear();
}

LRESULT HotKeyManager::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_HOTKEY && OnHotKeyPressed) {
        HotKeyValue value = HotKeyFromMessage(LOWORD(lParam), HIWORD(lParam));
        for (const Registration& r : registrations_) {
            if (r.Value == value) {
                OnHotKeyPressed(value, LOWORD(wParam));
                break;
            }
        }
    }
    return Window::HandleMessage(msg, wParam, lParam);
}
