// Shell text fields and the icon mask of the tray picture.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tray/icon_mask.h"
#include "tray/notify_text.h"

TEST(CutToUtf16Units, KeepsWholeCharactersWithinTheLimit) {
    const std::string chinese = "内存";            // one unit each, three bytes each
    const std::string emoji = "\xF0\x9F\x98\x80";  // outside the basic plane: two units
    struct Case {
        std::string Text;
        size_t Max;
        std::string Expected;
    } cases[] = {
        {"", 127, ""},
        {"abc", 2, "ab"},
        {"abc", 3, "abc"},
        {chinese, 1, "内"},
        {"a" + emoji, 2, "a"},  // the pair would not fit: never half of it
        {"a" + emoji, 3, "a" + emoji},
        {"a\xFF"
         "b",
         2, "a\xFF"},                     // a stray byte counts as one character
        {"ab\xE5\x86", 3, "ab\xE5\x86"},  // a cut-off sequence at the end stays one character
    };
    for (const Case& c : cases)
        EXPECT_EQ(CutToUtf16Units(c.Text, c.Max), c.Expected) << c.Text << " " << c.Max;
    EXPECT_EQ(CutToUtf16Units(std::string(200, 'x'), kTipUnits).size(), 127u);
}

TEST(BuildIconMask, MaskColourBecomesTransparentAndTheRestOpaque) {
    // 3 x 2 picture; the mask colour 0x030303 sits at (0,0) and (2,1); red (colour value 0x0000FF) at (1,0).
    std::vector<uint32_t> pixels = {0x030303, 0xFF0000, 0x102030, 0x000000, 0x111111, 0x030303};
    std::vector<uint8_t> mask = BuildIconMask(pixels, 3, 2, 0x030303);
    ASSERT_EQ(mask.size(), 4u);  // rows padded to 16 bits
    EXPECT_EQ(mask[0], 0x80);
    EXPECT_EQ(mask[2], 0x20);
    EXPECT_THAT(pixels, ::testing::ElementsAre(0u, 0xFFFF0000u, 0xFF102030u, 0xFF000000u, 0xFF111111u, 0u));

    // Without a mask colour nothing is transparent; a picture with its own alpha keeps it.
    std::vector<uint32_t> alpha = {0x80030303, 0x00FFFFFF};
    mask = BuildIconMask(alpha, 2, 1, kNoMaskColor);
    EXPECT_EQ(mask[0], 0);
    EXPECT_THAT(alpha, ::testing::ElementsAre(0x80030303u, 0x00FFFFFFu));

    // The mask colour is red in its low byte, a pixel blue in its low byte.
    std::vector<uint32_t> blue = {0x0000FF, 0xFF0000};
    BuildIconMask(blue, 2, 1, 0x0000FF);
    EXPECT_THAT(blue, ::testing::ElementsAre(0xFF0000FFu, 0u));
}
