#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/window_win.h"
#include "system/hot_key.h"

using HotKeyPressedEvent = std::function<void(HotKeyValue hotKey, WORD index)>;

// System-wide key combinations, registered under global atoms "HotKeyManagerHotKey<value>" on a hidden window of
// its own; a registered combination that is pressed is reported through OnHotKeyPressed.
class HotKeyManager : public Window {
  public:
    HotKeyManager();
    ~HotKeyManager() override;

    // The atom id of the registration, 0 when the combination cannot be registered (it leaves no atom behind).
    WORD AddHotKey(HotKeyValue value);
    void ClearHotKeys();
    size_t Count() const { return registrations_.size(); }
    HWND Handle() const { return Hwnd(); }

    HotKeyPressedEvent OnHotKeyPressed;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    struct Registration {
        HotKeyValue Value;
        ATOM Id;
    };
    std::vector<Registration> registrations_;
};

// Readable text of a combination: localised key and modifier names, or the US English ones.
std::string HotKeyToText(HotKeyValue value, bool localised);
