#include "settings/themes.h"

#include <gtest/gtest.h>

#include "memory_profile.h"
#include "settings/color_text.h"

namespace {
const ThemeColorTexts kSample = {"-1", "000000", "ButtonShadow", "#123456", "00FF00", "zz", "-1"};
}

TEST(Themes, WriteThenReadKeepsEveryEntryAsWritten) {
    MemoryProfile p;
    ASSERT_TRUE(WriteThemeFile(p, "Dark", kSample, /*transBk=*/true, /*fullBar=*/true));
    std::vector<std::string> keys;
    for (auto& w : p.Writes) {
        EXPECT_EQ(w.first, "LumivexTheme");
        keys.push_back(w.second);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"Ver", "Name", "FontColor", "BackgroundColor", "BarColor",
                                              "BarBorderColor", "GreenColor", "YellowColor", "RedColor",
                                              "OpaqueBackground", "BarOpaqueBackground"}));
    EXPECT_EQ(p.ReadString("LumivexTheme", "Ver", ""), "22");
    EXPECT_EQ(p.ReadString("LumivexTheme", "OpaqueBackground", ""), "0");  // transparent: not opaque
    ThemeFile t = ReadThemeFile(p);
    EXPECT_EQ(t.Colors, kSample);  // unchecked: "zz" and "#123456" come back as they stand
    EXPECT_TRUE(t.TransBk());
    EXPECT_TRUE(t.BarOpaqueBackground);
}

TEST(Themes, VersionDecidesWhatOpaqueBackgroundMeans) {
    struct Case {
        const char* Ver;  // nullptr: no "Ver" key
        const char* Opaque;
        bool TransBk;
    } cases[] = {
        {"22", "1", false}, {nullptr, "1", false}, {"21", "1", true},   {"", "1", true},
        {"22", "0", true},  {"21", "0", false},    {"22", "yes", true},
    };
    for (const Case& c : cases) {
        MemoryProfile p;
        if (c.Ver)
            p.Set("LumivexTheme", "Ver", c.Ver);
        p.Set("LumivexTheme", "OpaqueBackground", c.Opaque);
        EXPECT_EQ(ReadThemeFile(p).TransBk(), c.TransBk) << (c.Ver ? c.Ver : "(none)") << " " << c.Opaque;
    }
}

TEST(Themes, EmptyOrBrokenFileReadsAsAutomaticAndUnreadableColoursAsBlack) {
    MemoryProfile empty;
    ThemeFile t = ReadThemeFile(empty);
    for (const std::string& c : t.Colors)
        EXPECT_EQ(c, "-1");
    EXPECT_TRUE(t.TransBk());
    EXPECT_FALSE(t.BarOpaqueBackground);

    Settings s;
    StoreThemeColors({"-1", "\x01\xff", "12", "ThreeDFace", "Automatic", "", "FF0000"}, s);
    EXPECT_EQ(s.FontColor, kAutomaticColor);
    EXPECT_EQ(s.OpaqueBkColor, 0);
    EXPECT_EQ(s.FullBarColor, 0);
    EXPECT_EQ(s.BarBorderColor, SystemColor(15));
    EXPECT_EQ(s.GreenColor, 0);
    EXPECT_EQ(s.YellowColor, 0);
    EXPECT_EQ(s.RedColor, Rgb(255, 0, 0));
}

TEST(Themes, SettingsToEntriesAndBack) {
    Settings s;
    s.FontColor = kAutomaticColor;
    s.OpaqueBkColor = Rgb(1, 2, 3);
    s.FullBarColor = SystemColor(16);
    s.RedColor = kAutomaticColor;
    ThemeColorTexts e = ThemeColorsOf(s);
    EXPECT_EQ(e[0], "-1");
    EXPECT_EQ(e[1], "010203");
    EXPECT_EQ(e[2], "ButtonShadow");
    EXPECT_EQ(e[6], "-1");
    Settings back;
    back.FontColor = 5;
    StoreThemeColors(e, back);
    for (const ThemeColorSlot& slot : kThemeColorSlots)
        EXPECT_EQ(back.*slot.Member, s.*slot.Member) << slot.Key;
}

