#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "options_dialog_test_util.h"
#include "settings/color_text.h"
#include "settings/themes_win.h"

using namespace WinTest;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {
std::vector<std::string> ColorTexts(OptionsDialog& d) {
    std::vector<std::string> texts;
    for (int i = 0; i < d.ColorList().Count(); ++i)
        texts.push_back(d.ColorList().Text(i));
    return texts;
}

int IndexOf(OptionsDialog& d, const std::string& entry) {
    auto entries = ComboEntries(d, IDC_CBTHEMES);
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == entry)
            return static_cast<int>(i);
    return -1;
}

void WriteTheme(OptionsFixture& f, const std::wstring& name, const std::string& body) {
    ASSERT_TRUE(WriteBytes(f.Themes + name + L".Lumivex Theme", body));
}
}  // namespace

TEST(OptionsThemePage, ListsThemesAndAppliesThem) {
    OptionsFixture f;
    f.Settings.RedColor = Rgb(0xC0, 0, 0);
    WriteTheme(f, L"Dark",
               "[LumivexTheme]\r\nVer=22\r\nFontColor=FFFFFF\r\nBackgroundColor=000000\r\n"
               "RedColor=ThreeDFace\r\nOpaqueBackground=1\r\nBarOpaqueBackground=1\r\n");
    WriteTheme(f, L"Old", "[LumivexTheme]\r\nVer=21\r\nOpaqueBackground=1\r\n");
    WriteTheme(f, L"NoVer", "[LumivexTheme]\r\nOpaqueBackground=1\r\n");
    ASSERT_TRUE(WriteBytes(f.Themes + L"notes.txt", "x"));
    CreateDirectoryW((f.Themes + L"Folder.Lumivex Theme").c_str(), nullptr);
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, true, [&](OptionsDialog& d) {
        EXPECT_EQ(d.ActivePage(), 4);
        auto entries = ComboEntries(d, IDC_CBTHEMES);
        ASSERT_EQ(entries.size(), 5u);
        EXPECT_EQ(entries[0], "Default Colors");
        EXPECT_EQ(entries[1], "Current Colors");
        EXPECT_THAT(entries, Contains("Dark"));
        EXPECT_THAT(entries, Not(Contains("Folder")));
        EXPECT_EQ(Selected(d, IDC_CBTHEMES), 1);
        EXPECT_FALSE(IsEnabled(d, IDC_BTNDELETETHEME));

        Choose(d, IDC_CBTHEMES, IndexOf(d, "Dark"));
        EXPECT_THAT(ColorTexts(d), ElementsAre("FFFFFF", "000000", "-1", "-1", "-1", "-1", "ThreeDFace"));
        EXPECT_FALSE(IsChecked(d, IDC_CHECKOPAQUE));  // a "22" file stores the opposite of transparent
        EXPECT_TRUE(IsChecked(d, IDC_CHECKFULLBAR));
        EXPECT_TRUE(IsEnabled(d, IDC_BTNDELETETHEME));

        Choose(d, IDC_CBTHEMES, IndexOf(d, "Old"));
        EXPECT_TRUE(IsChecked(d, IDC_CHECKOPAQUE));  // any other "Ver" stores it as it is
        EXPECT_FALSE(IsChecked(d, IDC_CHECKFULLBAR));
        Choose(d, IDC_CBTHEMES, IndexOf(d, "NoVer"));
        EXPECT_FALSE(IsChecked(d, IDC_CHECKOPAQUE));

        // "Default Colors" makes everything automatic and leaves the two boxes alone.
        Click(d, IDC_CHECKOPAQUE);
        Choose(d, IDC_CBTHEMES, 0);
        EXPECT_THAT(ColorTexts(d), ElementsAre("-1", "-1", "-1", "-1", "-1", "-1", "-1"));
        EXPECT_TRUE(IsChecked(d, IDC_CHECKOPAQUE));
        EXPECT_FALSE(IsEnabled(d, IDC_BTNDELETETHEME));
        Choose(d, IDC_CBTHEMES, 1);
        EXPECT_EQ(ColorTexts(d)[6], "C00000");

        Choose(d, IDC_CBTHEMES, IndexOf(d, "Dark"));
        Click(d, IDOK);
    });
    EXPECT_EQ(f.Settings.FontColor, Rgb(255, 255, 255));
    EXPECT_EQ(f.Settings.Font.Color, Rgb(255, 255, 255));
    EXPECT_EQ(f.Settings.OpaqueBkColor, Rgb(0, 0, 0));
    EXPECT_EQ(f.Settings.RedColor, SystemColor(15));
    EXPECT_EQ(f.Settings.GreenColor, kAutomaticColor);
    EXPECT_FALSE(f.Settings.TransBk);
    EXPECT_TRUE(f.Settings.FullBar);
}

