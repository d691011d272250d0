#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <set>

#include "tray/tray_grid.h"
#include "tray/tray_renderer.h"

#include "tray_art.h"

using namespace TrayArt;

namespace {
constexpr uint64_t kMiB = 1024 * 1024, kGiB = kMiB * 1024;

MemorySample Sample(uint32_t load, uint64_t usedPhys = 2 * kGiB) {
    MemorySample s;
    s.MemoryLoad = load;
    s.TotalPhys = 16 * kGiB;
    s.AvailPhys = s.TotalPhys - usedPhys;
    s.TotalPageFile = 32 * kGiB;
    s.AvailPageFile = 16 * kGiB;
    return s;
}

TrayImage Render(const MemorySample& sample, const Settings& s, int size) {
    Windows10SystemColors colors;
    return RenderTrayImage(sample, s, TrayRenderContext{colors, nullptr, {}, size});
}

Settings Percent() {
    Settings s;
    s.ShowPercentage = true;
    s.OptimizeForGigabytes = false;
    s.FullBarColor = static_cast<ColorValue>(0x800000);
    return s;
}
}  // namespace

TEST(TrayGrid, KeepsThinLinesNarrowAndSpreadsTheSlackOverTheRest) {
    const TrayGrid classic(16, 0, 0);
    for (int c = -2; c <= 18; ++c)
        EXPECT_EQ(classic.X(c), c);
    const TrayGrid grid(20, 1u << 0 | 1u << 15, 1u << 0 | 1u << 4);
    EXPECT_EQ(grid.X(16), 20);
    EXPECT_EQ(grid.X(1) - grid.X(0), 1);
    EXPECT_EQ(grid.X(16) - grid.X(15), 1);
    EXPECT_EQ(grid.Y(1) - grid.Y(0), 1);
    EXPECT_EQ(grid.Y(5) - grid.Y(4), 1);
    for (int c = 0; c < 16; ++c) {
        EXPECT_GE(grid.X(c + 1) - grid.X(c), 1);
        EXPECT_LE(grid.X(c + 1) - grid.X(c), 2);
    }
    // More slack than wide steps: thin lines widen last.
    const TrayGrid crowded(30, 0x7FFF, 0);
    EXPECT_EQ(crowded.X(16) - crowded.X(15), 2);
    EXPECT_EQ(crowded.X(16), 30);
}

// Random looks: every flag, thresholds, colours (some shared, some system colours) and figures of every length.
TEST(RenderTrayImage, LargerPicturesAreBlocksOfTheClassicOneOrUseOnlyItsColours) {
    std::mt19937 random(13);
    auto flag = [&] { return (random() & 1) != 0; };
    auto pick = [&](std::initializer_list<uint32_t> values) { return *(values.begin() + random() % values.size()); };
    const uint64_t used[] = {0, 512 * kMiB, 3704409293, 9 * kGiB + kGiB / 3, 12345 * kMiB, 15 * kGiB};
    for (int round = 0; round < 150; ++round) {
        Settings s;
        s.ShowPercentage = flag();
        s.ShowFree = flag();
        s.ShowPercSign = flag();
        s.NoBorder = flag();
        s.TransBk = flag();
        s.BarBottom = flag();
        s.StandardGauge = flag();
        s.MiniInternalFont = flag();
        s.FullBar = flag();
        s.OptimizeForGigabytes = flag();
        s.YellowPercent = static_cast<int>(random() % 110) - 5;
        s.RedPercent = static_cast<int>(random() % 110) - 5;
        s.Font.Color = static_cast<ColorValue>(pick({0x000000, 0xFFFFFF, 0x030303, 0xFF00FF, 0xFF000008u}));
        s.OpaqueBkColor = static_cast<ColorValue>(pick({0xFFFFFF, 0x202020, 0xFFFFFFFFu}));
        s.BarBorderColor = static_cast<ColorValue>(pick({0x808080, 0x000000, 0xFFFFFFFFu}));
        s.FullBarColor = static_cast<ColorValue>(pick({0xC0C0C0, 0x00FF00, 0xFFFFFFFFu}));
        const MemorySample sample = Sample(static_cast<uint32_t>(random() % 101), used[random() % 6]);
        const TrayImage classic = Render(sample, s, 16);
        const std::set<uint32_t> colors(classic.Picture.Pixels.begin(), classic.Picture.Pixels.end());
        for (int size : {8, 16, 17, 20, 24, 28, 32, 36, 40, 48, 56, 64, 72, 96}) {
            SCOPED_TRACE(::testing::Message() << "round " << round << ", size " << size);
            const TrayImage image = Render(sample, s, size);
            const int n = std::max(size, kTrayImageSize);
            ASSERT_EQ(image.Picture.Size, n);
            ASSERT_EQ(image.Picture.Pixels.size(), static_cast<size_t>(n * n));
            EXPECT_EQ(image.Text, classic.Text);
            EXPECT_EQ(image.Hint, classic.Hint);
            if (n % kTrayImageSize == 0) {
                const int k = n / kTrayImageSize;
                bool blocks = true;
                for (int y = 0; y < n && blocks; ++y) {
                    for (int x = 0; x < n && blocks; ++x)
                        blocks = image.Picture.At(x, y) == classic.Picture.At(x / k, y / k);
                }
                EXPECT_TRUE(blocks) << Art(image.Picture);
            }
            for (uint32_t c : image.Picture.Pixels) {
                if (!colors.count(c)) {
                    ADD_FAILURE() << "colour " << std::hex << c << " is not in the 16-pixel picture";
                    break;
                }
            }
        }
    }
}

