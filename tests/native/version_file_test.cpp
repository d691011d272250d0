#include "update/version_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

using ::testing::ElementsAre;

namespace {
constexpr char kFile[] =
    "; published by the maker\r\n"
    "[CurrentVersions]\r\nOther=9.9.9.9\r\nLumivex = 2.7.0.0 \r\n"
    "[DownloadURL]\r\nlumivex=\"https://www.lumivex.example/get\"\r\n"
    "[DateReleased]\r\nDATE=2026-12-01\r\n"
    "[BetaVersions]\r\nLumivex=2.8.0.1\r\n"
    "[currenthistory]\r\n1=first\r\n2=second\r\n";
}

TEST(VersionFile, ReadsTheProgramsEntries) {
    VersionFileInfo info = ParseVersionFile(kFile, "Lumivex");
    EXPECT_EQ(info.CurrentVersion, "2.7.0.0");
    EXPECT_EQ(info.DownloadURL, "https://www.lumivex.example/get");
    EXPECT_EQ(info.ReleaseDate, "2026-12-01");
    EXPECT_EQ(info.BetaVer, "2.8.0.1");
    EXPECT_THAT(info.Changes, ElementsAre("first", "second"));
    VersionFileInfo other = ParseVersionFile(kFile, "Nothing");
    EXPECT_EQ(other.CurrentVersion, "");
    EXPECT_EQ(other.DownloadURL, "");
    EXPECT_EQ(other.ReleaseDate, "2026-12-01");
}

TEST(VersionFile, HistoryLinesFollowTheEntryNumbers) {
    struct Case {
        const char* History;
        std::vector<std::string> Changes;
    } cases[] = {
        {"1=first\n2=second\n", {"first", "second"}},
        {"1=first\n3=third\n", {"first", ""}},  // as many lines as entries; entry 3 is beyond them
        {"2=second\n1=first\n", {"first", "second"}},
        {"1=first\n1=again\n", {"first", ""}},
        {"01=zero-one\nx=y\n", {"", ""}},
        {"no equals sign\n", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        VersionFileInfo info = ParseVersionFile(std::string("[CurrentHistory]\n") + c.History, "Lumivex");
        EXPECT_EQ(info.Changes, c.Changes) << c.History;
    }
}

TEST(VersionFile, OtherEncodingsAndRepeats) {
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[CurrentVersions]\r\nLumivex=3.0.0.0\r\n"))
        utf16 += std::string{c, '\0'};
    EXPECT_EQ(ParseVersionFile(utf16, "Lumivex").CurrentVersion, "3.0.0.0");
    EXPECT_EQ(ParseVersionFile("\xEF\xBB\xBF[CurrentVersions]\nLumivex=3.1.0.0", "Lumivex").CurrentVersion, "3.1.0.0");
    // The first of repeated sections and names counts.
    EXPECT_EQ(ParseVersionFile(
                  "[CurrentVersions]\nLumivex=1.0.0.1\nLumivex=5.0.0.0\n[CurrentVersions]\nLumivex=6.0.0.0", "Lumivex")
                  .CurrentVersion,
              "1.0.0.1");
}

TEST(VersionFile, HostileTextEndsWithoutEntries) {
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 131) & 0xFF);
    std::string noEnd = "[CurrentVersions\nLumivex=2.0.0.0\n[";  // unclosed brackets
    std::string longLine(kMaxVersionFileBytes, 'x');
    std::string nulInside = std::string("[CurrentVersions]\nLumivex=2.0") + std::string("\0.0.0\n", 6);
    for (const std::string& text : {binary, longLine, std::string("\xFF\xFE\x00\xD8", 4)}) {
        VersionFileInfo info = ParseVersionFile(text, "Lumivex");
        EXPECT_EQ(info.CurrentVersion, "");
        EXPECT_TRUE(info.Changes.empty());
    }
    EXPECT_EQ(ParseVersionFile(noEnd, "Lumivex").CurrentVersion, "2.0.0.0");
    EXPECT_EQ(ParseVersionFile(nulInside, "Lumivex").CurrentVersion, "2.0");
    std::string manyEntries = "[CurrentHistory]\n";
    for (int i = 1; manyEntries.size() < kMaxVersionFileBytes; ++i)
        manyEntries += std::to_string(i) + "=v\n";
    VersionFileInfo many = ParseVersionFile(manyEntries, "Lumivex");
    ASSERT_FALSE(many.Changes.empty());
    EXPECT_EQ(many.Changes.back(), "v");
}

TEST(VersionFile, ProgramNameIsTheFileNameWithoutExtension) {
    EXPECT_EQ(ProgramNameOf("C:\\Program Files\\Lumivex\\Lumivex.exe"), "Lumivex");
    EXPECT_EQ(ProgramNameOf("D:/x.y/Tool.v2.exe"), "Tool.v2");
    EXPECT_EQ(ProgramNameOf("C:Lumivex"), "Lumivex");
}
