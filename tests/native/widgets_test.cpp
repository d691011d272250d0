#include <gtest/gtest.h>

#include "memory_profile.h"
#include "widgets/custom_colors.h"
#include "widgets/link_markup.h"

TEST(LinkMarkup, BecomesSysLinkAnchors) {
    EXPECT_EQ(LinkMarkupToSysLink("托盘栏颜色可到 <link>主题</link> 进行自定义"),
              "托盘栏颜色可到 <a>主题</a> 进行自定义");
    EXPECT_EQ(LinkMarkupToSysLink("no link"), "no link");
}

TEST(CustomColors, SixteenKeysBlueFirstAndWhiteWhenMissing) {
    MemoryProfile p;
    p.Set("自定义颜色", "ColorA", "9B5713");
    p.Set("自定义颜色", "ColorB", "zz");
    p.Set("自定义颜色", "ColorC", "1234567");
    p.Set("自定义颜色", "ColorP", "0000ff");
    CustomColors c = ReadCustomColors(p);
    EXPECT_EQ(c[0], 0x9B5713u);  // blue 9B, green 57, red 13
    EXPECT_EQ(c[1], 0xFFFFFFu);
    EXPECT_EQ(c[2], 0xFFFFFFu);
    EXPECT_EQ(c[3], 0xFFFFFFu);
    EXPECT_EQ(c[15], 0x0000FFu);

    MemoryProfile out;
    ASSERT_TRUE(WriteCustomColors(out, c));
    ASSERT_EQ(out.Writes.size(), 16u);
    EXPECT_EQ(out.Writes.front().second, "ColorA");
    EXPECT_EQ(out.Writes.back().second, "ColorP");
    EXPECT_EQ(out.ReadString("自定义颜色", "ColorA", ""), "9B5713");
    EXPECT_EQ(out.ReadString("自定义颜色", "ColorP", ""), "0000FF");
}