TEST(OptionsThemePage, BrokenThemeFilesLoadWithoutHarm) {
    OptionsFixture f;
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7919) & 0xFF);
    WriteTheme(f, L"Binary", binary);
    WriteTheme(f, L"Empty", "");
    WriteTheme(f, L"Truncated", "[LumivexTheme]\r\nVer=22\r\nFontColor=FF");
    WriteTheme(f, L"Unreadable", "[LumivexTheme]\r\nFontColor=xyz\r\nGreenColor=#12\r\nRedColor=Automatic\r\n");
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, true, [&](OptionsDialog& d) {
        for (const char* name : {"Binary", "Empty", "Truncated"}) {
            Choose(d, IDC_CBTHEMES, IndexOf(d, name));
            EXPECT_EQ(d.ColorList().Count(), 7) << name;
        }
        Choose(d, IDC_CBTHEMES, IndexOf(d, "Empty"));
        EXPECT_THAT(ColorTexts(d), ElementsAre("-1", "-1", "-1", "-1", "-1", "-1", "-1"));
        EXPECT_TRUE(IsChecked(d, IDC_CHECKOPAQUE));
        Choose(d, IDC_CBTHEMES, IndexOf(d, "Unreadable"));
        EXPECT_THAT(ColorTexts(d), ElementsAre("xyz", "-1", "-1", "-1", "#12", "-1", "Automatic"));
        SelectColorEntry(d, 0);
        EXPECT_EQ(d.SlotColorPicker().Color(), Rgb(0, 0, 0));  // the picker shows what cannot be read as black
        Click(d, IDOK);
    });
    EXPECT_EQ(f.Settings.FontColor, 0);
    EXPECT_EQ(f.Settings.GreenColor, 0);
    EXPECT_EQ(f.Settings.RedColor, 0);
}

// A theme file of more than 1 MB is not read at all: it is refused with a message, and its colours show as automatic.
TEST(OptionsThemePage, AnOversizedThemeFileIsRefused) {
    OptionsFixture f;
    std::string huge = "[LumivexTheme]\r\nVer=22\r\nGreenColor=123456\r\n";
    huge += "[Padding]\r\n" + std::string((1 << 20) + 1, ';');
    WriteTheme(f, L"Huge", huge);
    std::string errors;
    SetErrorReporter([&](const std::string& text) { errors += text + "\n"; });
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, true, [&](OptionsDialog& d) {
        Choose(d, IDC_CBTHEMES, IndexOf(d, "Huge"));
        EXPECT_THAT(ColorTexts(d), ElementsAre("-1", "-1", "-1", "-1", "-1", "-1", "-1"));
        Click(d, IDCANCEL);
    });
    SetErrorReporter(nullptr);
    EXPECT_THAT(errors, HasSubstr("Huge.Lumivex Theme is larger than 1 MB, so it was not read."));
}

