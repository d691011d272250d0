#include "tray/tray_picture_win.h"

#include "tray/recent_icons_win.h"

#include <gtest/gtest.h>

TEST(GdiTextPainter, DrawsTheFigureInTheDisplayFontAndLeavesTheRest) {
    FontSpec font;
    font.Size = 9;
    GdiTextPainter painter(font);
    const int width = painter.TextWidth("88", kTrayImageSize), height = painter.TextHeight("1", kTrayImageSize);
    ASSERT_GT(width, 4);
    ASSERT_GT(height, 4);
    TrayPicture picture;
    picture.Fill(0, 0, kTrayImageSize, kTrayImageSize, 0xFFFFFF);
    picture.Fill(0, 0, kTrayImageSize, 2, 0x00FF00);  // a gauge row the text must not touch
    painter.PaintText(picture, 2, 4, "88", 0x0000FF);
    int inked = 0;
    for (int y = 0; y < kTrayImageSize; ++y) {
        for (int x = 0; x < kTrayImageSize; ++x) {
            const uint32_t c = picture.At(x, y);
            if (y < 2) {
                EXPECT_EQ(c, 0x00FF00u);
            }
            if (c != 0xFFFFFF && y >= 2) {
                ++inked;
                EXPECT_GE(x, 2);
                EXPECT_GE(y, 4);
                // Red text on white: no blue or green appears beyond white's own.
                EXPECT_GE(c & 0xFF, (c >> 8) & 0xFF);
            }
        }
    }
    EXPECT_GT(inked, 6);
}

TEST(GdiTextPainter, TheOwnerMayReplaceAndDeleteItsFontBetweenUses) {
    FontSpec small, large;
    small.Size = 6;
    large.Size = 14;
    UniqueFont first = CreateDisplayFont(small);
    GdiTextPainter painter(first.Get());
    TrayPicture picture;
    painter.PaintText(picture, 0, 0, "8", 0);
    const int smallWidth = painter.TextWidth("888", kTrayImageSize);
    UniqueFont second = CreateDisplayFont(large);
    painter.SetFont(second.Get());
    EXPECT_TRUE(DeleteObject(first.Release()));  // not held by the painter's device context
    EXPECT_GT(painter.TextWidth("888", kTrayImageSize), smallWidth);
}

TEST(GdiTextPainter, ScalesTheFontWithThePictureAndPaintsTheWholePicture) {
    FontSpec font;
    font.Size = 9;
    GdiTextPainter painter(font);
    const int width16 = painter.TextWidth("88", kTrayImageSize), height16 = painter.TextHeight("1", kTrayImageSize);
    EXPECT_GE(painter.TextWidth("88", 32), 2 * width16 - 2);
    EXPECT_GE(painter.TextHeight("1", 32), 2 * height16 - 2);
    EXPECT_EQ(painter.TextWidth("88", kTrayImageSize), width16);  // the classic size keeps the font as it is
    TrayPicture picture(32);
    picture.Fill(0, 0, 32, 32, 0xFFFFFF);
    painter.PaintText(picture, 20, 20, "8", 0);
    int inkedLowerRight = 0;
    for (int y = 20; y < 32; ++y) {
        for (int x = 20; x < 32; ++x)
            inkedLowerRight += picture.At(x, y) != 0xFFFFFF;
    }
    EXPECT_GT(inkedLowerRight, 6);
}

TEST(RecentIcons, APictureThatComesBackKeepsItsIconAndTheLeastRecentGoesFirst) {
    RecentIcons icons;
    auto picture = [](uint32_t color) {
        TrayPicture p;
        p.Fill(0, 0, kTrayImageSize, kTrayImageSize, color);
        return p;
    };
    UniqueIcon evicted;
    HICON first = icons.IconFor(picture(1), false, evicted);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(icons.IconFor(picture(1), false, evicted), first);
    EXPECT_NE(icons.IconFor(picture(1), true, evicted), first);  // a transparent one is another icon
    HICON second = icons.IconFor(picture(2), false, evicted);
    EXPECT_FALSE(evicted);
    icons.IconFor(picture(1), false, evicted);  // the first is the most recent again
    icons.IconFor(picture(3), false, evicted);
    icons.IconFor(picture(4), false, evicted);  // the transparent one of 1 goes: the least recently shown
    EXPECT_TRUE(evicted);
    evicted.Reset();
    EXPECT_EQ(icons.IconFor(picture(1), false, evicted), first);
    EXPECT_EQ(icons.IconFor(picture(2), false, evicted), second);
    EXPECT_FALSE(evicted);
}
