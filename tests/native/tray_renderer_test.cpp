#include "tray/tray_renderer.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "tray/digit_strip.h"

#include "tray_art.h"

using namespace TrayArt;

namespace {
constexpr uint64_t kKiB = 1024, kMiB = kKiB * 1024, kGiB = kMiB * 1024;

MemorySample Sample(uint32_t load, uint64_t usedPhys = 2 * kGiB) {
    MemorySample s;
    s.MemoryLoad = load;
    s.TotalPhys = 16384 * kGiB;
    s.AvailPhys = s.TotalPhys - usedPhys;
    s.TotalPageFile = 16 * kGiB;
    s.AvailPageFile = 8 * kGiB;
    return s;
}

Settings Percent() {
    Settings s;
    s.ShowPercentage = true;
    s.OptimizeForGigabytes = false;
    s.FullBarColor = static_cast<ColorValue>(kFullBar);
    return s;
}

TrayImage Render(const MemorySample& sample, const Settings& s, ITrayTextPainter* text = nullptr) {
    Windows10SystemColors colors;
    return RenderTrayImage(sample, s, TrayRenderContext{colors, text, {}});
}

TEST(RenderTrayImage, OutlinedGaugeWithTwoLargeDigits) {
    Settings s = Percent();
    s.NoBorder = false;
    EXPECT_EQ(Art(Render(Sample(42), s).Picture), Rows({
                                                      "bbbbbbbbbbbbbbbb",
                                                      "bggggg.........b",
                                                      "bggggg.........b",
                                                      "bggggg.........b",
                                                      "bbbbbbbbbbbbbbbb",
                                                      "................",
                                                      ".....#....####..",
                                                      "....##...##..##.",
                                                      "...###.......##.",
                                                      "..#.##......##..",
                                                      ".#..##.....##...",
                                                      ".######...##....",
                                                      "....##...##.....",
                                                      "....##...######.",
                                                      "................",
                                                      "................",
                                                  }));
}

TEST(RenderTrayImage, TransparentWideGaugeWithGigabytesAndDecimalPoint) {
    Settings s;  // NoBorder, built-in digits, used physical memory in gigabytes
    s.TransBk = true;
    TrayImage image = Render(Sample(95, 3704409293), s);  // 3.45 GB
    EXPECT_EQ(image.Text, "3.45");
    EXPECT_EQ(Art(image.Picture), Rows({
                                      "rrrrrrrrrrrrrrrr",
                                      "rrrrrrrrrrrrrrrr",
                                      "rrrrrrrrrrrrrrrr",
                                      "rrrrrrrrrrrrrrrr",
                                      "TTTTTTTTTTTTTTTT",
                                      "TTTTTTTTTTTTTTTT",
                                      "TTTTTTTTTTTTTTTT",
                                      "###TTTT#TT#TT###",
                                      "TTT#TTT#TT#T#TTT",
                                      "TTT#TTT#TT#T#TTT",
                                      "TTT#TTT#TT#T#TTT",
                                      "###TTTT####TT##T",
                                      "TTT#TTTTTT#TTTT#",
                                      "TTT#TTTTTT#TTTT#",
                                      "TTT#TTTTTT#TTTT#",
                                      "###TT#TTTT#T###T",
                                  }));
}

struct Probe {
    int X, Y;
    char Color;
};
void ExpectPixels(const TrayPicture& picture, const std::vector<Probe>& probes, const char* name) {
    for (const Probe& p : probes) {
        EXPECT_EQ(Letter(picture.At(p.X, p.Y)), p.Color) << name << " at (" << p.X << ", " << p.Y << ")\n"
                                                         << Art(picture);
    }
}

struct LayoutCase {
    const char* Name;
    std::function<void(Settings&)> Adjust;
    uint32_t Load;
    std::vector<Probe> Probes;
};

TEST(RenderTrayImage, LayoutsPixelByPixel) {
    const LayoutCase cases[] = {
        {"bar at the bottom inside its outline, digits from row 1",
         [](Settings& s) { s.NoBorder = false, s.BarBottom = true; },
         42,
         {{0, 10, '.'},
          {0, 11, 'b'},
          {15, 15, 'b'},
          {5, 12, 'g'},
          {5, 14, 'g'},
          {6, 13, '.'},
          {5, 0, '.'},
          {5, 1, '#'}}},
        {"bar at the bottom without outline",
         [](Settings& s) { s.BarBottom = true; },
         42,
         {{1, 11, '.'}, {1, 12, 'g'}, {5, 14, 'g'}, {1, 15, '.'}, {5, 1, '#'}}},
        {"transparent bar at the bottom, four rows from column 0",
         [](Settings& s) { s.BarBottom = true, s.TransBk = true; },
         42,
         {{0, 11, 'T'}, {0, 12, 'g'}, {5, 15, 'g'}, {6, 12, 'T'}, {5, 1, '#'}}},
        {"outline without built-in digits is one column and row shorter",
         [](Settings& s) { s.NoBorder = false, s.InternalFont = false; },
         42,
         {{0, 0, '.'}, {0, 1, 'b'}, {14, 1, 'b'}, {15, 1, '.'}, {14, 3, 'b'}, {5, 2, 'g'}, {0, 4, '.'}}},
        {"standard gauge in the outline",
         [](Settings& s) { s.NoBorder = false, s.StandardGauge = true; },
         100,
         {{2, 2, 'r'},
          {3, 1, '.'},
          {3, 3, '.'},
          {6, 2, '.'},
          {9, 2, '.'},
          {12, 2, '.'},
          {14, 1, 'r'},
          {15, 1, 'b'},
          {3, 0, 'b'},
          {3, 4, 'b'}}},
        {"standard gauge without outline, transparent",
         [](Settings& s) { s.StandardGauge = true, s.TransBk = true; },
         100,
         {{0, 0, 'r'}, {2, 0, 'T'}, {2, 3, 'T'}, {5, 1, 'T'}, {11, 2, 'T'}, {14, 3, 'r'}, {15, 0, 'T'}}},
        {"full bar behind the gauge",
         [](Settings& s) { s.FullBar = true; },
         50,
         {{0, 2, '.'}, {7, 2, 'g'}, {8, 1, 'f'}, {14, 3, 'f'}, {15, 2, '.'}, {8, 0, '.'}, {8, 4, '.'}}},
        {"full bar of a full wide gauge shows nothing",
         [](Settings& s) { s.FullBar = true, s.TransBk = true; },
         100,
         {{0, 0, 'r'}, {15, 3, 'r'}, {15, 4, 'T'}}},
        {"loads below 7 fill nothing from column 1", [](Settings&) {}, 6, {{0, 2, '.'}, {1, 2, '.'}}},
        {"loads below 7 fill column 0 of a transparent bar",
         [](Settings& s) { s.TransBk = true; },
         0,
         {{0, 0, 'g'}, {0, 3, 'g'}, {1, 0, 'T'}}},
        {"load 93 ends before the edge", [](Settings&) {}, 93, {{13, 2, 'r'}, {14, 2, '.'}}},
        {"load 94 reaches it", [](Settings&) {}, 94, {{14, 2, 'r'}, {15, 2, '.'}}},
        {"yellow from YellowPercent", [](Settings&) {}, 65, {{1, 2, 'y'}}},
        {"green below it", [](Settings&) {}, 64, {{1, 2, 'g'}}},
        {"red from RedPercent", [](Settings&) {}, 90, {{1, 2, 'r'}}},
        {"one mini digit",
         [](Settings& s) { s.MiniInternalFont = true; },
         7,
         {{4, 6, '.'}, {4, 7, '#'}, {7, 7, '#'}, {8, 7, '.'}, {5, 12, '#'}, {5, 13, '.'}}},
        {"one large digit at column 4", [](Settings&) {}, 7, {{4, 6, '#'}, {9, 6, '#'}, {10, 6, '.'}, {3, 6, '.'}}},
        {"100% in gigabytes mode: four small cells from column -1",
         [](Settings& s) { s.ShowPercSign = true, s.OptimizeForGigabytes = true; },
         100,
         {{0, 8, '#'}, {1, 8, '.'}, {3, 7, '#'}, {12, 8, '#'}, {12, 11, '#'}, {12, 9, '.'}}},
        {"100 without the sign: three 5 x 9 cells at 1, 6 and 11",
         [](Settings&) {},
         100,
         {{3, 6, '#'}, {2, 7, '#'}, {2, 14, '#'}, {4, 14, '#'}, {7, 6, '#'}, {12, 6, '#'}, {11, 7, '#'}}},
    };
    for (const auto& c : cases) {
        Settings s = Percent();
        c.Adjust(s);
        ExpectPixels(Render(Sample(c.Load), s).Picture, c.Probes, c.Name);
    }
    // A negative threshold is exceeded by every load.
    Settings red = Percent();
    red.YellowPercent = -5;
    red.RedPercent = -1;
    red.TransBk = true;
    EXPECT_EQ(Letter(Render(Sample(0), red).Picture.At(0, 0)), 'r');
}

struct FigureCase {
    const char* Name;
    std::function<void(Settings&)> Adjust;
    uint64_t UsedPhys;
    const char* Text;
    std::vector<Probe> Probes;
};

TEST(RenderTrayImage, FiguresInGigabytesAndBeyondTheStrips) {
    const FigureCase cases[] = {
        {"12.34 GB keeps four characters, point after the second digit",
         [](Settings&) {},
         12 * kGiB + kGiB * 34 / 100,
         "12.3",
         {{10, 15, '#'}, {5, 15, '.'}, {0, 8, '.'}, {2, 6, '#'}}},
        {"123.45 GB shows 123 without a point",
         [](Settings&) {},
         123 * kGiB + kGiB * 45 / 100,
         "123.",
         {{5, 15, '.'}, {7, 15, '.'}, {10, 15, '.'}, {2, 6, '#'}}},
        {"mini digits put the point on row 13",
         [](Settings& s) { s.MiniInternalFont = true; },
         3 * kGiB + kGiB * 45 / 100,
         "3.45",
         {{5, 13, '#'}, {5, 15, '.'}}},
        {"mini digits at the bottom bar put it on row 8",
         [](Settings& s) { s.MiniInternalFont = true, s.BarBottom = true; },
         3 * kGiB + kGiB * 45 / 100,
         "3.45",
         {{5, 8, '#'}}},
        {"16384 MB has no strip: shown as 16.0 with a point",
         [](Settings& s) { s.OptimizeForGigabytes = false; },
         16 * kGiB,
         "16.0",
         {{10, 15, '#'}, {5, 15, '.'}, {2, 6, '#'}, {8, 6, '#'}}},
        {"10000 KB reads 9.77 (megabytes)",
         [](Settings& s) { s.OptimizeForGigabytes = false; },
         10000 * kKiB,
         "9.77",
         {{5, 15, '#'}}},
        {"9999 MB still fits the four small cells",
         [](Settings& s) { s.OptimizeForGigabytes = false; },
         9999 * kMiB,
         "9,999",
         {{5, 6, '#'}, {4, 6, '.'}, {5, 15, '.'}}},
        {"1,234 GB would lose whole digits to the cut: shown in terabytes",
         [](Settings&) {},
         1234 * kGiB,
         "1.21",
         {{5, 15, '#'}}},
        {"9,216 bytes in gigabytes mode: shown in kilobytes", [](Settings&) {}, 9216, "9.00", {{5, 15, '#'}}},
    };
    for (const auto& c : cases) {
        Settings s;
        c.Adjust(s);
        TrayImage image = Render(Sample(50, c.UsedPhys), s);
        EXPECT_EQ(image.Text, c.Text) << c.Name;
        ExpectPixels(image.Picture, c.Probes, c.Name);
    }
}

TEST(RenderTrayImage, FontColourDrawsEveryGlyphPixelAndOnlyThose) {
    Settings s = Percent();
    s.Font.Color = static_cast<ColorValue>(kMagenta);  // the strips' own background colour
    Settings black = Percent();
    std::string magenta = Art(Render(Sample(42), s).Picture);
    std::string plain = Art(Render(Sample(42), black).Picture);
    for (char& c : plain)
        c = c == '#' ? 'm' : c;
    EXPECT_EQ(magenta, plain);
    // System colours resolve through the table: WindowText is black on Windows 10.
    black.Font.Color = kClWindowText;
    EXPECT_NE(Art(Render(Sample(42), black).Picture).find('#'), std::string::npos);
}

class FakeText : public ITrayTextPainter {
  public:
    int TextWidth(const std::string& text, int) override { return static_cast<int>(text.size()) * 3; }
    int TextHeight(const std::string& text, int) override { return text == "1" ? 9 : -100; }
    void PaintText(TrayPicture& picture, int x, int y, const std::string& text, uint32_t color) override {
        Drawn += text + "@" + std::to_string(x) + "," + std::to_string(y) + ";";
        picture.Set(x, y, color);
    }
    std::string Drawn;
};

TEST(RenderTrayImage, DisplayFontCentresTheTextOnTheBottom) {
    struct Case {
        std::function<void(Settings&)> Adjust;
        uint64_t UsedPhys;
        const char* Drawn;
    };
    const Case cases[] = {
        {[](Settings&) {}, 3 * kGiB + kGiB * 45 / 100, "3.45@2,7;"},  // gigabytes keep the point
        {[](Settings& s) { s.OptimizeForGigabytes = false; }, 16 * kGiB, "16384@0,7;"},
        {[](Settings& s) { s.BarBottom = true; }, 3 * kGiB + kGiB * 45 / 100, "3.45@2,2;"},
        {[](Settings& s) { s.ShowPercentage = true; }, kGiB, "50@5,7;"},
        // Wider than the picture: the start goes left of it, truncated toward zero.
        {[](Settings& s) { s.OptimizeForGigabytes = false; }, 9 * kGiB * 1024 + kGiB, "9438208@-2,7;"},
    };
    for (const auto& c : cases) {
        Settings s;
        s.InternalFont = false;
        c.Adjust(s);
        FakeText text;
        Render(Sample(50, c.UsedPhys), s, &text);
        EXPECT_EQ(text.Drawn, c.Drawn);
    }
}

TEST(DigitStrip, CellsMatchTheirSizesAndGlyphs) {
    const std::pair<const DigitStrip*, std::pair<int, int>> strips[] = {
        {&kDigitStrip2, {7, 8}}, {&kDigitStrip3, {5, 9}}, {&kDigitStrip4, {3, 8}}, {&kDigitStripMini, {4, 6}}};
    for (const auto& [strip, size] : strips) {
        EXPECT_EQ(strip->CellWidth(), size.first);
        EXPECT_EQ(strip->Height(), size.second);
    }
    // The 7 x 8 percent cell is empty; the others are not.
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 7; ++x)
            EXPECT_FALSE(kDigitStrip2.Ink(DigitStrip::kPercentCell, x, y));
    }
    EXPECT_TRUE(kDigitStripMini.Ink(DigitStrip::kPercentCell, 0, 0));
    EXPECT_EQ(DigitStrip::CellOf('%'), 10);
    EXPECT_EQ(DigitStrip::CellOf('7'), 7);
    EXPECT_EQ(DigitStrip::CellOf('.'), -1);
}