// Borders, a bar at the bottom, a segmented gauge, the transparent key, one to four digits and a decimal point,
// laid out at 20, 24 and 32 pixels.
TEST(RenderTrayImage, LayoutsAtLargerSizes) {
    struct Case {
        const char* Name;
        int Size;
        std::function<void(Settings&)> Adjust;
        uint32_t Load;
        uint64_t Used;
        std::string Art;
    };
    const Case cases[] = {
        {"border two digits", 20, [](Settings& s) { s.NoBorder = false; }, 42, 0,
         Rows({
             "bbbbbbbbbbbbbbbbbbbb", "bgggggg............b", "bgggggg............b", "bgggggg............b",
             "bgggggg............b", "bbbbbbbbbbbbbbbbbbbb", "....................", ".##....##..#######..",
             ".##....##........##.", ".##....##........##.", ".##....##........##.", ".########..########.",
             ".......##..##.......", ".......##..##.......", ".......##..##.......", ".......##..##.......",
             ".......##...#######.", "....................", "....................", "....................",
         })},
        {"segmented", 20,
         [](Settings& s) {
             s.NoBorder = false;
             s.StandardGauge = true;
         },
         60, 0,
         Rows({
             "bbbbbbbbbbbbbbbbbbbb", "bggg.ggg.gg........b", "bggg.ggg.gg........b", "bggg.ggg.gg........b",
             "bggg.ggg.gg........b", "bbbbbbbbbbbbbbbbbbbb", "....................", "..#######...######..",
             ".##........##....##.", ".##........##....##.", ".##........##....##.", ".########..##....##.",
             ".##....##..##....##.", ".##....##..##....##.", ".##....##..##....##.", ".##....##..##....##.",
             "..######....######..", "....................", "....................", "....................",
         })},
        {"four digits", 20,
         [](Settings& s) {
             s.NoBorder = false;
             s.ShowPercSign = true;
         },
         100, 0,
         Rows({
             "bbbbbbbbbbbbbbbbbbbb", "brrrrrrrrrrrrrrrrrrb", "brrrrrrrrrrrrrrrrrrb", "brrrrrrrrrrrrrrrrrrb",
             "brrrrrrrrrrrrrrrrrrb", "bbbbbbbbbbbbbbbbbbbb", "....................", "..#...##...##..#..#.",
             ".##..#..#.#..#.#..#.", "..#..#..#.#..#...#..", "..#..#..#.#..#...#..", "..#..#..#.#..#...#..",
             "..#..#..#.#..#..#...", "..#..#..#.#..#..#...", "..#..#..#.#..#..#...", "..#..#..#.#..#.#..#.",
             ".###..##...##..#..#.", "....................", "....................", "....................",
         })},
        {"bar bottom", 24,
         [](Settings& s) {
             s.NoBorder = false;
             s.BarBottom = true;
         },
         93, 0,
         Rows({
             "........................", "........................", "..#######.....########..",
             ".#########....#########.", ".##.....##...........##.", ".##.....##...........##.",
             ".##.....##...........##.", ".#########....#########.", ".#########....#########.",
             "........##...........##.", "........##...........##.", "........##...........##.",
             ".#########....#########.", ".########.....########..", "........................",
             "........................", "........................", "bbbbbbbbbbbbbbbbbbbbbbbb",
             "brrrrrrrrrrrrrrrrrrrr..b", "brrrrrrrrrrrrrrrrrrrr..b", "brrrrrrrrrrrrrrrrrrrr..b",
             "brrrrrrrrrrrrrrrrrrrr..b", "brrrrrrrrrrrrrrrrrrrr..b", "bbbbbbbbbbbbbbbbbbbbbbbb",
         })},
        {"transparent point", 24,
         [](Settings& s) {
             s = Settings();
             s.TransBk = true;
         },
         95, 3704409293,
         Rows({
             "rrrrrrrrrrrrrrrrrrrrrrrr", "rrrrrrrrrrrrrrrrrrrrrrrr", "rrrrrrrrrrrrrrrrrrrrrrrr",
             "rrrrrrrrrrrrrrrrrrrrrrrr", "rrrrrrrrrrrrrrrrrrrrrrrr", "rrrrrrrrrrrrrrrrrrrrrrrr",
             "TTTTTTTTTTTTTTTTTTTTTTTT", "TTTTTTTTTTTTTTTTTTTTTTTT", "TTTTTTTTTTTTTTTTTTTTTTTT",
             "TTTTTTTTTTTTTTTTTTTTTTTT", "#####TTTTT#TTTT#TTT#####", "TTTTT#TTTT#TTTT#TT#TTTTT",
             "TTTTT#TTTT#TTTT#TT#TTTTT", "TTTTT#TTTT#TTTT#TT#TTTTT", "TTTTT#TTTT#TTTT#TT#TTTTT",
             "TTTTT#TTTT#TTTT#TT#TTTTT", "######TTTT######TT######", "TTTTT#TTTTTTTTT#TTTTTTT#",
             "TTTTT#TTTTTTTTT#TTTTTTT#", "TTTTT#TTTTTTTTT#TTTTTTT#", "TTTTT#TTTTTTTTT#TTTTTTT#",
             "TTTTT#TTTTTTTTT#TTTTTTT#", "#####TT##TTTTTT#TT#####T", "TTTTTTT##TTTTTTTTTTTTTTT",
         })},
        {"one digit", 24, [](Settings& s) { s.FullBar = true; }, 5, 0,
         Rows({
             "........................", ".fffffffffffffffffffff..", ".fffffffffffffffffffff..",
             ".fffffffffffffffffffff..", ".fffffffffffffffffffff..", ".fffffffffffffffffffff..",
             "........................", "........................", "........................",
             ".......########.........", "......#########.........", "......##................",
             "......##................", "......##................", "......#########.........",
             "......#########.........", ".............##.........", ".............##.........",
             ".............##.........", "......#########.........", "......########..........",
             "........................", "........................", "........................",
         })},
        {"mini", 24,
         [](Settings& s) {
             s.MiniInternalFont = true;
             s.StandardGauge = true;
         },
         57, 0,
         Rows({
             "........................", "..g.gggg.ggg............", "..g.gggg.ggg............",
             "..g.gggg.ggg............", "..g.gggg.ggg............", "..g.gggg.ggg............",
             "........................", "........................", "........................",
             "........................", ".....####....####.......", "....#............#......",
             "....#............#......", "....#............#......", "....#####........#......",
             "........#........#......", "........#........#......", "........#........#......",
             "....####.........#......", "........................", "........................",
             "........................", "........................", "........................",
         })},
        {"three digits", 32, [](Settings& s) { s.NoBorder = false; }, 100, 0,
         Rows({
             "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb", "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb", "bbrrrrrrrrrrrrrrrrrrrrrrrrrrrrbb",
             "bbrrrrrrrrrrrrrrrrrrrrrrrrrrrrbb", "bbrrrrrrrrrrrrrrrrrrrrrrrrrrrrbb", "bbrrrrrrrrrrrrrrrrrrrrrrrrrrrrbb",
             "bbrrrrrrrrrrrrrrrrrrrrrrrrrrrrbb", "bbrrrrrrrrrrrrrrrrrrrrrrrrrrrrbb", "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
             "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb", "................................", "................................",
             "......##......####......####....", "......##......####......####....", "....####....##....##..##....##..",
             "....####....##....##..##....##..", "......##....##....##..##....##..", "......##....##....##..##....##..",
             "......##....##....##..##....##..", "......##....##....##..##....##..", "......##....##....##..##....##..",
             "......##....##....##..##....##..", "......##....##....##..##....##..", "......##....##....##..##....##..",
             "......##....##....##..##....##..", "......##....##....##..##....##..", "......##....##....##..##....##..",
             "......##....##....##..##....##..", "....######....####......####....", "....######....####......####....",
             "................................", "................................",
         })},
    };
    for (const auto& c : cases) {
        Settings s = Percent();
        c.Adjust(s);
        const TrayImage image = Render(Sample(c.Load, c.Used ? c.Used : 2 * kGiB), s, c.Size);
        EXPECT_EQ(Art(image.Picture), c.Art) << c.Name << " at " << c.Size << " pixels";
    }
}

