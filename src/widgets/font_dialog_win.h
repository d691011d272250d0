#pragma once

#include <windows.h>

#include "settings/settings.h"

// The display font's description as a LOGFONT for a device of dpi pixels per inch, and back.
LOGFONTW LogFontFromSpec(const FontSpec& font, int dpi);
FontSpec SpecFromLogFont(const LOGFONTW& logFont, int dpi, ColorValue color);

// The font dialog with effects: name, size, style, character set and colour. False when cancelled; the font is
// unchanged then.
bool ExecuteFontDialog(HWND owner, FontSpec& font);
