#include "options/options_text.h"

#include <gtest/gtest.h>

TEST(OptionsText, HighLabelShowsTheRedThresholdWithOnePercentSign) {
    EXPECT_EQ(HighLabelText(90), "触发事件（当内存超出    90%  ）时，执行：      ");
    EXPECT_EQ(HighLabelText(100), "触发事件（当内存超出    100%  ）时，执行：      ");
}

TEST(OptionsText, FontPanel) {
    FontSpec f;
    EXPECT_EQ(FontPanelText(f), "Tahoma, 6pt");
    f.Name = "微软雅黑";
    f.Size = 12;
    EXPECT_EQ(FontPanelText(f), "微软雅黑, 12pt");
}