TEST(OptionsThemePage, ColourListAndPicker) {
    OptionsFixture f;
    f.Settings.GreenColor = Rgb(0, 128, 0);
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, true, [&](OptionsDialog& d) {
        ColorComboBox& picker = d.SlotColorPicker();
        SelectColorEntry(d, 4);
        EXPECT_EQ(picker.ItemIndex(), 3);  // the basic colour green
        EXPECT_EQ(picker.DefaultColor(), Rgb(0, 255, 0));
        SelectColorEntry(d, 3);
        EXPECT_EQ(picker.ItemIndex(), 0);  // automatic: the default item, showing the bar border's own colour
        EXPECT_EQ(picker.DefaultColor(), SystemColor(16));
        Choose(d, IDC_CMBFOREGROUND, 17 + 8);  // WindowText
        EXPECT_EQ(d.ColorList().Text(3), "WindowText");
        Choose(d, IDC_CMBFOREGROUND, 0);
        EXPECT_EQ(d.ColorList().Text(3), "-1");
        SelectColorEntry(d, 0);
        Choose(d, IDC_CMBFOREGROUND, 10);  // red: also the chosen font's colour
        EXPECT_EQ(d.ColorList().Text(0), "FF0000");
        Click(d, IDOK);
    });
    EXPECT_EQ(f.Settings.FontColor, Rgb(255, 0, 0));
    EXPECT_EQ(f.Settings.Font.Color, Rgb(255, 0, 0));
    EXPECT_EQ(f.Settings.BarBorderColor, kAutomaticColor);
}

TEST(OptionsThemePage, CustomColoursLiveInTheSettingsFileAndSurviveReopening) {
    OptionsFixture f;
    f.ChooseColor = [](COLORREF& c, COLORREF* custom) {
        c = RGB(0x13, 0x57, 0x9B);
        custom[0] = c;  // the user keeps it among the custom colours
        return true;
    };
    {
        OptionsDialog dialog(f.Host(), f.Prompts());
        RunOptions(dialog, false, [&](OptionsDialog& d) {
            ColorComboBox& picker = d.HighlightPicker();
            Choose(d, IDC_CMBCOLORPROCESSES, picker.CustomItemIndex());
            EXPECT_EQ(picker.Color(), Rgb(0x13, 0x57, 0x9B));
            Click(d, IDOK);
        });
    }
    EXPECT_EQ(f.Settings.ProcessHighlightColor, Rgb(0x13, 0x57, 0x9B));
    IniFileProfile file(f.SettingsPath());
    EXPECT_EQ(file.ReadString("自定义颜色", "ColorA", ""), "9B5713");  // blue first; untouched ones white
    EXPECT_EQ(file.ReadString("自定义颜色", "ColorP", ""), "FFFFFF");

    COLORREF offered = 0;
    f.ChooseColor = [&](COLORREF&, COLORREF* custom) {
        offered = custom[0];
        return false;  // cancelled: the selection stays
    };
    OptionsDialog again(f.Host(), f.Prompts());
    RunOptions(again, false, [&](OptionsDialog& d) {
        ColorComboBox& picker = d.HighlightPicker();
        EXPECT_EQ(picker.ItemIndex(), picker.CustomItemIndex());
        Choose(d, IDC_CMBCOLORPROCESSES, 5);
        Choose(d, IDC_CMBCOLORPROCESSES, picker.CustomItemIndex());
        EXPECT_EQ(picker.ItemIndex(), 5);
    });
    EXPECT_EQ(offered, RGB(0x13, 0x57, 0x9B));
    EXPECT_EQ(f.Settings.ProcessHighlightColor, Rgb(0x13, 0x57, 0x9B));
}

