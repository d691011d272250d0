#include <gtest/gtest.h>

#include "options_dialog_test_util.h"
#include "widgets/font_dialog_win.h"
#include "widgets/input_query_win.h"

TEST(FontDialog, LogFontAndSpecRoundTrip) {
    FontSpec cases[] = {
        {"Tahoma", 1, 0, 6, 0},
        {"Courier New", 0, 0x123456, 9, 1 | 2},
        {"微软雅黑", 134, 0xFF, 12, 4 | 8},
    };
    for (const FontSpec& f : cases) {
        for (int dpi : {96, 120, 144}) {
            LOGFONTW lf = LogFontFromSpec(f, dpi);
            EXPECT_LT(lf.lfHeight, 0);
            EXPECT_EQ(SpecFromLogFont(lf, dpi, f.Color), f) << f.Name << " " << dpi;
        }
    }
}

TEST(InputQuery, ReturnsTheTypedTextOrNothingWhenCancelled) {
    struct Box {
        HWND Hwnd() const { return FindWindowW(nullptr, L"Save Theme"); }
    } box;
    for (bool ok : {true, false}) {
        std::string name = "preset";
        bool answered = false;
        WinTest::RunModal<Box>(
            box,
            [&](Box& b) {
                EXPECT_EQ(GetControlText(GetDlgItem(b.Hwnd(), IDC_INPUT_PROMPT)), "Theme Name");
                EXPECT_EQ(GetControlText(GetDlgItem(b.Hwnd(), IDC_INPUT_EDIT)), "preset");
                SetControlText(GetDlgItem(b.Hwnd(), IDC_INPUT_EDIT), "夜间 a/b");
                SendMessageW(GetDlgItem(b.Hwnd(), ok ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
            },
            [&] { answered = InputQuery(nullptr, "Save Theme", "Theme Name", name); });
        EXPECT_EQ(answered, ok);
        EXPECT_EQ(name, ok ? "夜间 a/b" : "preset");
    }
}
