#include "platform/texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "memory/memory_format.h"
#include "processes/process_dialog.h"
#include "processes/tray_menu_model.h"
#include "settings/settings.h"

namespace {
// The {n} placeholders of a text, as a set.
std::multiset<std::string> Placeholders(const std::string& text) {
    std::multiset<std::string> found;
    for (size_t i = 0; i + 2 < text.size(); ++i) {
        if (text[i] == '{' && text[i + 2] == '}' && text[i + 1] >= '1' && text[i + 1] <= '9')
            found.insert(text.substr(i, 3));
    }
    return found;
}

// Switches the language for one test and back to the default afterwards.
struct LanguageScope {
    explicit LanguageScope(Language language) { SetLanguage(language); }
    ~LanguageScope() { SetLanguage(Language::Chinese); }
};

MemorySample Sample(uint32_t load = 45,
                    uint64_t totalPhys = 8ull << 30,
                    uint64_t availPhys = 4ull << 30,
                    uint64_t totalPageFile = 12ull << 30,
                    uint64_t availPageFile = 6ull << 30) {
    MemorySample s{};
    s.MemoryLoad = load;
    s.TotalPhys = totalPhys;
    s.AvailPhys = availPhys;
    s.TotalPageFile = totalPageFile;
    s.AvailPageFile = availPageFile;
    return s;
}
}  // namespace

TEST(Texts, EveryIdHasEveryLanguageWithTheSamePlaceholdersAndLineCount) {
    for (int i = 0; i < kTextCount; ++i) {
        const auto id = static_cast<TextId>(i);
        const std::string zh = Text(id, Language::Chinese);
        for (const LanguageInfo& language : kLanguages) {
            const std::string text = Text(id, language.Id);
            EXPECT_FALSE(text.empty()) << "text " << i << " in " << language.Setting;
            EXPECT_EQ(Placeholders(text), Placeholders(zh)) << "text " << i << " in " << language.Setting;
            // Button lists and the hint count their lines: every language needs as many.
            EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(zh.begin(), zh.end(), '\n'))
                << "text " << i << " in " << language.Setting;
            // Link mark-up is kept in every language.
            EXPECT_EQ(text.find("<link>") == std::string::npos, zh.find("<link>") == std::string::npos) << i;
        }
        EXPECT_STREQ(Text(static_cast<TextId>(i)), zh.c_str()) << "Chinese is the default";
    }
    EXPECT_STREQ(Text(TextId::Count, Language::English), "");
}

TEST(Texts, LanguageSettingReadsKnownValuesAndDefaultsToChinese) {
    const struct {
        const char* Value;
        Language Expected;
    } cases[] = {{"zh", Language::Chinese}, {"en", Language::English}, {"", Language::Chinese},
                 {"EN", Language::Chinese}, {"fr", Language::Chinese}, {"en ", Language::Chinese}};
    for (const auto& c : cases)
        EXPECT_EQ(LanguageFromSetting(c.Value), c.Expected) << c.Value;
    EXPECT_STREQ(LanguageSetting(Language::English), "en");
    EXPECT_STREQ(LanguageSetting(Language::Chinese), "zh");
    EXPECT_EQ(Settings{}.Language, "zh");
}

TEST(Texts, FormatReplacesNumberedPlaceholdersAndLeavesTheRest) {
    EXPECT_EQ(FormatText("{2} and {1}", {"a", "b"}), "b and a");
    EXPECT_EQ(FormatText("{1}{1}", {"x"}), "xx");
    EXPECT_EQ(FormatText("{3} {0} {a} {", {"x"}), "{3} {0} {a} {");
    EXPECT_EQ(FormatText("100%", {}), "100%");
}

TEST(Texts, ChineseTextsStayByteForByte) {
    EXPECT_EQ(FormatText(TextId::GeneralHighLabel, {"90"}), "触发事件（当内存超出    90%  ）时，执行：      ");
    EXPECT_STREQ(Text(TextId::OptionsCaption), "Lumivex 设置");
    EXPECT_EQ(ProcessEndedText("a.exe"), "'a.exe' 已经结束，没有执行任何操作。");
}

