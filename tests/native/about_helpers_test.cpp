#include <gtest/gtest.h>

#include "platform/taskbar_edge.h"
#include "system/double_click_action.h"
#include "update/temp_file_name.h"
#include "widgets/link_markup.h"

TEST(AboutBox, TaskbarEdgeAndPlacement) {
    // A 1280 x 800 screen, a 389 x 298 window; the work area is the screen without the taskbar.
    struct Case {
        ScreenRect Taskbar;
        TaskbarEdge Edge;
        ScreenRect Work;
        int X, Y;
    } cases[] = {
        {{0, 760, 1280, 800}, TaskbarEdge::Bottom, {0, 0, 1280, 760}, 871, 442},
        {{-2, 758, 1282, 802}, TaskbarEdge::Bottom, {0, 0, 1280, 758}, 871, 440},
        {{0, 0, 1280, 40}, TaskbarEdge::Top, {0, 40, 1280, 800}, 871, 50},
        {{0, 0, 60, 800}, TaskbarEdge::Left, {60, 0, 1280, 800}, 80, 482},
        {{1220, 0, 1280, 800}, TaskbarEdge::Right, {0, 0, 1220, 800}, 811, 482},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TaskbarEdgeOf(c.Taskbar, 1280, 800), c.Edge) << c.Taskbar.Left << "," << c.Taskbar.Top;
        EXPECT_EQ(PositionNearTaskbar(c.Edge, c.Work, 389, 298), (ScreenPoint{c.X, c.Y}));
    }
    EXPECT_EQ(TaskbarEdgeOf({100, 500, 300, 600}, 1280, 800), TaskbarEdge::Unknown);
    EXPECT_FALSE(PositionNearTaskbar(TaskbarEdge::Unknown, {0, 0, 1280, 760}, 389, 298));
    // A left taskbar on a screen more than twice as wide as high is still on the left.
    EXPECT_EQ(TaskbarEdgeOf({0, 0, 60, 1080}, 3840, 1080), TaskbarEdge::Left);
}

TEST(AboutBox, TempFileNames) {
    EXPECT_EQ(TempFileNameFor(12345, ""), "TMP12345");
    EXPECT_EQ(TempFileNameFor(7, "tmp"), "TMP00007.tmp");
    EXPECT_EQ(TempFileNameFor(7, " .upd "), "TMP00007.upd");
    EXPECT_EQ(TempFileNameFor(9912345, "x"), "TMP12345.x");
}

TEST(SystemActions, DoubleClickActionNumbers) {
    EXPECT_EQ(DoubleClickActionOf(0), DoubleClickAction::TaskManager);
    EXPECT_EQ(DoubleClickActionOf(6), DoubleClickAction::ShutDownDialog);
    EXPECT_EQ(DoubleClickActionOf(7), DoubleClickAction::MemoryHistory);
    for (int n : {8, -1, 1000, INT32_MIN})
        EXPECT_EQ(DoubleClickActionOf(n), DoubleClickAction::Nothing) << n;
    std::string description = RunDialogDescription("Lumivex");
    EXPECT_EQ(description.size(), 101u);
    EXPECT_LT(description.size(), kRunDialogDescriptionBuffer);
    EXPECT_EQ(description,
              "Type the name of a program, folder, document, or Internet resource, and Lumivex will open it for you.");
}

TEST(LinkLabel, Markup) {
    using S = LinkSegment;
    EXPECT_EQ(ParseLinkMarkup("<link>Check for updates</link>"), (std::vector<S>{{"Check for updates", 0}}));
    EXPECT_EQ(ParseLinkMarkup("Lumivex is up to date"), (std::vector<S>{{"Lumivex is up to date", -1}}));
    EXPECT_EQ(ParseLinkMarkup("a <LINK>b</Link> c <link>d"),
              (std::vector<S>{{"a ", -1}, {"b", 0}, {" c ", -1}, {"d", 1}}));
    EXPECT_EQ(ParseLinkMarkup(""), std::vector<S>{});
    EXPECT_EQ(LinkMarkupPlainText("<link>Lumivex 2.7 is available for download</link>"),
              "Lumivex 2.7 is available for download");
}
