#include "tray/tray_renderer.h"

#include <algorithm>
#include <optional>

#include "tray/digit_strip.h"
#include "tray/pixel_rows.h"
#include "tray/tray_grid.h"

namespace {
bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Characters (code points) of UTF-8 text.
int CharCount(const std::string& text) {
    int n = 0;
    for (char c : text)
        n += IsContinuation(c) ? 0 : 1;
    return n;
}

std::string FirstChars(const std::string& text, int count) {
    size_t i = 0;
    for (int n = 0; i < text.size(); ++i) {
        if (!IsContinuation(text[i]) && n++ == count)
            break;
    }
    return text.substr(0, i);
}

// 1-based character position of `part` in text, 0 when absent.
int CharPosition(const std::string& text, const std::string& part) {
    if (part.empty())
        return 0;
    size_t at = text.find(part);
    return at == std::string::npos ? 0 : CharCount(text.substr(0, at)) + 1;
}

void RemoveAll(std::string& text, const std::string& part) {
    if (part.empty())
        return;
    for (size_t at; (at = text.find(part)) != std::string::npos;)
        text.erase(at, part.size());
}

// Amounts the strips cannot hold (five or more digits in megabytes, or gigabytes of four digits and more, which
// the four-character cut would shorten by whole digits): shown one unit up - further up until at most three
// whole digits remain - with two decimals and no grouping, cut to four characters and drawn with the decimal
// point like gigabytes. 16384 MB reads 16.0, 10000 KB reads 9.77; the hint keeps the exact figures.
std::string CompactAmount(uint64_t bytes, int shift, const NumberSeparators& separators) {
    shift += 10;
    while (shift < 60 && (bytes >> shift) >= 1000)
        shift += 10;
    return FirstChars(FormatScaled(bytes, shift, 2, "", separators.Decimal), 4);
}

struct Figure {
    std::string Text;          // as a person reads it
    int DecimalPoint = 0;      // 1-based position of the decimal separator in Text, 0 for none
    bool PointLayout = false;  // digits one column to the left, the decimal point drawn
};

Figure ChooseFigure(const MemorySample& sample, const Settings& s, const NumberSeparators& separators) {
    Figure f;
    f.Text = SelectDisplayedValue(sample, s, separators);
    f.PointLayout = s.OptimizeForGigabytes;
    if (s.InternalFont) {
        std::optional<uint64_t> amount = DisplayedAmount(sample, s);
        bool tooLong;
        if (s.OptimizeForGigabytes) {
            int whole = CharPosition(f.Text, separators.Decimal);
            tooLong = (whole ? whole - 1 : CharCount(f.Text)) > 4;
        } else {
            std::string digits = f.Text;
            RemoveAll(digits, separators.Thousands);
            RemoveAll(digits, separators.Decimal);
            tooLong = CharCount(digits) >= 5;
        }
        if (amount && tooLong) {
            f.Text = CompactAmount(*amount, TrayUnitFor(*amount, s.OptimizeForGigabytes).Shift, separators);
            f.PointLayout = true;
        } else if (s.OptimizeForGigabytes) {
            f.Text = FirstChars(f.Text, 4);
        }
    }
    f.DecimalPoint = f.PointLayout ? CharPosition(f.Text, separators.Decimal) : 0;
    return f;
}

// The strips of a picture: those drawn for one base size, each of their pixels a scale x scale block.
struct DigitScale {
    const DigitFont* Font;
    int Scale;
};

// The largest figures that fit: the base size times a whole scale that comes nearest to the picture's size
// without passing it; a tie keeps the classic strips, so multiples of 16 are the classic picture in blocks.
DigitScale DigitScaleFor(int size) {
    DigitScale best{DigitFontFor(kTrayImageSize), size / kTrayImageSize};
    for (int base : {20, 24, 28}) {
        if (size / base * base > best.Font->Size * best.Scale)
            best = DigitScale{DigitFontFor(base), size / base};
    }
    return best;
}

void DrawCell(TrayPicture& picture, const DigitStrip& strip, int scale, int cell, int left, int top, uint32_t color) {
    for (int y = 0; y < strip.Height(); ++y) {
        for (int x = 0; x < strip.CellWidth(); ++x) {
            if (!strip.Ink(cell, x, y))
                continue;
            if (scale == 1)
                picture.Set(left + x, top + y, color);
            else
                picture.Fill(left + x * scale, top + y * scale, left + (x + 1) * scale, top + (y + 1) * scale, color);
        }
    }
}

// Places and steps are classic coordinates, laid on the picture through the grid.
void DrawBuiltInDigits(TrayPicture& picture,
                       const TrayGrid& grid,
                       const Settings& s,
                       const Figure& figure,
                       const std::string& drawn,
                       int dy,
                       uint32_t color) {
    const int n = CharCount(drawn);
    int x0 = 0, step = 0;
    if (n == 1)
        x0 = 4, step = 2;
    else if (n == 2)
        x0 = s.MiniInternalFont ? 3 : 1, step = s.MiniInternalFont ? 2 : 4;
    else if (n == 3)
        x0 = 1, step = 1;
    if (figure.PointLayout)
        --x0;
    int row = 1 + (s.TransBk && !s.BarBottom ? 1 : 0);
    if (s.MiniInternalFont)
        row += s.BarBottom ? 2 : 1;
    const DigitScale digits = DigitScaleFor(grid.Size());
    const DigitFont& font = *digits.Font;
    const DigitStrip& strip = s.MiniInternalFont ? font.Mini : n <= 2 ? font.Two : n == 3 ? font.Three : font.Four;
    const int pointY = s.MiniInternalFont ? (s.BarBottom ? 8 : 13) : (s.BarBottom ? 9 : 15);

    int i = 0;  // 1-based character position
    for (size_t at = 0; at < drawn.size(); ++at) {
        if (IsContinuation(drawn[at]))
            continue;
        ++i;
        const int advance = (i - 1) * step + (i - 1) * 4;
        if (i == figure.DecimalPoint) {
            const int x = advance + x0;
            picture.Fill(grid.X(x), grid.Y(pointY), grid.X(x + 1), grid.Y(pointY + 1), color);
            x0 += 2;
        }
        // Anything but a digit or "%" keeps its place and stays blank.
        const int cell = DigitStrip::CellOf(drawn[at]);
        if (cell >= 0)
            DrawCell(picture, strip, digits.Scale, cell, grid.X(advance + x0), grid.Y(5 + row + dy), color);
    }
}

// Columns of the segmented gauge's separators, without and with the border.
constexpr int kSeparatorsOpen[] = {2, 5, 8, 11, 15};
constexpr int kSeparatorsInBorder[] = {3, 6, 9, 12};

// Borders and separators are one classic pixel wide; the grid keeps them at one width however the picture is
// scaled.
TrayGrid GridFor(int size, const Settings& s, int y0) {
    uint32_t columns = 0, rows = 0;
    if (!s.NoBorder) {
        columns |= 1u << 0 | 1u << (s.InternalFont ? 15 : 14);
        rows |= s.InternalFont ? (1u << y0 | 1u << (y0 + 4)) : (1u << (y0 + 1) | 1u << (y0 + 3));
    }
    if (s.StandardGauge) {
        if (s.NoBorder) {
            for (int x : kSeparatorsOpen)
                columns |= 1u << x;
        } else {
            for (int x : kSeparatorsInBorder)
                columns |= 1u << x;
        }
    }
    return TrayGrid(size, columns, rows);
}
}  // namespace

