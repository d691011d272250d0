#include "memory/memory_format.h"

#include <gtest/gtest.h>

namespace {
constexpr uint64_t kKiB = 1024, kMiB = kKiB * 1024, kGiB = kMiB * 1024;
const NumberSeparators kEnglish;
const NumberSeparators kGerman{".", ","};

struct TrayValueCase {
    uint64_t Bytes;
    bool Gigabytes;
    const char* English;
    const char* German;
};

TEST(FormatTrayValue, UnitBoundariesAndSeparators) {
    const TrayValueCase cases[] = {
        {0, false, "0", "0"},
        {9216, false, "9,216", "9.216"},
        {10239, true, "10,239", "10.239"},
        {10240, false, "10", "10"},
        {10485759, false, "10,240", "10.240"},
        {10485760, false, "10", "10"},
        {10485760, true, "0.01", "0,01"},
        {524288000, false, "500", "500"},
        {524288000, true, "0.49", "0,49"},
        {17179869184, false, "16,384", "16.384"},
        {17179869184, true, "16.00", "16,00"},
        {1325 * kGiB + kGiB / 2, true, "1,325.50", "1.325,50"},
        {1536 * kKiB * kKiB * kKiB * kKiB, false, "1,610,612,736", "1.610.612.736"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatTrayValue(c.Bytes, c.Gigabytes, kEnglish), c.English) << c.Bytes;
        EXPECT_EQ(FormatTrayValue(c.Bytes, c.Gigabytes, kGerman), c.German) << c.Bytes;
    }
    // Halves round up, in every unit.
    EXPECT_EQ(FormatTrayValue(10240 + 512, false, kEnglish), "11");
    EXPECT_EQ(FormatTrayValue(10240 + 511, false, kEnglish), "10");
    EXPECT_EQ(FormatTrayValue(kGiB / 8, true, kEnglish), "0.13");  // 0.125
    // A locale without grouping and with a multi-byte separator.
    EXPECT_EQ(FormatTrayValue(17179869184, false, {"", ","}), "16384");
    EXPECT_EQ(FormatTrayValue(17179869184, false, {"\xC2\xA0", ","}),
              "16\xC2\xA0"
              "384");
}

TEST(FormatByteSize, UnitsAreChosenStrictlyAbove) {
    const std::pair<uint64_t, const char*> cases[] = {
        {0, "0 bytes"},
        {1, "1 byte"},
        {2, "2 bytes"},
        {1024, "1024 bytes"},
        {1025, "1 KB"},
        {1536, "1.5 KB"},
        {kMiB, "1024 KB"},
        {kMiB + 1, "1 MB"},
        {500 * kMiB, "500 MB"},
        {kGiB, "1024 MB"},
        {kGiB + kGiB / 2, "1.5 GB"},
        {2 * kGiB + 10 * kMiB, "2.01 GB"},
        {16 * kGiB, "16 GB"},
        {2048 * kGiB, "2048 GB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(FormatByteSize(bytes, kEnglish), text) << bytes;
    EXPECT_EQ(FormatByteSize(kGiB + kGiB / 2, kGerman), "1,5 GB");
}

MemorySample Sample(uint32_t load) {
    MemorySample s;
    s.MemoryLoad = load;
    s.TotalPhys = 8 * kGiB;
    s.AvailPhys = 3 * kGiB;
    s.TotalPageFile = 12 * kGiB;
    s.AvailPageFile = 4 * kGiB + 9 * kKiB;
    return s;
}

TEST(SelectDisplayedValue, ChoosesByTheSettings) {
    struct Case {
        bool Percentage, Free, Page, Sign, Gigabytes;
        uint32_t Load;
        const char* Text;
    };
    const Case cases[] = {
        {true, false, false, false, true, 37, "37"},
        {true, true, false, false, true, 37, "63"},
        {true, true, false, true, true, 37, "63%"},
        {true, false, true, true, false, 100, "100%"},
        {false, false, false, false, true, 50, "5.00"},   // physical used
        {false, false, true, false, false, 50, "8,192"},  // page file used, megabytes
        {false, true, false, false, false, 50, "3,072"},  // physical free
        {false, true, false, false, false, 97, "3,072"},
        {false, true, false, false, false, 98, "0"},     // nothing free from 98 on
        {false, true, true, false, false, 99, "4,096"},  // the page file is not cut
    };
    for (const auto& c : cases) {
        Settings s;
        s.ShowPercentage = c.Percentage;
        s.ShowFree = c.Free;
        s.ShowPage = c.Page;
        s.ShowPercSign = c.Sign;
        s.OptimizeForGigabytes = c.Gigabytes;
        EXPECT_EQ(SelectDisplayedValue(Sample(c.Load), s, kEnglish), c.Text) << c.Load << " " << c.Text;
    }
    MemorySample small = Sample(10);
    small.AvailPageFile = small.TotalPageFile - 9 * kKiB;
    Settings page;
    page.ShowPage = true;
    EXPECT_EQ(SelectDisplayedValue(small, page, kEnglish), "9,216");
}

TEST(BuildTrayHint, ExactTextWithAndWithoutTheFirstLine) {
    Settings s;
    s.ShowFree = true;
    s.ShowPercentage = true;
    EXPECT_EQ(BuildTrayHint(Sample(62), s, kEnglish),
              "当前显示： 空闲 物理内存        %\r\n"
              "内存使用率   : 62%\r\n"
              "物理内存使用    : 5 GB/8 GB\r\n"
              "页面文件  : 8 GB/12 GB");
    s.ShowFree = false;
    s.ShowPage = true;
    s.ShowPercentage = false;
    MemorySample exact = Sample(62);
    exact.AvailPhys = exact.TotalPhys - kGiB;
    exact.AvailPageFile = exact.TotalPageFile - kMiB;
    EXPECT_EQ(BuildTrayHint(exact, s, kGerman),
              "当前显示： 已用 页面文件  \r\n"
              "内存使用率   : 62%\r\n"
              "物理内存使用    : 1024 MB/8 GB\r\n"
              "页面文件  : 1024 KB/12 GB");
    s.HintWhatIsDisplayed = false;
    EXPECT_EQ(BuildTrayHint(exact, s, kGerman).rfind("内存使用率   : 62%\r\n", 0), 0u);
    // A reading whose free figure exceeds the total shows nothing used rather than a wrapped-around amount.
    MemorySample odd = Sample(1);
    odd.AvailPhys = odd.TotalPhys + 1;
    EXPECT_NE(BuildTrayHint(odd, s, kEnglish).find("物理内存使用    : 0 bytes/8 GB"), std::string::npos);
}
}  // namespace