TEST(Texts, EnglishHintAndProcessDialog) {
    LanguageScope english(Language::English);
    Settings settings;
    const std::string hint = BuildTrayHint(Sample(), settings, NumberSeparators{});
    EXPECT_EQ(hint.rfind("Showing: used physical memory \r\nMemory load: 45%\r\nPhysical memory: ", 0), 0u) << hint;
    for (unsigned char c : hint)
        EXPECT_LT(c, 0x80) << hint;
    // The menu's memory rows split each line at its colon.
    const std::vector<std::string> lines = SplitHintLines(hint);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(SplitHintLine(lines[1]).Caption, "Memory load");
    EXPECT_EQ(SplitHintLine(lines[3]).Caption, "Page file");

    ProcessDialogTexts t = BuildProcessDialogTexts("svchost.exe", "", "", "");
    EXPECT_EQ(t.Instruction, "Details for svchost.exe");
    EXPECT_EQ(t.Footer, "svchost.exe is a system process.");
    EXPECT_EQ(t.Buttons, "Open file &location\n&Free up memory\n&End process\nCancel");
    EXPECT_EQ(ProcessEndedText("a.exe"), "a.exe has already ended, so nothing was done.");
}

// Every English menu item, command button and check box of a menu or a warning has an access key of its own there;
// OK and Cancel have Enter and Esc instead.
TEST(Texts, EnglishMenusAndWarningsHaveUniqueAccessKeys) {
    const std::vector<std::vector<TextId>> groups = {
        {TextId::MenuTaskManager, TextId::MenuFreeMemory, TextId::MenuSettings, TextId::MenuAbout, TextId::MenuExit},
        {TextId::MenuThemes, TextId::MenuTextColor, TextId::MenuTransparentBackground, TextId::MenuMoreSettings},
        {TextId::HighMemoryChoiceButtons, TextId::HighMemoryDontShowAgain},
        {TextId::HighMemoryOkButton, TextId::HighMemoryDontShowAgain},
        {TextId::PortableButtons, TextId::PortableDontShowAgain},
        {TextId::ProcessButtons},
    };
    for (const std::vector<TextId>& group : groups) {
        std::set<char> keys;
        std::string where;
        for (TextId id : group) {
            // Button lists hold one button per line.
            std::string list = Text(id, Language::English);
            where += list + " | ";
            size_t start = 0;
            while (start <= list.size()) {
                const size_t end = std::min(list.find('\n', start), list.size());
                const std::string caption = list.substr(start, end - start);
                start = end + 1;
                if (caption == "OK" || caption == "Cancel")
                    continue;
                const char key = AccessKeyOf(caption);
                EXPECT_NE(key, '\0') << caption;
                EXPECT_TRUE(keys.insert(key).second) << "'" << key << "' twice in " << where;
            }
        }
    }
}

// Screen readers read the hint as the icon's name: in English it starts with the figure the icon shows.
TEST(Texts, EnglishTipStartsWithTheFigureTheIconShowsAndChineseKeepsItsHint) {
    const struct {
        bool Percentage, Free, Page;
        const char* FirstLine;
    } cases[] = {
        {true, false, false, "45% in use\r\n"},   {true, true, false, "55% free\r\n"},
        {true, false, true, "45% in use\r\n"},  // the percentage is always the memory load
        {false, false, false, "4 GB in use\r\n"}, {false, true, false, "4 GB free\r\n"},
        {false, false, true, "6 GB in use\r\n"},  {false, true, true, "6 GB free\r\n"},
    };
    for (const auto& c : cases) {
        Settings settings;
        settings.ShowPercentage = c.Percentage;
        settings.ShowFree = c.Free;
        settings.ShowPage = c.Page;
        const std::string chinese = BuildTrayHint(Sample(), settings, {});
        EXPECT_EQ(BuildTrayTip(chinese, Sample(), settings, {}), chinese);
        LanguageScope english(Language::English);
        const std::string hint = BuildTrayHint(Sample(), settings, {});
        EXPECT_EQ(BuildTrayTip(hint, Sample(), settings, {}), c.FirstLine + hint) << c.FirstLine;
    }
    // A machine with large, uneven figures: the whole English tip still fits the shell's 127 characters.
    const MemorySample large = Sample(100, 1023ull << 30, 1ull << 20, 1535ull << 30, 3ull << 20);
    Settings settings;
    settings.ShowPercentage = true;
    LanguageScope english(Language::English);
    const std::string tip = BuildTrayTip(BuildTrayHint(large, settings, {}), large, settings, {});
    EXPECT_LE(tip.size(), 127u) << tip;
}
