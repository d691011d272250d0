#include <gtest/gtest.h>

#include "widgets/font_dialog_win.h"

TEST(FontDialog, LogFontAndSpecRoundTrip) {
    FontSpec cases[] = {
        {"Tahoma", 1, 0, 6, 0},
        {"Courier New", 0, 0x123456, 9, 1 | 2},
        {"微软雅黑", 134, 0xFF, 12, 4 | 8},
    };
    for (const FontSpec& f : cases) {
        for (int dpi : {96, 120, 144}) {
            LOGFONTW lf = LogFontFromSpec(f, dpi);
            EXPECT_LT(lf.lfHeight, 0);
            EXPECT_EQ(SpecFromLogFont(lf, dpi, f.Color), f) << f.Name << " " << dpi;
        }
    }
}
