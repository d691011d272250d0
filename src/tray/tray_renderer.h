#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "memory/memory_format.h"
#include "memory/memory_sample.h"
#include "settings/settings.h"

constexpr int kTrayImageSize = 16;  // the classic size; pictures may be larger
constexpr int kMaxTrayImageSize = 256;
// The almost-black colour that stands for transparency when TransBk is set.
constexpr uint32_t kTransparentKey = 0x030303;

// The tray picture, Size x Size, row by row from the top; colours as 0x00BBGGRR.
struct TrayPicture {
    explicit TrayPicture(int size = kTrayImageSize);  // size x size, all 0

    int Size = kTrayImageSize;
    std::vector<uint32_t> Pixels;

    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y * Size + x)]; }
    // Pixels outside the picture are clipped.
    void Set(int x, int y, uint32_t color);
    // Fills columns left..right-1 and rows top..bottom-1; an empty rectangle fills nothing.
    void Fill(int left, int top, int right, int bottom, uint32_t color);
    bool operator==(const TrayPicture& o) const { return Size == o.Size && Pixels == o.Pixels; }
    bool operator!=(const TrayPicture& o) const { return !(*this == o); }
};

// The system's colour table (GetSysColor), by index 0-24.
class ISystemColors {
  public:
    virtual ~ISystemColors() = default;
    virtual uint32_t SysColor(int index) const = 0;
};

// The colours a fresh Windows 10 uses; the command-line renderer resolves system colours with them.
class Windows10SystemColors : public ISystemColors {
  public:
    uint32_t SysColor(int index) const override;
};

// The colour an element shows, 0x00BBGGRR: its own default while automatic, system colours looked up.
uint32_t ResolveColor(ColorValue value, ColorValue automatic, const ISystemColors& colors);

// Text in the display font, for the picture's figures when InternalFont is off. The font is the settings' font
// scaled by pictureSize / 16 (picture.Size when painting).
class ITrayTextPainter {
  public:
    virtual ~ITrayTextPainter() = default;
    virtual int TextWidth(const std::string& text, int pictureSize) = 0;
    virtual int TextHeight(const std::string& text, int pictureSize) = 0;
    // Draws with a transparent background; pixels outside the picture are clipped.
    virtual void PaintText(TrayPicture& picture, int x, int y, const std::string& text, uint32_t color) = 0;
};

struct TrayRenderContext {
    const ISystemColors& Colors;
    ITrayTextPainter* Text = nullptr;  // without one, the display-font path draws no figures
    NumberSeparators Separators;
    int Size = kTrayImageSize;  // the picture's size in pixels
};

struct TrayImage {
    TrayPicture Picture;
    std::string Text;  // the figure as shown, separators included
    std::string Hint;
};

// Draws the picture of one sample from scratch at context.Size (brought into 16 to 256) and builds the hint of the
// same sample.
TrayImage RenderTrayImage(const MemorySample& sample, const Settings& settings, const TrayRenderContext& context);
