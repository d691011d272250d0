#include "tray/digit_strip.h"

namespace {
// Strips for pictures of 20, 24 and 28 pixels, kept like the classic ones: 'X' a glyph pixel, '.' background,
// cells left to right 0 1 2 3 4 5 6 7 8 9 %. Each is the classic strip of the same use grown by the picture's
// scale (rounded down where the cells would touch). The figures are seven-stroke digits with cut outer corners,
// which stay legible at every stroke width; the strip of one and two characters has no percent sign, as at 16.
constexpr const char* const kTwo20[] = {
    ".XXXXXX.....XX....XXXXXXX..XXXXXXX..XX....XX..XXXXXXX..XXXXXXX.XXXXXXX...XXXXXX...XXXXXX...........",
    "XX....XX...XXX..........XX.......XX.XX....XX.XX.......XX.............XX.XX....XX.XX....XX..........",
    "XX....XX....XX..........XX.......XX.XX....XX.XX.......XX.............XX.XX....XX.XX....XX..........",
    "XX....XX....XX..........XX.......XX.XX....XX.XX.......XX.............XX.XX....XX.XX....XX..........",
    "XX....XX....XX....XXXXXXXX.XXXXXXXX.XXXXXXXX.XXXXXXXX.XXXXXXXX.......XX.XXXXXXXX.XXXXXXXX..........",
    "XX....XX....XX....XX.............XX.......XX.......XX.XX....XX.......XX.XX....XX.......XX..........",
    "XX....XX....XX....XX.............XX.......XX.......XX.XX....XX.......XX.XX....XX.......XX..........",
    "XX....XX....XX....XX.............XX.......XX.......XX.XX....XX.......XX.XX....XX.......XX..........",
    "XX....XX....XX....XX.............XX.......XX.......XX.XX....XX.......XX.XX....XX.......XX..........",
    ".XXXXXX....XXXX....XXXXXXX.XXXXXXX........XX.XXXXXXX...XXXXXX........XX..XXXXXX..XXXXXXX...........",
};
constexpr const char* const kThree20[] = {
    ".XXX....X...XXXX..XXXX..X...X..XXXX..XXXX.XXXX...XXX...XXX..XX..X.",
    "X...X..XX.......X.....X.X...X.X.....X.........X.X...X.X...X.XX..X.",
    "X...X...X.......X.....X.X...X.X.....X.........X.X...X.X...X....X..",
    "X...X...X.......X.....X.X...X.X.....X.........X.X...X.X...X....X..",
    "X...X...X.......X.....X.X...X.X.....X.........X.X...X.X...X...X...",
    "X...X...X...XXXXX.XXXXX.XXXXX.XXXXX.XXXXX.....X.XXXXX.XXXXX...X...",
    "X...X...X...X.........X.....X.....X.X...X.....X.X...X.....X...X...",
    "X...X...X...X.........X.....X.....X.X...X.....X.X...X.....X..X....",
    "X...X...X...X.........X.....X.....X.X...X.....X.X...X.....X..X....",
    "X...X...X...X.........X.....X.....X.X...X.....X.X...X.....X.X..XX.",
    ".XXX...XXX...XXXX.XXXX......X.XXXX...XXX......X..XXX..XXXX..X..XX.",
};
constexpr const char* const kFour20[] = {
    ".XX...X.XXX.XXX.X..X.XXX.XXXXXX..XX..XX.X..X", "X..X.XX....X...XX..XX...X......XX..XX..XX..X",
    "X..X..X....X...XX..XX...X......XX..XX..X..X.", "X..X..X....X...XX..XX...X......XX..XX..X..X.",
    "X..X..X.XXXXXXXXXXXXXXXXXXXX...XXXXXXXXX..X.", "X..X..X.X......X...X...XX..X...XX..X...X.X..",
    "X..X..X.X......X...X...XX..X...XX..X...X.X..", "X..X..X.X......X...X...XX..X...XX..X...X.X..",
    "X..X..X.X......X...X...XX..X...XX..X...XX..X", ".XX..XXX.XXXXXX....XXXX..XX....X.XX.XXX.X..X",
};
constexpr const char* const kMini20[] = {
    ".XX....X..XXX..XXX..X..X..XXX..XXX.XXX...XX...XX..X..X.",
    "X..X..XX.....X....X.X..X.X....X.......X.X..X.X..X...X..",
    "X..X...X.....X....X.X..X.X....X.......X.X..X.X..X...X..",
    "X..X...X..XXXX.XXXX.XXXX.XXXX.XXXX....X.XXXX.XXXX...X..",
    "X..X...X..X.......X....X....X.X..X....X.X..X....X..X...",
    "X..X...X..X.......X....X....X.X..X....X.X..X....X.X....",
    ".XX....X...XXX.XXX.....X.XXX...XX.....X..XX..XXX..X..X.",
};
constexpr const char* const kTwo24[] = {
    ".XXXXXXX......XX....XXXXXXXX..XXXXXXXX..XX.....XX..XXXXXXXX..XXXXXXXX.XXXXXXXX...XXXXXXX...XXXXXXX............",
    "XXXXXXXXX....XXX....XXXXXXXXX.XXXXXXXXX.XX.....XX.XXXXXXXXX.XXXXXXXXX.XXXXXXXXX.XXXXXXXXX.XXXXXXXXX...........",
    "XX.....XX....XXX...........XX........XX.XX.....XX.XX........XX...............XX.XX.....XX.XX.....XX...........",
    "XX.....XX.....XX...........XX........XX.XX.....XX.XX........XX...............XX.XX.....XX.XX.....XX...........",
    "XX.....XX.....XX...........XX........XX.XX.....XX.XX........XX...............XX.XX.....XX.XX.....XX...........",
    "XX.....XX.....XX....XXXXXXXXX.XXXXXXXXX.XXXXXXXXX.XXXXXXXXX.XXXXXXXXX........XX.XXXXXXXXX.XXXXXXXXX...........",
    "XX.....XX.....XX....XXXXXXXXX.XXXXXXXXX.XXXXXXXXX.XXXXXXXXX.XXXXXXXXX........XX.XXXXXXXXX.XXXXXXXXX...........",
    "XX.....XX.....XX....XX...............XX........XX........XX.XX.....XX........XX.XX.....XX........XX...........",
    "XX.....XX.....XX....XX...............XX........XX........XX.XX.....XX........XX.XX.....XX........XX...........",
    "XX.....XX.....XX....XX...............XX........XX........XX.XX.....XX........XX.XX.....XX........XX...........",
    "XXXXXXXXX....XXXX...XXXXXXXXX.XXXXXXXXX........XX.XXXXXXXXX.XXXXXXXXX........XX.XXXXXXXXX.XXXXXXXXX...........",
    ".XXXXXXX.....XXXX....XXXXXXXX.XXXXXXXX.........XX.XXXXXXXX...XXXXXXX.........XX..XXXXXXX..XXXXXXXX............",
};
constexpr const char* const kThree24[] = {
    ".XXXX.....X...XXXXX..XXXXX..X....X..XXXXX..XXXXX.XXXXX...XXXX...XXXX..XX...X.",
    "X....X...XX........X......X.X....X.X......X...........X.X....X.X....X.XX...X.",
    "X....X....X........X......X.X....X.X......X...........X.X....X.X....X.....X..",
    "X....X....X........X......X.X....X.X......X...........X.X....X.X....X.....X..",
    "X....X....X........X......X.X....X.X......X...........X.X....X.X....X....X...",
    "X....X....X........X......X.X....X.X......X...........X.X....X.X....X....X...",
    "X....X....X...XXXXXX.XXXXXX.XXXXXX.XXXXXX.XXXXXX......X.XXXXXX.XXXXXX...X....",
    "X....X....X...X...........X......X......X.X....X......X.X....X......X...X....",
    "X....X....X...X...........X......X......X.X....X......X.X....X......X...X....",
    "X....X....X...X...........X......X......X.X....X......X.X....X......X..X.....",
    "X....X....X...X...........X......X......X.X....X......X.X....X......X..X.....",
    "X....X....X...X...........X......X......X.X....X......X.X....X......X.X...XX.",
    ".XXXX....XXX...XXXXX.XXXXX.......X.XXXXX...XXXX.......X..XXXX..XXXXX..X...XX.",
};
constexpr const char* const kFour24[] = {
    ".XXX...X..XXXX.XXXX.X...X.XXXX.XXXXXXXX..XXX..XXX.XX..X",
    "X...X.XX......X....XX...XX....X........XX...XX...XXX..X",
    "X...X..X......X....XX...XX....X........XX...XX...X...X.",
    "X...X..X......X....XX...XX....X........XX...XX...X...X.",
    "X...X..X......X....XX...XX....X........XX...XX...X...X.",
    "X...X..X..XXXXXXXXXXXXXXXXXXXXXXXXX....XXXXXXXXXXX..X..",
    "X...X..X..X........X....X....XX...X....XX...X....X..X..",
    "X...X..X..X........X....X....XX...X....XX...X....X.X...",
    "X...X..X..X........X....X....XX...X....XX...X....X.X...",
    "X...X..X..X........X....X....XX...X....XX...X....X.X...",
    "X...X..X..X........X....X....XX...X....XX...X....XX..XX",
    ".XXX..XXX..XXXXXXXX.....XXXXX..XXX.....X.XXX.XXXX.X..XX",
};
constexpr const char* const kMini24[] = {
    ".XXX....X...XXXX..XXXX..X...X..XXXX..XXXX.XXXX...XXX...XXX..XX..X.",
    "X...X..XX.......X.....X.X...X.X.....X.........X.X...X.X...X.....X.",
    "X...X...X.......X.....X.X...X.X.....X.........X.X...X.X...X....X..",
    "X...X...X.......X.....X.X...X.X.....X.........X.X...X.X...X...X...",
    "X...X...X...XXXXX.XXXXX.XXXXX.XXXXX.XXXXX.....X.XXXXX.XXXXX...X...",
    "X...X...X...X.........X.....X.....X.X...X.....X.X...X.....X...X...",
    "X...X...X...X.........X.....X.....X.X...X.....X.X...X.....X..X....",
    "X...X...X...X.........X.....X.....X.X...X.....X.X...X.....X.X.....",
    ".XXX...XXX...XXXX.XXXX......X.XXXX...XXX......X..XXX..XXXX..X..XX.",
};
constexpr const char* const kTwo28[] = {
    ".XXXXXXXX.......XXX.....XXXXXXXXX...XXXXXXXXX...XXX....XXX...XXXXXXXXX...XXXXXXXXX..XXXXXXXXX....XXXXXXXX...."
    "XXXXXXXX...............",
    "XXXXXXXXXX.....XXXX.....XXXXXXXXXX..XXXXXXXXXX..XXX....XXX..XXXXXXXXXX..XXXXXXXXXX..XXXXXXXXXX..XXXXXXXXXX.."
    "XXXXXXXXXX..............",
    "XXX....XXX.....XXXX............XXX.........XXX..XXX....XXX..XXX.........XXX................XXX..XXX....XXX..XXX..."
    ".XXX..............",
    "XXX....XXX......XXX............XXX.........XXX..XXX....XXX..XXX.........XXX................XXX..XXX....XXX..XXX..."
    ".XXX..............",
    "XXX....XXX......XXX............XXX.........XXX..XXX....XXX..XXX.........XXX................XXX..XXX....XXX..XXX..."
    ".XXX..............",
    "XXX....XXX......XXX............XXX.........XXX..XXX....XXX..XXX.........XXX................XXX..XXX....XXX..XXX..."
    ".XXX..............",
    "XXX....XXX......XXX.....XXXXXXXXXX..XXXXXXXXXX..XXXXXXXXXX..XXXXXXXXXX..XXXXXXXXXX.........XXX..XXXXXXXXXX.."
    "XXXXXXXXXX..............",
    "XXX....XXX......XXX.....XXXXXXXXXX..XXXXXXXXXX..XXXXXXXXXX..XXXXXXXXXX..XXXXXXXXXX.........XXX..XXXXXXXXXX.."
    "XXXXXXXXXX..............",
    "XXX....XXX......XXX.....XXX................XXX.........XXX.........XXX..XXX....XXX.........XXX..XXX....XXX........"
    ".XXX..............",
    "XXX....XXX......XXX.....XXX................XXX.........XXX.........XXX..XXX....XXX.........XXX..XXX....XXX........"
    ".XXX..............",
    "XXX....XXX......XXX.....XXX................XXX.........XXX.........XXX..XXX....XXX.........XXX..XXX....XXX........"
    ".XXX..............",
    "XXX....XXX......XXX.....XXX................XXX.........XXX.........XXX..XXX....XXX.........XXX..XXX....XXX........"
    ".XXX..............",
    "XXXXXXXXXX.....XXXXX....XXXXXXXXXX..XXXXXXXXXX.........XXX..XXXXXXXXXX..XXXXXXXXXX.........XXX..XXXXXXXXXX.."
    "XXXXXXXXXX..............",
    ".XXXXXXXX......XXXXX.....XXXXXXXXX..XXXXXXXXX..........XXX..XXXXXXXXX....XXXXXXXX..........XXX...XXXXXXXX..."
    "XXXXXXXXX...............",
};
constexpr const char* const kThree28[] = {
    ".XXXXX.....XX...XXXXXX..XXXXXX..XX...XX..XXXXXX..XXXXXX.XXXXXX...XXXXX...XXXXX..XXX...X.",
    "XXXXXXX...XXX...XXXXXXX.XXXXXXX.XX...XX.XXXXXXX.XXXXXXX.XXXXXXX.XXXXXXX.XXXXXXX.XXX...X.",
    "XX...XX...XXX........XX......XX.XX...XX.XX......XX...........XX.XX...XX.XX...XX.XXX..X..",
    "XX...XX....XX........XX......XX.XX...XX.XX......XX...........XX.XX...XX.XX...XX......X..",
    "XX...XX....XX........XX......XX.XX...XX.XX......XX...........XX.XX...XX.XX...XX.....X...",
    "XX...XX....XX........XX......XX.XX...XX.XX......XX...........XX.XX...XX.XX...XX.....X...",
    "XX...XX....XX...XXXXXXX.XXXXXXX.XXXXXXX.XXXXXXX.XXXXXXX......XX.XXXXXXX.XXXXXXX....X....",
    "XX...XX....XX...XXXXXXX.XXXXXXX.XXXXXXX.XXXXXXX.XXXXXXX......XX.XXXXXXX.XXXXXXX....X....",
    "XX...XX....XX...XX...........XX......XX......XX.XX...XX......XX.XX...XX......XX....X....",
    "XX...XX....XX...XX...........XX......XX......XX.XX...XX......XX.XX...XX......XX...X.....",
    "XX...XX....XX...XX...........XX......XX......XX.XX...XX......XX.XX...XX......XX...X.....",
    "XX...XX....XX...XX...........XX......XX......XX.XX...XX......XX.XX...XX......XX..X......",
    "XX...XX....XX...XX...........XX......XX......XX.XX...XX......XX.XX...XX......XX..X..XXX.",
    "XXXXXXX...XXXX..XXXXXXX.XXXXXXX......XX.XXXXXXX.XXXXXXX......XX.XXXXXXX.XXXXXXX.X...XXX.",
    ".XXXXX....XXXX...XXXXXX.XXXXXX.......XX.XXXXXX...XXXXX.......XX..XXXXX..XXXXXX..X...XXX.",
};
constexpr const char* const kFour28[] = {
    ".XXXX...XX..XXXXX.XXXXX.XX..XX.XXXXX.XXXXXXXXXX..XXXX..XXXX.XXX..X",
    "XXXXXX.XXX..XXXXXXXXXXXXXX..XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX..X",
    "XX..XX.XXX......XX....XXXX..XXXX....XX........XXXX..XXXX..XXXXX.X.",
    "XX..XX..XX......XX....XXXX..XXXX....XX........XXXX..XXXX..XX....X.",
    "XX..XX..XX......XX....XXXX..XXXX....XX........XXXX..XXXX..XX...X..",
    "XX..XX..XX......XX....XXXX..XXXX....XX........XXXX..XXXX..XX...X..",
    "XX..XX..XX..XXXXXXXXXXXXXXXXXXXXXXXXXXXXXX....XXXXXXXXXXXXXX...X..",
    "XX..XX..XX..XXXXXXXXXXXXXXXXXXXXXXXXXXXXXX....XXXXXXXXXXXXXX..X...",
    "XX..XX..XX..XX........XX....XX....XXXX..XX....XXXX..XX....XX..X...",
    "XX..XX..XX..XX........XX....XX....XXXX..XX....XXXX..XX....XX..X...",
    "XX..XX..XX..XX........XX....XX....XXXX..XX....XXXX..XX....XX.X....",
    "XX..XX..XX..XX........XX....XX....XXXX..XX....XXXX..XX....XX.X.XXX",
    "XXXXXX.XXXX.XXXXXXXXXXXX....XXXXXXXXXXXXXX....XXXXXXXXXXXXXXX..XXX",
    ".XXXX..XXXX..XXXXXXXXXX.....XXXXXXX..XXXX.....XX.XXXX.XXXXX.X..XXX",
};
constexpr const char* const kMini28[] = {
    ".XXXX.....X...XXXXX..XXXXX..X....X..XXXXX..XXXXX.XXXXX...XXXX...XXXX..XX...X.",
    "X....X...XX........X......X.X....X.X......X...........X.X....X.X....X.XX..X..",
    "X....X....X........X......X.X....X.X......X...........X.X....X.X....X.....X..",
    "X....X....X........X......X.X....X.X......X...........X.X....X.X....X....X...",
    "X....X....X...XXXXXX.XXXXXX.XXXXXX.XXXXXX.XXXXXX......X.XXXXXX.XXXXXX....X...",
    "X....X....X...X...........X......X......X.X....X......X.X....X......X...X....",
    "X....X....X...X...........X......X......X.X....X......X.X....X......X...X....",
    "X....X....X...X...........X......X......X.X....X......X.X....X......X..X.....",
    "X....X....X...X...........X......X......X.X....X......X.X....X......X..X..XX.",
    ".XXXX....XXX...XXXXX.XXXXX.......X.XXXXX...XXXX.......X..XXXX..XXXXX..X...XX.",
};
}  // namespace

