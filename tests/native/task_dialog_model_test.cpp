// Texts, lists, ids and the button row of the message dialogs; the portable-device rule.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "system/portable_device.h"
#include "system/task_dialog_model.h"

using ::testing::ElementsAre;

TEST(TaskDialogModel, BackslashNBecomesALineBreak) {
    EXPECT_EQ(ExpandLineBreaks("one\\ntwo\\n"), "one\ntwo\n");
    EXPECT_EQ(ExpandLineBreaks("C:\\new\\x\\"), "C:\new\\x\\");
    EXPECT_EQ(ExpandLineBreaks(""), "");
}

TEST(TaskDialogModel, ListsSplitIntoCaptions) {
    struct Case {
        const char* List;
        std::vector<std::string> Expected;
    } cases[] = {
        {"&Defrag memory\nTask Manager\n&Close", {"&Defrag memory", "Task Manager", "&Close"}},
        {"  first\r\nsecond\r\n\r\nthird \n", {"first", "second", "third"}},  // whole list trimmed, blanks skipped
        {"释 放 内 存 \n取 消 ", {"释 放 内 存 ", "取 消"}},                  // inner captions keep their blanks
        {"two\\nlines\nnext", {"two\nlines", "next"}},
        {"", {}},
        {" \r\n ", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitDialogList(c.List), c.Expected) << c.List;
}

TEST(TaskDialogModel, CaptionsButtonsAndResults) {
    EXPECT_EQ(StripAccelerators("&Defrag && go"), "Defrag & go");
    EXPECT_TRUE(IsCancelCaption("Cancel"));
    EXPECT_TRUE(IsCancelCaption("&cancel"));
    EXPECT_FALSE(IsCancelCaption("Ca&ncel"));
    EXPECT_FALSE(IsCancelCaption("取 消 "));
    EXPECT_EQ(ButtonWidthFor(10), 80);
    EXPECT_EQ(ButtonWidthFor(60), 112);

    std::vector<int> emulated, native;
    for (const CommonButtonInfo& b : CommonButtons()) {
        emulated.push_back(b.EmulatedId);
        native.push_back(b.NativeId);
    }
    EXPECT_THAT(emulated, ElementsAre(1, 6, 7, 2, 4, 3));
    EXPECT_THAT(native, ElementsAre(1, 6, 7, 2, 4, 8));

    EXPECT_EQ(MessageButtonsToTaskButtons(0x01 | 0x02), 0x02u | 0x04u);
    EXPECT_EQ(MessageButtonsToTaskButtons(0x04 | 0x08 | 0x10 | 0x20), 0x01u | 0x08u | 0x20u | 0x10u);
    struct Map {
        int Id, Result;
    } maps[] = {{1, 1}, {2, 2}, {4, 4}, {6, 6}, {7, 7}, {8, 3}, {100, 1}, {0, 1}};
    for (const Map& m : maps)
        EXPECT_EQ(TaskResultToMessageResult(m.Id), m.Result) << m.Id;
}

TEST(TaskDialogModel, EmulatedWidthAndButtonRows) {
    EXPECT_EQ(EmulatedDialogWidth(270, 999, 999, "", ""), 270);
    EXPECT_EQ(EmulatedDialogWidth(0, 300, 300, std::string(40, 'x'), ""), 420);
    EXPECT_EQ(EmulatedDialogWidth(0, 301, 0, "", ""), 480);
    EXPECT_EQ(EmulatedDialogWidth(0, 0, 0, "", std::string(41, 'x')), 480);
    EXPECT_EQ(EmulatedDialogWidth(0, 0, 0, std::string(20, 'x') + "内内内内内内内内内内内内内内内内内内内内", ""), 420);

    // Right-aligned, right to left, gap 6, margin 14.
    std::vector<ButtonPlace> one = LayoutButtonRow({80, 100}, 420, 58, 50, 14, 6, 32);
    EXPECT_EQ(one[1].X, 420 - 14 - 100);
    EXPECT_EQ(one[0].X, 420 - 14 - 100 - 6 - 80);
    EXPECT_EQ(one[0].Y, 50);
    // Too wide for one row: the leftmost buttons continue 32 pixels lower, again from the right.
    std::vector<ButtonPlace> two = LayoutButtonRow({150, 150, 150}, 420, 58, 50, 14, 6, 32);
    EXPECT_EQ(two[2].Y, 50);
    EXPECT_EQ(two[1].Y, 50);
    EXPECT_EQ(two[0].Y, 82);
    EXPECT_EQ(two[0].X, 420 - 14 - 150);
    for (const ButtonPlace& p : two)
        EXPECT_GE(p.X, 58 / 2);

    // Widened for one row where that stays within 640 pixels: the row then ends at half the indent.
    const int widened = WidenForOneButtonRow(420, {150, 150, 150}, 58, 14, 6);
    EXPECT_EQ(widened, 58 / 2 + 150 * 3 + 6 * 2 + 14);
    for (const ButtonPlace& p : LayoutButtonRow({150, 150, 150}, widened, 58, 50, 14, 6, 32))
        EXPECT_EQ(p.Y, 50);
    EXPECT_EQ(WidenForOneButtonRow(420, {80, 100}, 58, 14, 6), 420);        // fits already
    EXPECT_EQ(WidenForOneButtonRow(420, {300, 300, 300}, 58, 14, 6), 420);  // too wide: the row wraps
    EXPECT_EQ(WidenForOneButtonRow(420, {}, 58, 14, 6), 420);

    // The system's dialog, in dialog units: the verification box and three buttons on a 270-unit row.
    EXPECT_EQ(NativeWidthForOneButtonRow(270, {50, 50, 20}, 110), 5 + 126 + 5 + 66 + 5 + 66 + 5 + 50 + 5);
    EXPECT_EQ(NativeWidthForOneButtonRow(270, {10}, 0), 270);             // fits already
    EXPECT_EQ(NativeWidthForOneButtonRow(0, {200, 200, 200}, 0), 0);      // the system chooses
    EXPECT_EQ(NativeWidthForOneButtonRow(270, {200, 200, 200}, 0), 270);  // too wide: the row wraps
}

TEST(PortableDeviceRule, LidOrBatteryMakesAComputerPortable) {
    struct Case {
        PowerReadings R;
        bool Portable;
    } cases[] = {
        {{true, false, true, 1}, false},    // desktop on mains
        {{true, true, true, 1}, true},      // laptop on mains: it has a lid
        {{true, false, true, 0}, true},     // on battery
        {{true, false, true, 255}, false},  // unknown status, no lid
        {{true, true, true, 255}, true},    // unknown status with a lid
        {{false, true, false, 0}, false},   // failed queries count as nothing
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadingsPortable(c.R), c.Portable);
}
