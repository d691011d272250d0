#include "settings/color_text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/texts.h"

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

// The lists name system colours in the chosen language while files keep the system's names.
TEST(ColorText, SystemColorTitlesFollowTheLanguageAndFilesKeepTheNames) {
    const struct {
        int Index;
        const char* Chinese;
        const char* English;
        const char* Stored;
    } cases[] = {
        {0, "滚动条", "Scroll bar", "ScrollBar"},
        {8, "窗口文本", "Window text", "WindowText"},
        {21, "三维深阴影", "3D dark shadow", "ThreeDDarkShadow"},
        {24, "工具提示背景", "Tooltip background", "InfoBackground"},
        {25, "", "", "190000"},
        {-1, "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SystemColorTitle(c.Index), c.Chinese) << c.Index;
        SetLanguage(Language::English);
        EXPECT_EQ(SystemColorTitle(c.Index), c.English) << c.Index;
        if (c.Index >= 0) {
            EXPECT_EQ(ColorToText(SystemColor(c.Index)), c.Stored) << c.Index;
        }
        SetLanguage(Language::Chinese);
    }
    // One title per colour, none repeated: the list tells them apart by name alone.
    for (Language language : {Language::Chinese, Language::English}) {
        SetLanguage(language);
        std::set<std::string> titles;
        for (int i = 0; i < kSystemColorCount; ++i)
            titles.insert(SystemColorTitle(i));
        EXPECT_EQ(titles.size(), static_cast<size_t>(kSystemColorCount));
    }
    SetLanguage(Language::Chinese);
}
