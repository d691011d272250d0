// Items of the tray menu painted into a memory bitmap and checked at the pixels that matter.
#include <gtest/gtest.h>

#include <functional>

#include "platform/dib_win.h"
#include "processes/menu_painter_win.h"
#include "processes/popup_menu_win.h"
#include "processes/tray_menu_model.h"
#include "win_test_util.h"

namespace {
constexpr int kWidth = 300;
constexpr COLORREF kUntouched = RGB(255, 0, 255);

// A 32-bit bitmap in a memory device context, filled with kUntouched.
class Canvas {
  public:
    explicit Canvas(int height) : height_(height) {
        dc_.Reset(CreateCompatibleDC(nullptr));
        bitmap_ = CreateTopDownDib(kWidth, height, reinterpret_cast<void**>(&bits_));
        old_ = SelectObject(dc_.Get(), bitmap_.Get());
        RECT all{0, 0, kWidth, height};
        UniqueBrush brush(CreateSolidBrush(kUntouched));
        FillRect(dc_.Get(), &all, brush.Get());
    }
    ~Canvas() { SelectObject(dc_.Get(), old_); }
    HDC Dc() const { return dc_.Get(); }
    RECT Rect() const { return {0, 0, kWidth, height_}; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        DWORD p = bits_[y * kWidth + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels in [x0, x1) of every row that differ from `background`.
    int CountNot(COLORREF background, int x0, int x1) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = x0; x < x1; ++x)
                n += At(x, y) != background;
        return n;
    }
    int Count(COLORREF color) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < kWidth; ++x)
                n += At(x, y) == color;
        return n;
    }
    // The rightmost column with a pixel other than `background`, or -1.
    int RightmostNot(COLORREF background) const {
        for (int x = kWidth - 1; x >= 0; --x)
            for (int y = 0; y < height_; ++y)
                if (At(x, y) != background)
                    return x;
        return -1;
    }

  private:
    int height_;
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
    DWORD* bits_ = nullptr;
};

UniqueIcon SolidIcon(COLORREF color) {
    WindowDc screen(nullptr);
    UniqueBitmap image(CreateCompatibleBitmap(screen.Get(), 16, 16));
    UniqueBitmap mask(CreateBitmap(16, 16, 1, 1, nullptr));
    {
        UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
        SelectGuard select(dc.Get(), image.Get());
        RECT r{0, 0, 16, 16};
        UniqueBrush brush(CreateSolidBrush(color));
        FillRect(dc.Get(), &r, brush.Get());
        SelectGuard selectMask(dc.Get(), mask.Get());
        PatBlt(dc.Get(), 0, 0, 16, 16, BLACKNESS);  // opaque everywhere
    }
    ICONINFO info{TRUE, 0, 0, mask.Get(), image.Get()};
    return UniqueIcon(CreateIconIndirect(&info));
}

struct Fixture {
    MenuPainter Painter;
    UniqueIcon DefaultIcon = SolidIcon(RGB(0, 0, 255));
    UniqueIcon TaskManagerIcon = SolidIcon(RGB(255, 0, 0));
    MenuDrawContext Context;
    UINT Height = 0;
    explicit Fixture(bool classic = true) {
        Painter.SetForceClassic(classic);
        Context.DefaultProgramIcon = DefaultIcon.Get();
        Context.TaskManagerIcon = TaskManagerIcon.Get();
        Context.Highlight = RGB(251, 225, 225);
        MenuItemEx probe;
        probe.Caption = "AA";
        UINT width = 0;
        Painter.MeasureItem(probe, probe.Caption, false, width, Height);
    }
    void Draw(Canvas& canvas, const MenuItemEx& item, MenuItemState state = {}, const std::string& text = "") {
        Painter.DrawItem(canvas.Dc(), canvas.Rect(), item, text.empty() ? item.Caption : text, state, Context);
    }
};

MenuItemEx Row(int tag, const std::string& caption, const std::string& memText = "", bool highlight = false) {
    MenuItemEx item;
    item.Tag = tag;
    item.Caption = caption;
    item.MemText = memText;
    item.Highlight = highlight;
    return item;
}
}  // namespace

