#include "widgets/font_dialog_win.h"
#include "platform/common_dialogs_win.h"

#include <commdlg.h>

#include <string>

#include "platform/text_win.h"
#include "platform/unique_handle_win.h"
#include "widgets/color_combo_win.h"

namespace {
int ScreenDpi() {
    WindowDc dc(nullptr);
    return GetDeviceCaps(dc.Get(), LOGPIXELSY);
}
}  // namespace

LOGFONTW LogFontFromSpec(const FontSpec& f, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(f.Size, dpi, 72);
    lf.lfWeight = (f.Style & 1) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (f.Style & 2) != 0;
    lf.lfUnderline = (f.Style & 4) != 0;
    lf.lfStrikeOut = (f.Style & 8) != 0;
    lf.lfCharSet = static_cast<BYTE>(f.CharSet);
    std::wstring face = Widen(f.Name).substr(0, LF_FACESIZE - 1);
    face.copy(lf.lfFaceName, face.size());
    return lf;
}

FontSpec SpecFromLogFont(const LOGFONTW& lf, int dpi, ColorValue color) {
    FontSpec f;
    f.Name = Narrow(lf.lfFaceName);
    f.CharSet = lf.lfCharSet;
    f.Color = color;
    int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    f.Size = MulDiv(height, 72, dpi);
    f.Style =
        (lf.lfWeight >= FW_BOLD ? 1 : 0) | (lf.lfItalic ? 2 : 0) | (lf.lfUnderline ? 4 : 0) | (lf.lfStrikeOut ? 8 : 0);
    return f;
}

bool ExecuteFontDialog(HWND owner, FontSpec& font) {
    int dpi = ScreenDpi();
    LOGFONTW lf = LogFontFromSpec(font, dpi);
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    cf.rgbColors = ToColorRef(font.Color);
    if (!ShowChooseFont(cf))
        return false;
    // The dialog reports the size in tenths of a point, which is exact where the height is not.
    font = SpecFromLogFont(lf, dpi, static_cast<ColorValue>(cf.rgbColors & 0xFFFFFFu));
    if (cf.iPointSize > 0)
        font.Size = (cf.iPointSize + 5) / 10;
    return true;
}
