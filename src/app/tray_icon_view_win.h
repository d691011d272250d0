#pragma once

#include <windows.h>

#include <memory>

#include "app/system_hooks_win.h"
#include "memory/memory_sample.h"
#include "platform/unique_handle_win.h"
#include "settings/settings.h"
#include "tray/tray_icon_win.h"
#include "tray/tray_picture_win.h"
#include "tray/tray_renderer.h"

// What the refresh tick shows in the notification area: the picture at the area's icon size, in the theme's
// colours or high contrast's, with the display font; and what was last sent, so a tick that changes nothing sends
// nothing.
class TrayIconView {
  public:
    // Reads the DPI and the high-contrast state through hooks.PrimaryDpi and hooks.HighContrast.
    explicit TrayIconView(const SystemHooks& hooks) : hooks_(hooks) {}

    // The icon's size and high-contrast state, read afresh; true when either changed.
    bool RefreshLook();
    // The font of the figure when the settings do not ask for the internal one.
    void SetDisplayFont(const FontSpec& font);
    void ReleaseDisplayFont() { displayFont_.Reset(); }
    // Draws the sample and sends picture and hint to the tray, unless both equal what it shows already.
    void Show(TrayIcon& tray, const MemorySample& sample, const Settings& settings);
    // A picture has been sent: the start-up tick has run.
    bool PictureShown() const { return pictureShown_; }
    int IconSize() const { return iconSize_; }

  private:
    const SystemHooks& hooks_;
    UniqueFont displayFont_;
    std::unique_ptr<GdiTextPainter> textPainter_;  // for the display font, made on first use
    bool pictureShown_ = false;
    TrayPicture shownPicture_;
    bool shownTransparent_ = false;
    int iconSize_ = kTrayImageSize;  // the notification area's icon size
    bool highContrast_ = false;
};
