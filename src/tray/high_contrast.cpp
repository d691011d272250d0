#include "tray/high_contrast.h"

namespace {
constexpr ColorValue kClWindow = SystemColor(5);
constexpr ColorValue kClHighlight = SystemColor(13);
}  // namespace

// The background follows the user's choice of transparent or opaque, so the layout does not move; the figures
// and the gauge's outline take the text colour, the gauge the highlight colour, which high-contrast schemes
// choose to stand out against the window colour.
Settings HighContrastLook(const Settings& settings) {
    Settings s = settings;
    s.FontColor = kClWindowText;
    s.Font.Color = kClWindowText;
    s.OpaqueBkColor = kClWindow;
    s.FullBarColor = kClWindow;
    s.BarBorderColor = kClWindowText;
    s.GreenColor = kClHighlight;
    s.YellowColor = kClHighlight;
    s.RedColor = kClHighlight;
    return s;
}
