#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/unique_handle_win.h"
#include "tray/tray_renderer.h"

// The icons of the last few pictures the tray showed.
class RecentIcons {
  public:
    static constexpr size_t kCount = 4;

    // The picture's icon: a kept one, or a new one in the place of the least recently shown, which goes to
    // `evicted` (to be destroyed once the shell has the new one). Null when the icon cannot be made.
    HICON IconFor(const TrayPicture& picture, bool transparent, UniqueIcon& evicted);

  private:
    struct Entry {
        TrayPicture Picture{0};
        bool Transparent = false;
        UniqueIcon Icon;
        uint64_t LastUse = 0;
    };
    std::array<Entry, kCount> entries_;
    uint64_t uses_ = 0;
};
