#include "processes/tray_menu_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "processes/process_dialog.h"

using ::testing::ElementsAre;

TEST(TrayMenuModel, HintLinesEndAtAnyLineBreak) {
    EXPECT_THAT(SplitHintLines("a\r\nb\rc\nd"), ElementsAre("a", "b", "c", "d"));
    EXPECT_THAT(SplitHintLines("a\r\n\r\nb\r\n"), ElementsAre("a", "", "b"));
    EXPECT_TRUE(SplitHintLines("").empty());
}

TEST(TrayMenuModel, HintLineSplitsAtTheFirstColon) {
    struct {
        const char* Line;
        const char* Caption;
        const char* Figure;
    } cases[] = {{"内存使用率   : 45 %", "内存使用率   ", " 45 %"},
                 {"a: b: c", "a", " b: c"},
                 {"当前显示： 物理内存", "当前显示： 物理内存", ""},  // a full-width colon is no separator
                 {":x", "", "x"}};
    for (const auto& c : cases) {
        MemoryRowText row = SplitHintLine(c.Line);
        EXPECT_EQ(row.Caption, c.Caption) << c.Line;
        EXPECT_EQ(row.MemText, c.Figure) << c.Line;
    }
}

TEST(TrayMenuModel, RowCountHighlightAndCaption) {
    EXPECT_EQ(ProcessRowCount(5, 3), 3);
    EXPECT_EQ(ProcessRowCount(2, 3), 2);
    EXPECT_EQ(ProcessRowCount(0, 3), 0);
    EXPECT_EQ(ProcessRowCount(-1, 3), 0);
    EXPECT_EQ(ProcessRowCount(10, 0), 0);

    const uint64_t mb = 1048576;
    EXPECT_TRUE(IsHighlighted(100 * mb, 100));
    EXPECT_FALSE(IsHighlighted(100 * mb - 1, 100));
    EXPECT_FALSE(IsHighlighted(100 * mb, 0));
    EXPECT_FALSE(IsHighlighted(0, 1));
    EXPECT_TRUE(IsHighlighted(5000 * mb, 4097));  // beyond 4 GB

    EXPECT_EQ(ProcessCaption("app.exe", "My App", true), "My App");
    EXPECT_EQ(ProcessCaption("app.exe", "My App", false), "app.exe");
    EXPECT_EQ(ProcessCaption("app.exe", "", true), "app.exe");
}

TEST(TrayMenuModel, HighlightColourAndShortcut) {
    EXPECT_EQ(ProcessHighlightColor(kAutomaticColor, false), Rgb(251, 225, 225));
    EXPECT_EQ(ProcessHighlightColor(Rgb(1, 2, 3), false), Rgb(1, 2, 3));
    EXPECT_EQ(ProcessHighlightColor(Rgb(1, 2, 3), true), 0x00E1E1FB);

    CaptionParts parts = SplitShortcut("内存清理\tAlt+A");
    EXPECT_EQ(parts.Caption, "内存清理");
    EXPECT_EQ(parts.Shortcut, "Alt+A");
    EXPECT_EQ(SplitShortcut("关于").Shortcut, "");

    EXPECT_EQ(HidePrefix("&About"), "About");
    EXPECT_EQ(HidePrefix("Tom && Jerry&"), "Tom & Jerry");

    EXPECT_EQ(AccessKeyOf("E&xit"), 'x');
    EXPECT_EQ(AccessKeyOf("Tom && &Jerry"), 'j');
    EXPECT_EQ(AccessKeyOf("Tom && Jerry"), '\0');
    EXPECT_EQ(AccessKeyOf("退出"), '\0');
    const std::vector<std::string> captions = {"Open &Task Manager", "explorer.exe", "&Free up memory", "E&xit"};
    EXPECT_EQ(FindAccessKey(captions, 'X'), 3);
    EXPECT_EQ(FindAccessKey(captions, 't'), 0);
    EXPECT_EQ(FindAccessKey(captions, 'e'), -1);
    EXPECT_EQ(FindAccessKey(captions, '\0'), -1);
}

TEST(ProcessDialog, TextsWithAndWithoutVersionInformation) {
    ProcessDialogTexts t = BuildProcessDialogTexts("app.exe", "My App", "Maker", "1.2.3.4");
    EXPECT_EQ(t.Instruction, "进 程 信 息 ：           'app.exe'");
    EXPECT_EQ(
        t.Content,
        "My App\r\nMaker\r\n版本号： 1.2.3.4\r\n\r\n"
        "进程可以被结束，但是请注意，终止该进程将导致所有未保存的信息丢失！                                           "
        "\r\n\r\n提示：你可以清理进程内存或打开程序所在目录。                              ");
    EXPECT_EQ(t.Footer, "");

    t = BuildProcessDialogTexts("SvcHost.EXE", "", "Maker", "1.0.0.0");
    EXPECT_EQ(t.Content.rfind("(没有相关进程信息)      \r\n\r\n进程可以被结束", 0), 0u);
    EXPECT_EQ(t.Footer, "'SvcHost.EXE' 是一个系统进程！！！     ");
    EXPECT_EQ(BuildProcessDialogTexts("svchost32.exe", "", "", "").Footer, "");
}

TEST(ProcessDialog, FourthButtonCountsAsCancel) {
    EXPECT_EQ(NormalizeProcessChoice(103), ChoiceCancel);
    EXPECT_EQ(NormalizeProcessChoice(2), ChoiceCancel);
    EXPECT_EQ(NormalizeProcessChoice(101), ChoiceFreeMemory);
    EXPECT_EQ(BuildProcessDialogTexts("a.exe", "", "", "").Buttons, "打开文件目录\n释 放 内 存 \n结 束 进 程 \n取 消 ");
}

TEST(TrayMenuModel, CaptionIsCutWithAnEllipsisToFitItsRoom) {
    // Each character measures 10 except a Chinese one (20); the ellipsis measures 10.
    const auto width = [](const std::string& text) {
        int w = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if ((c & 0xC0) == 0x80)
                continue;
            w += c >= 0xE4 ? 20 : 10;  // U+2026 starts with 0xE2, CJK with 0xE4..0xE9
        }
        return w;
    };
    const struct {
        const char* Text;
        int Room;
        const char* Shown;
    } cases[] = {
        {"notepad.exe", 110, "notepad.exe"},  // fits exactly
        {"notepad.exe", 109, "notepad.e…"},   // ten characters of room: nine and the ellipsis
        {"my app.exe", 40, "my…"},            // the blank before the cut goes
        {"记事本程序.exe", 70, "记事本…"},    // never half a character
        {"记事本程序.exe", 69, "记事…"},
        {"abc", 5, "…"},  // no room at all: the ellipsis alone
        {"", 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitCaption(c.Text, c.Room, width), c.Shown) << c.Text << " in " << c.Room;

    // A 230-character name in the room of a small screen: as long as fits, never longer.
    const std::string name(226, 'x');
    const std::string shown = FitCaption(name + ".exe", 995, width);
    EXPECT_EQ(shown, std::string(98, 'x') + "…");
    EXPECT_LE(width(shown), 995);
}