TrayPicture::TrayPicture(int size)
    : Size(size > 0 ? size : 0), Pixels(static_cast<size_t>(Size) * static_cast<size_t>(Size)) {}

void TrayPicture::Set(int x, int y, uint32_t color) {
    SetPixelClipped(Pixels, Size, Size, x, y, color);
}

void TrayPicture::Fill(int left, int top, int right, int bottom, uint32_t color) {
    FillClipped(Pixels, Size, Size, left, top, right, bottom, color);
}

uint32_t Windows10SystemColors::SysColor(int index) const {
    static constexpr uint32_t kColors[] = {
        0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000,
        0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D,
        0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000, 0xE1FFFF,
    };
    return index >= 0 && index < static_cast<int>(sizeof kColors / sizeof kColors[0]) ? kColors[index] : 0;
}

uint32_t ResolveColor(ColorValue value, ColorValue automatic, const ISystemColors& colors) {
    ColorValue c = ResolveAutomatic(value, automatic);
    uint32_t bits = static_cast<uint32_t>(c);
    if ((bits & 0xFF000000u) == 0xFF000000u)
        return colors.SysColor(static_cast<int>(bits & 0xFF)) & 0xFFFFFF;
    return bits & 0xFFFFFF;
}

TrayImage RenderTrayImage(const MemorySample& sample, const Settings& s, const TrayRenderContext& context) {
    const int size = std::clamp(context.Size, kTrayImageSize, kMaxTrayImageSize);
    TrayImage out{TrayPicture(size), {}, {}};
    TrayPicture& picture = out.Picture;
    const ISystemColors& colors = context.Colors;
    const int64_t load = sample.MemoryLoad;
    const int y0 = s.BarBottom ? (s.NoBorder ? 10 : 11) : 0;
    const int dy = s.BarBottom ? -5 : 0;
    const bool wide = s.NoBorder && s.TransBk && !s.StandardGauge;
    const uint32_t background =
        s.TransBk ? kTransparentKey : ResolveColor(s.OpaqueBkColor, AutomaticColors::kOpaqueBk, colors);
    const TrayGrid grid = GridFor(size, s, y0);
    // A rectangle of classic coordinates.
    auto fill = [&](int left, int top, int right, int bottom, uint32_t color) {
        picture.Fill(grid.X(left), grid.Y(top), grid.X(right), grid.Y(bottom), color);
    };

    picture.Fill(0, 0, size, size, background);

    if (!s.NoBorder) {
        const int left = 0, top = s.InternalFont ? y0 : y0 + 1;
        const int right = s.InternalFont ? 16 : 15, bottom = s.InternalFont ? y0 + 5 : y0 + 4;
        const uint32_t border = ResolveColor(s.BarBorderColor, AutomaticColors::kBarBorder, colors);
        fill(left, top, right, top + 1, border);
        fill(left, bottom - 1, right, bottom, border);
        fill(left, top, left + 1, bottom, border);
        fill(right - 1, top, right, bottom, border);
    }

    int length = static_cast<int>(load * 16 / 100);
    if (length < 1)
        length = 1;
    if (length >= 15)
        length = wide ? 16 : 15;

    uint32_t gauge;
    if (load < s.YellowPercent)
        gauge = ResolveColor(s.GreenColor, AutomaticColors::kGreen, colors);
    else if (load >= s.RedPercent)
        gauge = ResolveColor(s.RedColor, AutomaticColors::kRed, colors);
    else
        gauge = ResolveColor(s.YellowColor, AutomaticColors::kYellow, colors);

    int gaugeLeft = 1, gaugeTop = y0 + 1, gaugeBottom = y0 + 4;
    if (s.InternalFont && s.NoBorder) {
        if (!s.TransBk && s.BarBottom)
            gaugeTop = y0 + 2, gaugeBottom = y0 + 5;
        if (s.TransBk) {
            gaugeLeft = 0;
            gaugeTop = s.BarBottom ? y0 + 2 : y0;
            gaugeBottom = s.BarBottom ? y0 + 6 : y0 + 4;
        }
    }
    fill(gaugeLeft, gaugeTop, length, gaugeBottom, gauge);
    if (s.FullBar) {
        fill(length, gaugeTop, wide ? 16 : 15, gaugeBottom,
             ResolveColor(s.FullBarColor, AutomaticColors::kFullBar, colors));
    }

    if (s.StandardGauge) {
        if (s.NoBorder) {
            const int top = (s.TransBk && !s.BarBottom ? y0 - 1 : y0) + 1;
            for (int x : kSeparatorsOpen)
                fill(x, top, x + 1, top + 5, background);
        } else {
            for (int x : kSeparatorsInBorder)
                fill(x, y0 + 1, x + 1, y0 + 4, background);
        }
    }

    const Figure figure = ChooseFigure(sample, s, context.Separators);
    out.Text = figure.Text;
    std::string drawn = figure.Text;
    if (s.InternalFont || !s.OptimizeForGigabytes) {
        RemoveAll(drawn, context.Separators.Thousands);
        RemoveAll(drawn, context.Separators.Decimal);
    }
    const uint32_t fontColor = ResolveColor(s.Font.Color, AutomaticColors::kFont, colors);
    if (!s.InternalFont) {
        if (context.Text) {
            const int x = (size - context.Text->TextWidth(drawn, size)) / 2;
            const int y = size - context.Text->TextHeight("1", size) + grid.Y(kTrayImageSize + dy) - size;
            context.Text->PaintText(picture, x, y, drawn, fontColor);
        }
    } else {
        DrawBuiltInDigits(picture, grid, s, figure, drawn, dy, fontColor);
    }

    out.Hint = BuildTrayTip(BuildTrayHint(sample, s, context.Separators), sample, s, context.Separators);
    return out;
}
