#pragma once

// A built-in digit strip: one row of 11 equal cells, the digits 0 to 9 and the percent sign. Rows are kept as
// drawn: 'X' is a glyph pixel, '.' the strip's magenta background.
class DigitStrip {
  public:
    static constexpr int kCells = 11;
    static constexpr int kPercentCell = 10;

    constexpr DigitStrip(int width, int height, const char* const* rows)
        : width_(width), height_(height), rows_(rows) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    int CellWidth() const { return width_ / kCells; }
    // Whether pixel (x, y) of cell k belongs to the glyph.
    bool Ink(int cell, int x, int y) const { return rows_[y][cell * CellWidth() + x] == 'X'; }
    // The cell of a character: a digit its own, "%" cell 10; -1 for anything else.
    static int CellOf(char c) { return c >= '0' && c <= '9' ? c - '0' : c == '%' ? kPercentCell : -1; }

  private:
    int width_;
    int height_;
    const char* const* rows_;
};

extern const DigitStrip kDigitStrip2;     // 7 x 8 cells: one and two characters
extern const DigitStrip kDigitStrip3;     // 5 x 9 cells: three characters
extern const DigitStrip kDigitStrip4;     // 3 x 8 cells: four characters
extern const DigitStrip kDigitStripMini;  // 4 x 6 cells: every length with MiniInternalFont

// Strips drawn for larger pictures, one set per picture size.
extern const DigitStrip kDigitStripTwo20, kDigitStripThree20, kDigitStripFour20, kDigitStripMini20;
extern const DigitStrip kDigitStripTwo24, kDigitStripThree24, kDigitStripFour24, kDigitStripMini24;
extern const DigitStrip kDigitStripTwo28, kDigitStripThree28, kDigitStripFour28, kDigitStripMini28;

// The four strips drawn for pictures of one size: for one and two characters, three, four, and the mini digits.
struct DigitFont {
    int Size;
    const DigitStrip& Two;
    const DigitStrip& Three;
    const DigitStrip& Four;
    const DigitStrip& Mini;
};

// The strips drawn for pictures of `size` pixels: 16, 20, 24 or 28; nullptr for any other size.
const DigitFont* DigitFontFor(int size);