const DigitStrip kDigitStripTwo20(kPackedRows<99, kTwo20>);
const DigitStrip kDigitStripThree20(kPackedRows<66, kThree20>);
const DigitStrip kDigitStripFour20(kPackedRows<44, kFour20>);
const DigitStrip kDigitStripMini20(kPackedRows<55, kMini20>);
const DigitStrip kDigitStripTwo24(kPackedRows<110, kTwo24>);
const DigitStrip kDigitStripThree24(kPackedRows<77, kThree24>);
const DigitStrip kDigitStripFour24(kPackedRows<55, kFour24>);
const DigitStrip kDigitStripMini24(kPackedRows<66, kMini24>);
const DigitStrip kDigitStripTwo28(kPackedRows<132, kTwo28>);
const DigitStrip kDigitStripThree28(kPackedRows<88, kThree28>);
const DigitStrip kDigitStripFour28(kPackedRows<66, kFour28>);
const DigitStrip kDigitStripMini28(kPackedRows<77, kMini28>);

const DigitFont* DigitFontFor(int size) {
    static const DigitFont kFonts[] = {
        {16, kDigitStrip2, kDigitStrip3, kDigitStrip4, kDigitStripMini},
        {20, kDigitStripTwo20, kDigitStripThree20, kDigitStripFour20, kDigitStripMini20},
        {24, kDigitStripTwo24, kDigitStripThree24, kDigitStripFour24, kDigitStripMini24},
        {28, kDigitStripTwo28, kDigitStripThree28, kDigitStripFour28, kDigitStripMini28},
    };
    for (const DigitFont& font : kFonts) {
        if (font.Size == size)
            return &font;
    }
    return nullptr;
}