TEST(MenuDrawing, HighlightedProcessRowAndSelection) {
    Fixture f;
    const int mid = static_cast<int>(f.Height) / 2;
    MenuItemEx heavy = Row(kTagProcessRow, "x", "200 MB", true);
    struct Case {
        const MenuItemEx* Item;
        bool Selected;
        COLORREF Expected;
    } cases[] = {{&heavy, false, RGB(251, 225, 225)}, {&heavy, true, GetSysColor(COLOR_HIGHLIGHT)}};
    MenuItemEx light = Row(kTagProcessRow, "x", "2 MB", false);
    Case more[] = {{&light, false, GetSysColor(COLOR_MENU)}, {&light, true, GetSysColor(COLOR_HIGHLIGHT)}};
    for (const Case* list : {cases, more}) {
        for (int i = 0; i < 2; ++i) {
            Canvas canvas(static_cast<int>(f.Height));
            MenuItemState state;
            state.Selected = list[i].Selected;
            f.Draw(canvas, *list[i].Item, state);
            EXPECT_EQ(canvas.At(150, mid), list[i].Expected) << i << list[i].Item->MemText;
            EXPECT_EQ(canvas.At(1, mid), list[i].Expected) << "icon column";
        }
    }
    // The colour of the setting, when one is set.
    f.Context.Highlight = RGB(10, 200, 30);
    Canvas canvas(static_cast<int>(f.Height));
    f.Draw(canvas, heavy);
    EXPECT_EQ(canvas.At(150, mid), RGB(10, 200, 30));
}

TEST(MenuDrawing, IconColumn) {
    Fixture f;
    UniqueIcon own = SolidIcon(RGB(0, 255, 0));
    MenuItemEx withIcon = Row(kTagProcessRow, "x");
    withIcon.IconHandle.Reset(own.Release());
    withIcon.NoIcon = false;
    MenuItemEx withoutIcon = Row(kTagProcessRow, "x");
    MenuItemEx taskManager = Row(kTagTaskManager, "运行任务管理器");
    MenuItemEx about = Row(0, "关于");
    struct {
        const MenuItemEx* Item;
        COLORREF Expected;
    } cases[] = {{&withIcon, RGB(0, 255, 0)},
                 {&withoutIcon, RGB(0, 0, 255)},
                 {&taskManager, RGB(255, 0, 0)},
                 {&about, GetSysColor(COLOR_MENU)}};
    const int iconTop = (static_cast<int>(f.Height) - 16) / 2;
    for (const auto& c : cases) {
        Canvas canvas(static_cast<int>(f.Height));
        f.Draw(canvas, *c.Item);
        EXPECT_EQ(canvas.At(4 + 8, iconTop + 8), c.Expected) << c.Item->Caption << c.Item->Tag;
        EXPECT_EQ(canvas.At(4 + 15, iconTop + 15), c.Expected);
        EXPECT_EQ(canvas.At(4 + 16, iconTop + 8), GetSysColor(COLOR_MENU));  // 16 pixels wide, no more
    }
}

TEST(MenuDrawing, DefaultItemIsMeasuredAndDrawnBold) {
    Fixture f;
    MenuItemEx item = Row(0, "运行任务管理器 Task Manager");
    UINT plainWidth = 0, boldWidth = 0, height = 0;
    f.Painter.MeasureItem(item, item.Caption, false, plainWidth, height);
    EXPECT_EQ(height, static_cast<UINT>(f.Painter.LastMenuTextHeight() + 7));
    f.Painter.MeasureItem(item, item.Caption, true, boldWidth, height);
    EXPECT_GT(boldWidth, plainWidth);
    Canvas plain(static_cast<int>(height)), bold(static_cast<int>(height));
    MenuItemState state;
    f.Draw(plain, item, state);
    state.Default = true;
    f.Draw(bold, item, state);
    const COLORREF menu = GetSysColor(COLOR_MENU);
    EXPECT_GT(plain.CountNot(menu, 30, kWidth), 0);
    EXPECT_GT(bold.CountNot(menu, 30, kWidth), plain.CountNot(menu, 30, kWidth));
    EXPECT_EQ(plain.CountNot(menu, 0, 30), 0);  // the caption starts at L + 30
}

