#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/window_win.h"
#include "system/hot_key.h"

using TOnHotKeyPressed = std::function<void(THotKeyValue hotKey, WORD index)>;

// System-wide key combinations, registered under global atoms "HotKeyManagerHotKey<value>" on a hidden window of
// its own; a registered combination that is pressed is reported through OnHotKeyPressed.
class THotKeyManager : public Window {
  public:
    THotKeyManager();
    ~THotKeyManager() override;

    // The atom id of the registration, 0 when the combination cannot be registered (it leaves no atom behind).
    WORD AddHotKey(THotKeyValue value);
    void ClearHotKeys();
    size_t Count() const { return registrations_.size(); }
    HWND Handle() const { return Hwnd(); }

    TOnHotKeyPressed OnHotKeyPressed;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    struct Registration {
        THotKeyValue Value;
        ATOM Id;
    };
    std::vector<Registration> registrations_;
};

// Readable text of a combination: localised key and modifier names, or the US English ones.
std::string HotKeyToText(THotKeyValue value, bool localised);