TEST(OptionsThemePage, SaveAsUsesASafeNameAndAsksBeforeReplacing) {
    OptionsFixture f;
    f.Settings.GreenColor = Rgb(0, 0x80, 0);
    f.Settings.TransBk = true;
    f.ThemeName = "a/b:c?d";
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, true, [&](OptionsDialog& d) {
        Click(d, IDC_BTNSAVEAS);
        EXPECT_TRUE(f.Questions.empty());
        EXPECT_EQ(Selected(d, IDC_CBTHEMES), IndexOf(d, "a_b_c_d"));
        EXPECT_TRUE(IsEnabled(d, IDC_BTNDELETETHEME));

        // Replacing asks first; No leaves the file as it was, and so does a box closed without an answer (IDCANCEL,
        // as when the session ends) or one that failed (0).
        std::wstring path = f.Themes + L"a_b_c_d.Lumivex Theme";
        std::string before = ReadText(path);
        Click(d, IDC_CHECKOPAQUE);
        for (int notYes : {7, IDCANCEL, 0}) {
            f.Questions.clear();
            f.QuestionAnswer = notYes;
            Click(d, IDC_BTNSAVEAS);
            EXPECT_THAT(f.Questions,
                        ElementsAre("A theme with the same name already exists. Do you want to replace it?"));
            EXPECT_EQ(ReadText(path), before) << notYes;
        }
        f.QuestionAnswer = 6;
        Click(d, IDC_BTNSAVEAS);
        EXPECT_NE(ReadText(path), before);
        EXPECT_EQ(ComboEntries(d, IDC_CBTHEMES).size(), 3u);

        // Names of forbidden characters only, or far too long, still make a file.
        for (std::string name : {std::string("???"), std::string(400, 'n'), std::string("CON")}) {
            f.ThemeName = name;
            Click(d, IDC_BTNSAVEAS);
        }
        auto entries = ComboEntries(d, IDC_CBTHEMES);
        EXPECT_THAT(entries, Contains("___"));
        EXPECT_THAT(entries, Contains("CON_"));
        bool longOne = false;
        for (const std::string& e : entries)
            longOne |= e.size() > 150 && e.find_first_not_of('n') == std::string::npos;
        EXPECT_TRUE(longOne);
        f.ThemeName.clear();  // cancelled: nothing happens
        Click(d, IDC_BTNSAVEAS);
        EXPECT_EQ(ComboEntries(d, IDC_CBTHEMES).size(), entries.size());
    });
    std::string text = ReadText(f.Themes + L"a_b_c_d.Lumivex Theme");
    EXPECT_THAT(text, HasSubstr("Ver=22"));
    EXPECT_THAT(text, HasSubstr("Name=a_b_c_d"));
    EXPECT_THAT(text, HasSubstr("GreenColor=008000"));
    EXPECT_THAT(text, HasSubstr("FontColor="));
    EXPECT_THAT(text, HasSubstr("OpaqueBackground=1"));  // saved again after "透明背景" was unticked
}

