#include <gtest/gtest.h>

#include "tray/high_contrast.h"
#include "tray/tray_renderer.h"

namespace {
// A colour table whose three high-contrast colours stand out from every other entry.
class MarkedColors : public ISystemColors {
  public:
    uint32_t SysColor(int index) const override {
        switch (index) {
            case 5:
                return 0x000001;  // COLOR_WINDOW
            case 8:
                return 0xFFFFFE;  // COLOR_WINDOWTEXT
            case 13:
                return 0x00FF00;  // COLOR_HIGHLIGHT
            default:
                return 0x808080;
        }
    }
};
}  // namespace

TEST(HighContrast, EveryLookDrawsOnlyWindowTextAndHighlightInTheSameLayout) {
    const MarkedColors colors;
    MemorySample sample;
    sample.MemoryLoad = 93;  // red gauge
    sample.TotalPhys = sample.TotalPageFile = 8ull << 30;
    sample.AvailPhys = sample.AvailPageFile = 1ull << 30;
    for (int mask = 0; mask < 32; ++mask) {
        Settings s;
        s.ShowPercentage = mask & 1;
        s.NoBorder = mask & 2;
        s.FullBar = mask & 4;
        s.StandardGauge = mask & 8;
        s.BarBottom = mask & 16;
        s.GreenColor = s.YellowColor = s.RedColor = Rgb(200, 10, 10);
        s.OpaqueBkColor = Rgb(30, 30, 30);
        s.Font.Color = s.FontColor = Rgb(250, 250, 0);
        const Settings look = HighContrastLook(s);
        EXPECT_EQ(look.ShowPercentage, s.ShowPercentage);
        EXPECT_EQ(look.TransBk, s.TransBk);
        const TrayPicture picture = RenderTrayImage(sample, look, TrayRenderContext{colors, nullptr, {}}).Picture;
        bool highlight = false;
        for (uint32_t c : picture.Pixels) {
            EXPECT_TRUE(c == 0x000001 || c == 0xFFFFFE || c == 0x00FF00) << mask << " " << std::hex << c;
            highlight = highlight || c == 0x00FF00;
        }
        EXPECT_TRUE(highlight) << mask;  // the gauge
    }
}
