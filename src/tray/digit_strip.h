#pragma once

// The pixels of a picture drawn as text rows ('X' a glyph pixel, '.' background), one bit each, row after row.
template <int Width, int Height>
struct PackedRows {
    unsigned char Bits[(Width * Height + 7) / 8] = {};
};

template <int Width, int Height>
constexpr PackedRows<Width, Height> PackRows(const char* const (&rows)[Height]);

// A built-in digit strip: one row of 11 equal cells, the digits 0 to 9 and the percent sign, packed from rows
// drawn as text.
class DigitStrip {
  public:
    static constexpr int kCells = 11;
    static constexpr int kPercentCell = 10;

    template <int Width, int Height>
    constexpr DigitStrip(const PackedRows<Width, Height>& pixels)
        : width_(Width), height_(Height), bits_(pixels.Bits) {}
    template <int Width, int Height>
    DigitStrip(const PackedRows<Width, Height>&&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int CellWidth() const { return width_ / kCells; }
    // Whether pixel (x, y) of cell k belongs to the glyph.
    bool Ink(int cell, int x, int y) const {
        const int bit = y * width_ + cell * CellWidth() + x;
        return (bits_[bit / 8] >> (bit % 8) & 1) != 0;
    }
    // The cell of a character: a digit its own, "%" cell 10; -1 for anything else.
    static int CellOf(char c) { return c >= '0' && c <= '9' ? c - '0' : c == '%' ? kPercentCell : -1; }

  private:
    int width_;
    int height_;
    const unsigned char* bits_;
};

// Packs at compile time, so the program holds one bit a pixel rather than the text; a row of another width stops
// the build.
template <int Width, int Height>
constexpr PackedRows<Width, Height> PackRows(const char* const (&rows)[Height]) {
    PackedRows<Width, Height> packed;
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            if (rows[y][x] == '\0')
                throw "a row is narrower than the strip";
            if (rows[y][x] == 'X')
                packed.Bits[(y * Width + x) / 8] |= static_cast<unsigned char>(1 << ((y * Width + x) % 8));
        }
        if (rows[y][Width] != '\0')
            throw "a row is wider than the strip";
    }
    return packed;
}

// The packed pixels of a strip's rows, kept for the program's lifetime.
template <int Width, const auto& Rows>
inline constexpr auto kPackedRows = PackRows<Width>(Rows);

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