TEST(Themes, SafeFileNames) {
    struct Case {
        std::string Typed, Safe;
    } cases[] = {
        {"a/b:c?d", "a_b_c_d"},    {"|<>\"?*:/\\", "_________"},
        {"tab\there", "tab_here"}, {"夜间 Night", "夜间 Night"},
        {"con", "con_"},           {"LPT1", "LPT1_"},
        {"Nul.", "Nul._"},         {"COM10", "COM10"},
        {"Console", "Console"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeSafeFileName(c.Typed), c.Safe) << c.Typed;
}

TEST(Themes, LongNamesAreCutSoTheFileNameFits) {
    std::string name = MakeSafeFileName(std::string(600, 'x'));
    EXPECT_EQ(name.size() + kThemeExtensionLength, 255u);
    // Chinese characters count once each, as Windows counts them; none is cut in half.
    std::string chinese;
    for (int i = 0; i < 300; ++i)
        chinese += "主";
    std::string cut = MakeSafeFileName(chinese);
    EXPECT_EQ(cut.size(), 3 * kMaxThemeNameLength);
    EXPECT_EQ(MakeSafeFileName("ab主cd", 3), "ab主");
    EXPECT_EQ(MakeSafeFileName("ab\xF0\x9F\x98\x80", 3), "ab");  // an emoji takes two units
    // Bytes that are no UTF-8 character become "_" one by one and never hide the characters after them.
    EXPECT_EQ(MakeSafeFileName("abc\xE4", 10), "abc_");
    EXPECT_EQ(MakeSafeFileName("\xFE?/x", 10), "___x");
    EXPECT_EQ(MakeSafeFileName("\xE4\xB8:", 10), "___");
}

TEST(Themes, ThemeNamesFromFileNames) {
    EXPECT_EQ(ThemeNameFromFileName("System Colors.Lumivex Theme"), "System Colors");
    EXPECT_EQ(ThemeNameFromFileName("a_b_c_d.lumivex theme"), "a_b_c_d");
    EXPECT_EQ(ThemeNameFromFileName(".Lumivex Theme"), "");
    EXPECT_EQ(ThemeNameFromFileName("notes.txt"), "");
}

TEST(Themes, DefaultThemeFollowsTheVisualStyle) {
    struct Case {
        VisualStyle Style;
        int Index;
    } cases[] = {
        {{true, true, true, "whatever"}, 0},       {{true, true, false, " NormalColor\r\n"}, 1},
        {{true, true, false, "Metallic"}, 5},      {{false, true, false, "NormalColor"}, 2},
        {{false, true, false, "HomeStead"}, 3},    {{false, true, false, "Metallic"}, 4},
        {{false, true, false, "metallic"}, 5},     {{false, true, false, " HomeStead"}, 5},
        {{false, false, false, "NormalColor"}, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DefaultThemeIndex(c.Style), c.Index) << c.Style.ColorScheme;
    EXPECT_EQ(DefaultThemeFileName(3), "Windows XP Style (Olive Green).Lumivex Theme");
    EXPECT_EQ(DefaultThemeFileName(0), DefaultThemeFileName(1));
    EXPECT_EQ(DefaultThemeFileName(5), "System Colors.Lumivex Theme");
    // The taskbar's light or dark mode, where Windows tells it.
    EXPECT_EQ(DefaultThemeFileName(TaskbarThemeIndex(true)), "Windows 11 Light.Lumivex Theme");
    EXPECT_EQ(DefaultThemeFileName(TaskbarThemeIndex(false)), "Windows 11 Dark.Lumivex Theme");
    EXPECT_EQ(DefaultThemeFileName(8), "System Colors.Lumivex Theme");
}

TEST(Themes, FirstRunThemeOverridesOnlyWhatItSets) {
    MemoryProfile p;
    p.Set("LumivexTheme", "Ver", "21");  // ignored on a first run
    p.Set("LumivexTheme", "OpaqueBackground", "1");
    p.Set("LumivexTheme", "BarOpaqueBackground", "1");
    p.Set("LumivexTheme", "GreenColor", "00AA00");
    p.Set("LumivexTheme", "BackgroundColor", "FFFFFF");
    Settings s;
    s.RedColor = Rgb(9, 9, 9);
    s.TransBk = true;
    ApplyThemeFileToSettings(p, 5, s);
    EXPECT_EQ(s.GreenColor, Rgb(0, 0xAA, 0));
    EXPECT_EQ(s.RedColor, Rgb(9, 9, 9));
    EXPECT_EQ(s.OpaqueBkColor, Rgb(255, 255, 255));
    EXPECT_FALSE(s.TransBk);
    EXPECT_TRUE(s.FullBar);

    // Aero: an opaque black background whatever the file says.
    MemoryProfile aero;
    aero.Set("LumivexTheme", "OpaqueBackground", "0");
    aero.Set("LumivexTheme", "BackgroundColor", "FFFFFF");
    Settings a;
    ApplyThemeFileToSettings(aero, 0, a);
    EXPECT_FALSE(a.TransBk);
    EXPECT_EQ(a.OpaqueBkColor, Rgb(0, 0, 0));
}

TEST(Themes, OnlyPlainNamesAreThemeFilesOfTheFolder) {
    for (const char* name : {"Dark", "Windows XP Style (Blue)", "..x", "a.b", "深色", "CON_"})
        EXPECT_TRUE(IsPlainThemeName(name)) << name;
    for (const char* name :
         {"", ".", "..", "..\\..\\evil", "a/b", "C:evil", "sub\\x", "CON", "nul", "com1 ", "lpt9.", "a\x01", "a\xFF"})
        EXPECT_FALSE(IsPlainThemeName(name)) << name;
}
