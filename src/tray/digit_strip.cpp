#include "tray/digit_strip.h"

namespace {
// Cells left to right: 0 1 2 3 4 5 6 7 8 9 %.
constexpr const char* const kStrip2[] = {
    ".XXXX....XX....XXXX...XXXX......X...XXXXX..XXXX..XXXXXX..XXXX...XXXX.........",
    "XX..XX..XXX...XX..XX.XX..XX....XX...XX....XX.........XX.XX..XX.XX..XX........",
    "XX..XX...XX.......XX.....XX...XXX...XX....XX........XX..XX..XX.XX..XX........",
    "XX..XX...XX......XX....XXX...X.XX...XXXX..XXXXX.....XX...XXXX..XX..XX........",
    "XX..XX...XX.....XX.......XX.X..XX......XX.XX..XX....XX..XX..XX..XXXXX........",
    "XX..XX...XX....XX........XX.XXXXXX.....XX.XX..XX...XX...XX..XX.....XX........",
    "XX..XX...XX...XX.....XX..XX....XX..XX..XX.XX..XX...XX...XX..XX.....XX........",
    ".XXXX...XXXX..XXXXXX..XXXX.....XX...XXXX...XXXX....XX....XXXX...XXXX.........",
};
constexpr const char* const kStrip3[] = {
    ".XX....X..XXX..XXX..X..X..XXX..XXX.XXXX..XX...XX.......",
    "X..X..XX.....X....X.X..X.X....X.......X.X..X.X..X.XX...",
    "X..X...X.....X....X.X..X.X....X.......X.X..X.X..X.XX..X",
    "X..X...X.....X....X.X..X.X....X......X..X..X.X..X....X.",
    "X..X...X...XX..XXX..XXXX..XX...XX....X...XX...XXX...X..",
    "X..X...X..X.......X....X....X.X..X..X...X..X....X..X...",
    "X..X...X..X.......X....X....X.X..X..X...X..X....X.X..XX",
    "X..X...X..X.......X....X....X.X..X.X....X..X....X....XX",
    ".XX...XXX..XXX.XXX.....X.XXX...XX..X.....XX...XX.......",
};
constexpr const char* const kStrip4[] = {
    ".X..X.XX.XX.X.X.XX.XXXXX.X..X....", "X.X.X...X..XX.XX..X....XX.XX.X...", "X.XXX...X..XX.XX..X....XX.XX.X.X.",
    "X.X.X...X..XX.XX..X...X.X.XX.X...", "X.X.X..X.XX.XXX.X.XX..X..X..XX...", "X.X.X.X....X..X..XX.X.X.X.X..X.X.",
    "X.X.X.X....X..X..XX.XX..X.X..X...", ".X..X..XXXX...XXX..X.X...X.XX....",
};
constexpr const char* const kStripMini[] = {
    ".XX...X.XXX.XXXX..X.XXXX.XXXXXXX.XX..XX.XX..", "X..X.XX....X..X..XX.X...X......XX..XX..XXX.X",
    "X.XX..X....X.XX.X.X.XXX.XXX...X..XX.X..X..X.", "XX.X..X..XX....XXXXX...XX..X.X..X..X.XXX.X..",
    "X..X..X.X...X..X..X....XX..X.X..X..X...XX.XX", ".XX...X.XXXX.XX...X.XXX..XX..X...XX..XX...XX",
};
}  // namespace

const DigitStrip kDigitStrip2(kPackedRows<77, kStrip2>);
const DigitStrip kDigitStrip3(kPackedRows<55, kStrip3>);
const DigitStrip kDigitStrip4(kPackedRows<33, kStrip4>);
const DigitStrip kDigitStripMini(kPackedRows<44, kStripMini>);