// The strips are packed one bit a pixel at compile time: every pixel of rows whose width is no multiple of 8 (so
// rows and cells start inside a byte) reads back as drawn, in each cell.
TEST(DigitStrip, PackedPixelsReadBackAsDrawn) {
    static constexpr const char* const kRows[] = {
        "X.........XX.X...X..X..XX...XXX..",
        ".X.......X..XX..X..X.XX..X.X...XX",
        "..X.....X....X.X..X.XXXXXXXX.X.X.",
    };
    static constexpr auto kPixels = PackRows<33>(kRows);
    const DigitStrip strip(kPixels);
    ASSERT_EQ(strip.CellWidth(), 3);
    for (int y = 0; y < 3; ++y) {
        for (int cell = 0; cell < DigitStrip::kCells; ++cell) {
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(strip.Ink(cell, x, y), kRows[y][cell * 3 + x] == 'X') << y << " " << cell << " " << x;
        }
    }
}

TEST(RenderTrayImage, HintAndTextComeFromTheSameSample) {
    Settings s;
    TrayImage image = Render(Sample(50, 2 * kGiB), s);
    EXPECT_EQ(image.Text, "2.00");
    EXPECT_EQ(image.Hint, BuildTrayHint(Sample(50, 2 * kGiB), s, {}));
}
}  // namespace