TEST(MenuDrawing, FiguresAndShortcutsEndTenPixelsFromTheRight) {
    Fixture f;
    const COLORREF menu = GetSysColor(COLOR_MENU);
    MenuItemEx process = Row(kTagProcessRow, "a", "1234 MB");
    MenuItemEx memory = Row(kTagMemoryRow, "b", " 45 %");
    MenuItemEx defrag = Row(0, "内存清理");
    MenuItemEx plain = Row(0, "c", "99 MB");  // only process and memory rows show a figure
    struct {
        const MenuItemEx* Item;
        std::string Text;
        bool Figure;
    } cases[] = {{&process, "a", true}, {&memory, "b", true}, {&defrag, "内存清理\tAlt+A", true}, {&plain, "c", false}};
    for (const auto& c : cases) {
        Canvas canvas(static_cast<int>(f.Height));
        MenuItemState state;
        state.Enabled = c.Item->Tag != kTagMemoryRow;
        f.Draw(canvas, *c.Item, state, c.Text);
        int right = canvas.RightmostNot(menu);
        if (c.Figure) {
            EXPECT_LT(right, kWidth - 10) << c.Text;
            EXPECT_GE(right, kWidth - 14) << c.Text;
        } else {
            EXPECT_LT(right, 60) << c.Text;
        }
    }
    // Without keyboard cues (a menu opened with the mouse) "&" underlines nothing and is not drawn.
    Canvas withPrefix(static_cast<int>(f.Height)), without(static_cast<int>(f.Height));
    f.Draw(withPrefix, Row(0, "&About"));
    f.Draw(without, Row(0, "About"));
    for (int y = 0; y < static_cast<int>(f.Height); ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(withPrefix.At(x, y), without.At(x, y)) << x << "," << y;
    // With them the access key is underlined.
    Canvas cued(static_cast<int>(f.Height));
    MenuItemState keyboard;
    keyboard.ShowAccessKeys = true;
    f.Draw(cued, Row(0, "&About"), keyboard);
    int changed = 0;
    for (int y = 0; y < static_cast<int>(f.Height); ++y)
        for (int x = 0; x < kWidth; ++x)
            changed += cued.At(x, y) != without.At(x, y);
    EXPECT_GT(changed, 0);
}

TEST(MenuDrawing, ClassicSeparatorAndDisabledMemoryRow) {
    Fixture f;
    Canvas separator(6);
    f.Draw(separator, Row(kTagMemoryRow, "-", " 45 %"));  // a caption of "-" is a separator whatever its tag
    EXPECT_EQ(separator.At(2, 3), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(separator.At(kWidth - 3, 3), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(separator.At(150, 4), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(separator.At(1, 3), kUntouched);
    EXPECT_EQ(separator.At(150, 1), kUntouched);

    Canvas memory(static_cast<int>(f.Height));
    MenuItemState disabled;
    disabled.Enabled = false;
    f.Draw(memory, Row(kTagMemoryRow, "内存使用率   ", " 45 %"), disabled);
    EXPECT_GT(memory.Count(GetSysColor(COLOR_BTNSHADOW)), 0);
    EXPECT_EQ(memory.Count(GetSysColor(COLOR_MENUTEXT)), 0);
}

TEST(MenuDrawing, ThemedMenuKeepsTheHighlightAndTheIcons) {
    Fixture f(false);
    if (!f.Painter.Themed())
        GTEST_SKIP() << "no visual style active";
    const int mid = static_cast<int>(f.Height) / 2;
    Canvas canvas(static_cast<int>(f.Height));
    f.Draw(canvas, Row(kTagProcessRow, "x", "200 MB", true));
    EXPECT_EQ(canvas.At(150, mid), RGB(251, 225, 225));
    EXPECT_EQ(canvas.At(1, mid), RGB(251, 225, 225));  // the gutter leaves the icon column in the colour
    const int iconTop = (static_cast<int>(f.Height) - 16) / 2;
    EXPECT_EQ(canvas.At(12, iconTop + 8), RGB(0, 0, 255));
    // A memory row cannot be clicked but reads in the normal text colour.
    Canvas memory(static_cast<int>(f.Height));
    MenuItemState disabled;
    disabled.Enabled = false;
    f.Draw(memory, Row(kTagMemoryRow, "内存使用率   ", " 45 %"), disabled);
    EXPECT_GT(memory.Count(GetSysColor(COLOR_MENUTEXT)), 0);
}

TEST(MenuDrawing, CheckMarkInTheIconColumn) {
    for (bool classic : {true, false}) {
        Fixture f(classic);
        if (!classic && !f.Painter.Themed())
            continue;  // no visual style to draw with
        const COLORREF background = classic ? GetSysColor(COLOR_MENU) : kUntouched;
        Canvas unchecked(static_cast<int>(f.Height)), checked(static_cast<int>(f.Height));
        MenuItemState state;
        f.Draw(unchecked, Row(0, "图标背景透明"), state);
        state.Checked = true;
        f.Draw(checked, Row(0, "图标背景透明"), state);
        EXPECT_GT(checked.CountNot(unchecked.At(2, 2), 0, 26), 0) << classic;
        if (classic) {
            EXPECT_EQ(unchecked.CountNot(background, 0, 26), 0);
        }
    }
}
