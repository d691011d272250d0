#include "settings/color_text.h"

#include <gtest/gtest.h>

TEST(ColorText, TextToColorExamples) {
    struct Case {
        const char* Text;
        ColorValue Expected;
    } cases[] = {
        {"#FF8000", Rgb(255, 128, 0)},
        {"FF8000", Rgb(255, 128, 0)},
        {"ff8000", Rgb(255, 128, 0)},
        {"FF8000AA", Rgb(255, 128, 0)},
        {"threedface", 0},
        {"ThreeDFace", SystemColor(15)},
        {"#ThreeDFace", SystemColor(15)},
        {"1234", 0},
        {"12345", Rgb(0x12, 0x34, 0x05)},
        {"-1", 0},
        {"", 0},
        {"##FF8000", 0},
        {"GG0000", 0},
        {"InfoBackground", SystemColor(24)},
        {"ScrollBar", SystemColor(0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextToColor(c.Text), c.Expected) << c.Text;
}

TEST(ColorText, ColorToTextNamesAndDigits) {
    EXPECT_EQ(ColorToText(Rgb(255, 128, 0)), "FF8000");
    EXPECT_EQ(ColorToText(Rgb(1, 2, 3)), "010203");
    EXPECT_EQ(ColorToText(SystemColor(8)), "WindowText");
    EXPECT_EQ(ColorToText(SystemColor(16)), "ButtonShadow");
    // Outside the 25 names: the six digits of the low three bytes, which read back as RGB.
    EXPECT_EQ(ColorToText(SystemColor(25)), "190000");
    EXPECT_EQ(TextToColor(ColorToText(SystemColor(25))), Rgb(0x19, 0, 0));
}

TEST(ColorText, EveryColorRoundTrips) {
    for (int i = 0; i < kSystemColorCount; ++i)
        EXPECT_EQ(TextToColor(ColorToText(SystemColor(i))), SystemColor(i));
    for (ColorValue c : {Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(0x12, 0xAB, 0xEF)})
        EXPECT_EQ(TextToColor(ColorToText(c)), c);
}