// The display font is measured for the picture's size and centred on its bottom, raised above a bottom bar.
TEST(RenderTrayImage, DisplayFontIsMeasuredAtThePictureSize) {
    class ScaledText : public ITrayTextPainter {
      public:
        int TextWidth(const std::string& text, int size) override {
            return static_cast<int>(text.size()) * 3 * size / kTrayImageSize;
        }
        int TextHeight(const std::string&, int size) override { return 9 * size / kTrayImageSize; }
        void PaintText(TrayPicture& picture, int x, int y, const std::string& text, uint32_t) override {
            Drawn +=
                text + "@" + std::to_string(x) + "," + std::to_string(y) + "/" + std::to_string(picture.Size) + ";";
        }
        std::string Drawn;
    };
    const std::pair<bool, const char*> cases[] = {{false, "50@10,14/32;"}, {true, "50@10,4/32;"}};
    for (const auto& [barBottom, drawn] : cases) {
        Settings s;
        s.InternalFont = false;
        s.ShowPercentage = true;
        s.BarBottom = barBottom;
        Windows10SystemColors colors;
        ScaledText text;
        RenderTrayImage(Sample(50), s, TrayRenderContext{colors, &text, {}, 32});
        EXPECT_EQ(text.Drawn, drawn);
    }
}
