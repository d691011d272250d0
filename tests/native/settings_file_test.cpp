#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include "memory_profile.h"
#include "settings_record.h"

namespace {
LoadedSettings Load(MemoryProfile& p) {
    return LoadSettings(p, FontSpec{});
}

// A value of each kind that differs from the one given and that the file keeps as it is.
bool Other(bool value) {
    return !value;
}
int32_t Other(int32_t value) {
    return value + 1;
}
std::string Other(const std::string& language) {
    return language == "en" ? "zh" : "en";
}
FontSpec Other(FontSpec font) {
    font.Name += "X";
    font.CharSet += 1;
    font.Size += 1;
    font.Style ^= 1;
    return font;
}
}  // namespace

TEST(ParseInteger, Forms) {
    EXPECT_EQ(ParseInteger("500"), 500);
    EXPECT_EQ(ParseInteger("0x1F4"), 500);
    EXPECT_EQ(ParseInteger("0X1f4"), 500);
    EXPECT_EQ(ParseInteger("$1F4"), 500);
    EXPECT_EQ(ParseInteger("-16777208"), -16777208);
    EXPECT_EQ(ParseInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
    for (const char* bad : {"", "yes", "12a", "0x", "$", "2147483648", "99999999999999999999", "$1FFFFFFFF", "1 2"})
        EXPECT_FALSE(ParseInteger(bad).has_value()) << bad;
}

TEST(SettingsFile, MissingFileGivesDefaultsAndFirstRun) {
    MemoryProfile p;
    LoadedSettings loaded = Load(p);
    EXPECT_TRUE(loaded.FirstRun);
    EXPECT_FALSE(loaded.Values.ShowPage);
    const Settings& s = loaded.Values;
    EXPECT_TRUE(s.Warn);
    EXPECT_EQ(s.RefreshRate, 500);
    EXPECT_EQ(s.RedPercent, 90);
    EXPECT_EQ(s.YellowPercent, 65);
    EXPECT_EQ(s.TopProcessCount, 10);
    EXPECT_EQ(s.FreeEveryMinutes, 120);
    EXPECT_EQ(s.HighlightProcessAbove, 100);
    EXPECT_EQ(s.GreenColor, kAutomaticColor);
    EXPECT_EQ(s.Font.Name, "Tahoma");
    EXPECT_EQ(s.Font.Size, 6);
    // The default font colour is WindowText, which is what FontColor starts from.
    EXPECT_EQ(s.FontColor, kClWindowText);
    EXPECT_EQ(s.Font.Color, kClWindowText);
}

TEST(SettingsFile, EverySettingLoadsItsDefaultFromAnEmptyFile) {
    MemoryProfile p;
    const Settings loaded = Load(p).Values;
#define LUMIVEX_EXPECT_DEFAULT(field, kind, defaultValue, ...) \
    EXPECT_EQ(loaded.field, SettingKinds::kind::Value{defaultValue}) << #field;
    LUMIVEX_SETTINGS(LUMIVEX_EXPECT_DEFAULT)
#undef LUMIVEX_EXPECT_DEFAULT
}

TEST(SettingsFile, EverySettingChangedComesBackFromTheFile) {
    Settings changed;
#define LUMIVEX_CHANGE(field, ...) changed.field = Other(changed.field);
    LUMIVEX_SETTINGS(LUMIVEX_CHANGE)
#undef LUMIVEX_CHANGE
    ApplyFontColor(changed);  // the file keeps the text colour as the font's
    MemoryProfile p;
    ASSERT_TRUE(SaveSettings(p, changed));
    ExpectSameSettings(Load(p).Values, changed);
    ExpectSameSettings(LoadSettings(p, Other(FontSpec{})).Values, changed);
}

TEST(SettingsFile, FirstRunProbe) {
    MemoryProfile other;
    other.Set("General", "RefreshRate", "300");
    EXPECT_TRUE(Load(other).FirstRun);

    MemoryProfile yes;
    yes.Set("General", "ShowPercentage", "yes");
    LoadedSettings l = Load(yes);
    EXPECT_TRUE(l.FirstRun);
    EXPECT_FALSE(l.Values.ShowPercentage);

    MemoryProfile written;
    written.Set("General", "ShowPercentage", "0");
    EXPECT_FALSE(Load(written).FirstRun);
}

TEST(SettingsFile, ValuesAsWritten) {
    MemoryProfile p;
    p.Set("General", "ShowFree", "2");
    p.Set("General", "RefreshRate", "$1F4");
    p.Set("General", "RedPercent", "0x50");
    p.Set("General", "Warn", "garbage");
    p.Set("General", "HighlightProcessAbove", "0");
    p.Set("Colors", "GreenColor", "-1");
    p.Set("Colors", "RedColor", "");
    p.Set("Colors", "YellowColor", "#FF8000");
    p.Set("Colors", "BarBorderColor", "Automatic");
    p.Set("Font", "Color", "255");
    p.Set("Font", "Name", "Arial");
    const Settings s = Load(p).Values;
    EXPECT_TRUE(s.ShowFree);
    EXPECT_EQ(s.RefreshRate, 500);
    EXPECT_EQ(s.RedPercent, 80);
    EXPECT_TRUE(s.Warn);
    EXPECT_EQ(s.HighlightProcessAbove, 0);
    EXPECT_EQ(s.GreenColor, 0);
    EXPECT_EQ(s.RedColor, kAutomaticColor);
    EXPECT_EQ(s.YellowColor, Rgb(255, 128, 0));
    EXPECT_EQ(s.BarBorderColor, kAutomaticColor);
    EXPECT_EQ(s.FontColor, 255);
    EXPECT_EQ(s.Font.Name, "Arial");
}

TEST(SettingsFile, UnsafeTimerValuesAreBroughtIntoRange) {
    struct Case {
        const char* Key;
        const char* Value;
        int32_t Settings::*Field;
        int32_t Expected;
    } cases[] = {
        {"RefreshRate", "0", &Settings::RefreshRate, 500},
        {"RefreshRate", "-5", &Settings::RefreshRate, 500},
        {"RefreshRate", "50", &Settings::RefreshRate, 50},  // low but safe: kept as written
        {"DefragEvery", "0", &Settings::FreeEveryMinutes, 120},
        {"DefragEvery", "-1", &Settings::FreeEveryMinutes, 120},
        {"DefragEvery", "2000000", &Settings::FreeEveryMinutes, 35791},
        {"DefragEvery", "35791", &Settings::FreeEveryMinutes, 35791},
        {"TopProcessCount", "5000", &Settings::TopProcessCount, 100},
        {"TopProcessCount", "100", &Settings::TopProcessCount, 100},
        {"CommitRedPercent", "101", &Settings::CommitRedPercent, 0},
        {"CommitRedPercent", "-3", &Settings::CommitRedPercent, 0},
        {"CommitRedPercent", "95", &Settings::CommitRedPercent, 95},
        {"HistoryGrowthShare", "0", &Settings::HistoryGrowthShare, 10},
        {"HistoryGrowthShare", "250", &Settings::HistoryGrowthShare, 10},
        {"HistoryGrowthShare", "100", &Settings::HistoryGrowthShare, 100},
    };
    for (const Case& c : cases) {
        MemoryProfile p;
        p.Set("General", c.Key, c.Value);
        EXPECT_EQ(Load(p).Values.*c.Field, c.Expected) << c.Key << "=" << c.Value;
    }
    EXPECT_LE(int64_t{35791} * 60000, int64_t{INT32_MAX});
}

TEST(SettingsFile, SaveWritesEveryKeyInOrder) {
    MemoryProfile p;
    Settings s = Settings{};
    s.GreenColor = Rgb(0, 128, 0);
    s.RedColor = SystemColor(13);
    ASSERT_TRUE(SaveSettings(p, s));
    std::vector<std::string> keys;
    for (auto& w : p.Writes)
        keys.push_back(w.first + "/" + w.second);
    const std::vector<std::string> expected = {"General/Warn",
                                               "General/WarnMsgBox",
                                               "General/HighlightProcessAbove",
                                               "General/ShowNameInsteadOfModule",
                                               "General/ShowPage",
                                               "General/ShowFree",
                                               "General/NoBorder",
                                               "General/ShowPercentage",
                                               "General/ShowPercSign",
                                               "General/InternalFont",
                                               "General/HintWhatisDisplayed",
                                               "General/StandardGauge",
                                               "General/BarBottom",
                                               "General/TransBk",
                                               "General/MiniInternalFont",
                                               "General/RefreshRate",
                                               "General/FullBar",
                                               "General/RefreshHotkey",
                                               "General/ShowTopProcess",
                                               "General/TopProcessCount",
                                               "General/ShowMemMenu",
                                               "General/OptimizeForGigabytes",
                                               "General/DefragOnHighMemory",
                                               "General/DefragEveryActive",
                                               "General/DefragEvery",
                                               "General/DoubleClickAction",
                                               "General/SwitchOffMonitorOnLock",
                                               "General/ClickedDonation",
                                               "General/NoWarningSwithOffMonMobile",
                                               "General/FollowTaskbarTheme",
                                               "Font/Name",
                                               "Font/CharSet",
                                               "Font/Color",
                                               "Font/Size",
                                               "Font/Style",
                                               "General/RedPercent",
                                               "General/YellowPercent",
                                               "Colors/ProcMenuHightlightColor",
                                               "Colors/OpaqueBkColor",
                                               "Colors/BarBorderColor",
                                               "Colors/GreenColor",
                                               "Colors/YellowColor",
                                               "Colors/RedColor",
                                               "Colors/FullBarColor",
                                               "General/Language",
                                               "General/CommitRedPercent",
                                               "General/HistoryGrowthShare",
                                               "General/ShowGrowthInMenu"};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(p.ReadString("Colors", "GreenColor", ""), "008000");
    EXPECT_EQ(p.ReadString("Colors", "RedColor", ""), "Highlight");
    EXPECT_EQ(p.ReadString("Colors", "FullBarColor", ""), "Automatic");
    EXPECT_EQ(p.ReadString("General", "Warn", ""), "1");
    EXPECT_EQ(p.ReadString("Font", "Color", ""), "-16777208");

    // What was saved loads back to the same record and is no longer a first run.
    LoadedSettings back = LoadSettings(p, FontSpec{});
    EXPECT_FALSE(back.FirstRun);
    EXPECT_EQ(back.Values.GreenColor, s.GreenColor);
    EXPECT_EQ(back.Values.RedColor, s.RedColor);
    EXPECT_EQ(back.Values.Font, s.Font);
}

TEST(SettingsFile, AutomaticFontColorSavesAsBlack) {
    MemoryProfile p;
    Settings s = Settings{};
    s.FontColor = kAutomaticColor;
    ApplyFontColor(s);
    EXPECT_EQ(s.Font.Color, 0);
    ASSERT_TRUE(SaveSettings(p, s));
    EXPECT_EQ(p.ReadString("Font", "Color", ""), "0");
    EXPECT_EQ(LoadSettings(p, FontSpec{}).Values.FontColor, 0);
}

TEST(SettingsFile, SaveStopsAtTheFirstFailedKey) {
    MemoryProfile p;
    p.FailAtKey = "Name";
    EXPECT_FALSE(SaveSettings(p, Settings{}));
    ASSERT_FALSE(p.Writes.empty());
    EXPECT_EQ(p.Writes.back().second, "FollowTaskbarTheme");
    EXPECT_EQ(p.Writes.size(), 30u);
}

TEST(SettingsFile, LanguageLoadsKnownValuesAndSavesWhatItHas) {
    const struct {
        const char* Written;
        const char* Loaded;
    } cases[] = {{nullptr, "zh"}, {"en", "en"}, {"zh", "zh"}, {"fr", "zh"}, {"", "zh"}, {"English", "zh"}};
    for (const auto& c : cases) {
        MemoryProfile p;
        if (c.Written)
            p.WriteString("General", "Language", c.Written);
        Settings s = Load(p).Values;
        EXPECT_EQ(s.Language, c.Loaded) << (c.Written ? c.Written : "(missing)");
        MemoryProfile out;
        ASSERT_TRUE(SaveSettings(out, s));
        EXPECT_EQ(out.ReadString("General", "Language", ""), c.Loaded);
    }
}

// A file that a save has filled has every key; one key fewer, and the next save has something to write.
TEST(SettingsFile, KnowsWhetherTheFileHasEveryKeyASaveWrites) {
    MemoryProfile p;
    EXPECT_FALSE(Load(p).EveryKey);
    ASSERT_TRUE(SaveSettings(p, Settings{}));
    EXPECT_TRUE(Load(p).EveryKey);
    for (const char* key : {"Language", "ProcMenuHightlightColor", "Style"}) {
        MemoryProfile partial;
        ASSERT_TRUE(SaveSettings(partial, Settings{}));
        for (auto it = partial.Values.begin(); it != partial.Values.end();)
            it = it->first.second == key ? partial.Values.erase(it) : std::next(it);
        EXPECT_FALSE(Load(partial).EveryKey) << key;
    }
}
