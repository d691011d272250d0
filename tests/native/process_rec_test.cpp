#include "processes/process_rec.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/version_text.h"

TEST(ProcessRec, CompareByMemoryDescHoldsSizesAbove4GB) {
    ProcessRecord small, big, equal;
    small.MemoryUsage = 0xFFFFFFFFull;
    big.MemoryUsage = 0x100000000ull;  // 4 GB: would read 0 in 32 bits
    equal.MemoryUsage = 0xFFFFFFFFull;
    EXPECT_EQ(CompareByMemoryDesc(small, big), 1);
    EXPECT_EQ(CompareByMemoryDesc(big, small), -1);
    EXPECT_EQ(CompareByMemoryDesc(small, equal), 0);
}

TEST(ProcessRec, MemoryInUnitTruncates) {
    const uint64_t justUnder3MB = 3 * 1048576ull - 1;
    struct {
        uint64_t Bytes;
        int Unit;
        uint64_t Expected;
    } cases[] = {{justUnder3MB, 0, justUnder3MB},
                 {justUnder3MB, 1, 3071},
                 {justUnder3MB, 2, 2},
                 {5ull << 30, 3, 5},
                 {justUnder3MB, 4, 0},
                 {justUnder3MB, -1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(MemoryInUnit(c.Bytes, c.Unit), c.Expected) << c.Unit;
}

TEST(ProcessRec, DevicePathBecomesDosPathWithLowerCaseDrive) {
    std::map<std::string, std::string> devices = {{"c:", "\\Device\\HarddiskVolume2"},
                                                  {"d:", "\\Device\\HarddiskVolume3"}};
    std::string asked;
    auto query = [&](const std::string& drive, std::string& target) {
        asked += drive;
        auto it = devices.find(drive);
        if (it == devices.end())
            return false;
        target = it->second;
        return true;
    };
    EXPECT_EQ(DevicePathToDosPath("\\Device\\HarddiskVolume2\\Windows\\explorer.exe", query),
              "c:\\Windows\\explorer.exe");
    EXPECT_EQ(asked.substr(0, 6), "a:b:c:");  // letters in order, stopping at the first match
    EXPECT_EQ(DevicePathToDosPath("\\device\\harddiskvolume3\\x.exe", query), "d:\\x.exe");
    EXPECT_EQ(DevicePathToDosPath("\\Device\\HarddiskVolume9\\x.exe", query), "");
    EXPECT_EQ(DevicePathToDosPath("\\Device\\HarddiskVolume2", query), "");
    EXPECT_EQ(DevicePathToDosPath("", query), "");
}

TEST(ProcessRec, PathHelpers) {
    EXPECT_EQ(StripNtPathPrefix("\\??\\C:\\x.exe"), "C:\\x.exe");
    EXPECT_EQ(StripNtPathPrefix("C:\\x.exe"), "C:\\x.exe");
    EXPECT_EQ(FolderOfPath("C:\\Tools\\app.exe"), "C:\\Tools\\");
    EXPECT_EQ(FolderOfPath("C:app.exe"), "C:");
    EXPECT_EQ(FolderOfPath("app.exe"), "");
    EXPECT_EQ(SysnativeAlias("C:\\WINDOWS\\system32\\svchost.exe", "C:\\Windows"),
              "C:\\Windows\\Sysnative\\svchost.exe");
    EXPECT_EQ(SysnativeAlias("C:\\Windows\\SysWOW64\\a.exe", "C:\\Windows\\"), "C:\\Windows\\SysWOW64\\a.exe");
    EXPECT_EQ(SysnativeAlias("D:\\Windows\\System32\\a.exe", "C:\\Windows"), "D:\\Windows\\System32\\a.exe");
    EXPECT_EQ(SysnativeAlias("C:\\Windows\\System32\\", "C:\\Windows"), "C:\\Windows\\System32\\");
}

TEST(ProcessRec, SystemProcessNamesInAnyCase) {
    struct {
        const char* Name;
        bool System;
    } cases[] = {{"svchost.exe", true},    {"SvcHost.EXE", true}, {"dwm.exe", true},       {"CSRSS.exe", true},
                 {"svchost32.exe", false}, {"svchost", false},    {"explorer.exe", false}, {"", false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsSystemProcess(c.Name), c.System) << c.Name;
}

TEST(ProcessRec, FileTimeBecomesDateTime) {
    // 30 December 1899 is day 0; 1 January 2000 12:00 is day 36526.5.
    const uint64_t ticksPerDay = 864000000000ull;
    EXPECT_DOUBLE_EQ(FileTimeToDateTime(109205ull * ticksPerDay), 0.0);
    EXPECT_DOUBLE_EQ(FileTimeToDateTime((109205ull + 36526) * ticksPerDay + ticksPerDay / 2), 36526.5);
}

TEST(VersionText, TranslationAndNumberTexts) {
    EXPECT_EQ(TranslationText(0x0409, 0x04b0), "040904b0");
    EXPECT_EQ(TranslationText(1033, 0x04E4), "040904e4");
    EXPECT_EQ(VersionNumberText(0x00030003, 0x00030000), "3.3.3.0");
    EXPECT_EQ(VersionNumberText(0xFFFF0001, 0x00020003), "65535.1.2.3");
    EXPECT_STREQ(kVersionKeys[1], "FileDescription");
    EXPECT_STREQ(kVersionKeys[10], "BuildFlags");
}
