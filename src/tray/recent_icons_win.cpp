#include "tray/recent_icons_win.h"

#include "tray/tray_picture_win.h"

// Memory load moves among a few values, so the picture of a tick is mostly one shown a moment ago: keeping the last
// few icons spares making (and destroying) an icon, the costliest part of a tick after the shell's own call.
HICON RecentIcons::IconFor(const TrayPicture& picture, bool transparent, UniqueIcon& evicted) {
    Entry* oldest = &entries_[0];
    for (Entry& e : entries_) {
        if (e.Icon && e.Transparent == transparent && e.Picture == picture) {
            e.LastUse = ++uses_;
            return e.Icon.Get();
        }
        if (e.LastUse < oldest->LastUse)
            oldest = &e;
    }
    UniqueIcon icon = PictureToIcon(picture, transparent);
    if (!icon)
        return nullptr;
    evicted = std::move(oldest->Icon);
    oldest->Icon = std::move(icon);
    oldest->Picture = picture;
    oldest->Transparent = transparent;
    oldest->LastUse = ++uses_;
    return oldest->Icon.Get();
}