TEST(OptionsThemePage, DeleteAsksThenSelectsCurrentColors) {
    OptionsFixture f;
    WriteTheme(f, L"Gone", "[LumivexTheme]\r\nFontColor=123456\r\n");
    WriteTheme(f, L"Kept", "[LumivexTheme]\r\nFontColor=654321\r\n");
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, true, [&](OptionsDialog& d) {
        Choose(d, IDC_CBTHEMES, IndexOf(d, "Kept"));
        f.QuestionAnswer = 7;
        Click(d, IDC_BTNDELETETHEME);
        EXPECT_EQ(GetFileAttributesW((f.Themes + L"Kept.Lumivex Theme").c_str()) != INVALID_FILE_ATTRIBUTES, true);

        Choose(d, IDC_CBTHEMES, IndexOf(d, "Gone"));
        f.QuestionAnswer = 6;
        Click(d, IDC_BTNDELETETHEME);
        EXPECT_THAT(f.Questions, ElementsAre("Are you sure you want delete the selected theme?",
                                             "Are you sure you want delete the selected theme?"));
        EXPECT_EQ(GetFileAttributesW((f.Themes + L"Gone.Lumivex Theme").c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(IndexOf(d, "Gone"), -1);
        EXPECT_EQ(Selected(d, IDC_CBTHEMES), 1);
        EXPECT_FALSE(IsEnabled(d, IDC_BTNDELETETHEME));
        EXPECT_EQ(d.ColorList().Text(0), "123456");  // the colour list keeps what it showed
    });
}

TEST(Themes, ShippedFirstRunThemesAreBesideTheProgram) {
    for (int index = 0; index <= kWindows11DarkTheme; ++index) {
        std::wstring path = TestFolder() + L"Themes\\" + Widen(DefaultThemeFileName(index));
        ASSERT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << Narrow(path);
        IniFileProfile file(path);
        ThemeFile theme = ReadThemeFile(file);
        EXPECT_EQ(theme.Ver, "22");
        for (const std::string& c : theme.Colors) {
            EXPECT_TRUE(c == "-1" || ColorToText(TextToColor(c)) == c) << Narrow(path) << " " << c;
        }
    }
}

TEST(OptionsThemePage, AThemeThatCannotBeWrittenIsReported) {
    OptionsFixture f;
    std::wstring path = f.Themes + L"Locked.Lumivex Theme";
    WriteTheme(f, L"Locked", "[LumivexTheme]\r\nVer=22\r\n");
    // A handle that shares nothing refuses the write, as a read-only file does on Windows.
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    std::string errors;
    SetErrorReporter([&](const std::string& text) { errors += text + "\n"; });
    f.ThemeName = "Locked";
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, true, [&](OptionsDialog& d) {
        Click(d, IDC_BTNSAVEAS);
        EXPECT_EQ(Selected(d, IDC_CBTHEMES), 1);  // the list was not rebuilt
    });
    SetErrorReporter(nullptr);
    CloseHandle(lock);
    std::string head = "Unable to write to " + Narrow(path) + "\r\n\r\n";
    EXPECT_EQ(errors.rfind(head, 0), 0u) << errors;
    EXPECT_GT(errors.size(), head.size() + 1);  // the system's reason follows
    EXPECT_EQ(ReadText(path), "[LumivexTheme]\r\nVer=22\r\n");
}

TEST(OptionsThemePage, ANameThatReachesOutsideTheFolderIsNeverReadWrittenOrDeleted) {
    OptionsFixture f;
    std::wstring outside = f.Dir.File(L"evil.Lumivex Theme");  // one folder above the themes
    ASSERT_TRUE(WriteBytes(outside, "[LumivexTheme]\r\nFontColor=123456\r\n"));
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, true, [&](OptionsDialog& d) {
        // As a file system that allows "\" in names would have listed it.
        HWND combo = d.Item(IDC_CBTHEMES);
        int index = static_cast<int>(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"..\\evil")));
        Choose(d, IDC_CBTHEMES, index);
        EXPECT_THAT(ColorTexts(d), ElementsAre("-1", "-1", "-1", "-1", "-1", "-1", "-1"));
        f.QuestionAnswer = 6;
        Click(d, IDC_BTNDELETETHEME);
        EXPECT_EQ(IndexOf(d, "..\\evil"), -1);
        // A typed ".." is no file name of the folder either.
        std::string errors;
        SetErrorReporter([&](const std::string& text) { errors += text; });
        f.ThemeName = "..";
        Click(d, IDC_BTNSAVEAS);
        SetErrorReporter(nullptr);
        EXPECT_THAT(errors, HasSubstr("Unable to write to "));
    });
    EXPECT_EQ(ReadBytes(outside), "[LumivexTheme]\r\nFontColor=123456\r\n");
    EXPECT_EQ(GetFileAttributesW(f.Dir.File(L"...Lumivex Theme").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Themes, ThemeFilesResolveOnlyInsideTheirFolder) {
    TempDir dir;
    EXPECT_EQ(ResolveThemeFile(dir.Path(), "Dark"), dir.Path() + L"Dark.Lumivex Theme");
    EXPECT_EQ(ResolveThemeFile(dir.Path(), "深色 (1)"), dir.Path() + L"深色 (1).Lumivex Theme");
    for (const char* name : {"..\\evil", "../evil", "a\\b", "C:\\evil", "C:evil", "..", ".", "", "CON", "nul"})
        EXPECT_FALSE(ResolveThemeFile(dir.Path(), name)) << name;
    EXPECT_FALSE(ResolveThemeFile(L"", "Dark"));
}
