#include "platform/fixed_text.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(FixedText, NumbersInEitherBaseWithLeadingZeros) {
    char out[64];
    FixedText text(out, sizeof out);
    text.Decimal(0).Add(" ").Decimal(7, 3).Add(" ").Decimal(12345, 2).Add(" ").Decimal(UINT64_MAX);
    text.Add(" ").Hex(0xC0000005u, 8).Add(" ").Hex(0x4b0, 4, true).Add(" ").Hex(UINT64_MAX, 16);
    EXPECT_TRUE(text.Fits());
    EXPECT_STREQ(out, "0 007 12345 18446744073709551615 C0000005 04b0 FFFFFFFFFFFFFFFF");
    EXPECT_EQ(text.Length(), std::strlen(out));
}

TEST(FixedText, WhatDoesNotFitIsCutAndTheTextStaysTerminated) {
    char out[6] = "xxxxx";
    FixedText text(out, 5);
    EXPECT_TRUE(text.Add("abcd").Fits());  // four characters and the NUL fill five
    EXPECT_FALSE(text.Decimal(42).Fits());
    EXPECT_STREQ(out, "abcd");
    EXPECT_EQ(out[5], '\0');  // nothing written past the given size

    char one[1] = {'x'};
    FixedText empty(one, 1);
    EXPECT_FALSE(empty.Hex(1).Fits());
    EXPECT_EQ(one[0], '\0');
    EXPECT_FALSE(FixedText(nullptr, 10).Add("a").Fits());
}
