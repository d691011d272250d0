#include "app/tray_icon_view_win.h"

#include "memory/memory_status_win.h"
#include "platform/dpi_win.h"
#include "tray/high_contrast.h"

// The icon is drawn at the small-icon size for the DPI of the monitor that holds the notification area, so the
// shell shows it pixel for pixel instead of stretching a 16-pixel picture.
bool TrayIconView::RefreshLook() {
    const int size = TrayIconSizeForDpi(hooks_.PrimaryDpi());
    const bool highContrast = hooks_.HighContrast();
    const bool changed = size != iconSize_ || highContrast != highContrast_;
    iconSize_ = size;
    highContrast_ = highContrast;
    return changed;
}

void TrayIconView::SetDisplayFont(const FontSpec& font) {
    // Made for 96 dpi: the text painter scales it with the picture (size / 16), whatever the screen's DPI.
    displayFont_ = CreateFontForDpi(font, 96);
}

void TrayIconView::Show(TrayIcon& tray, const MemorySample& sample, const Settings& settings) {
    ITrayTextPainter* text = nullptr;
    if (!settings.InternalFont) {
        if (!textPainter_)
            textPainter_ = std::make_unique<GdiTextPainter>(displayFont_.Get());
        textPainter_->SetFont(displayFont_.Get());  // the options may have made a new one since the last tick
        text = textPainter_.get();
    }
    const GdiSystemColors colors;
    TrayRenderContext context{colors, text, UserNumberSeparators()};
    context.Size = iconSize_;
    const TrayImage image = RenderTrayImage(sample, highContrast_ ? HighContrastLook(settings) : settings, context);

    // The shell call is most of a tick's cost: a tick that would show the same picture (of the same size) and hint
    // sends nothing.
    const bool transparent = settings.TransBk;
    if (!pictureShown_ || image.Picture != shownPicture_ || transparent != shownTransparent_ ||
        image.Hint != tray.Hint()) {
        tray.SetPictureAndHint(image.Picture, transparent, image.Hint);
        shownPicture_ = image.Picture;
        shownTransparent_ = transparent;
        pictureShown_ = true;
    }
}
