// The settings file as the program reads and saves it: one reader for every encoding the writer keeps, damaged
// files read as far as they go and kept, saves that survive a full disk and leave links, access rules and other
// copies' files alone, and paths the program cannot use refused out loud.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "helpers/saver_records.h"
#include "main_form_test_util.h"
#include "platform/error_report_win.h"
#include "platform/file_io_win.h"
#include "platform/text_win.h"
#include "settings/ini_file_reader_win.h"
#include "settings/ini_file_writer_win.h"
#include "settings/profile_win.h"
#include "win_test_util.h"

using namespace WinTest;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {
std::string Utf16Le(const std::wstring& text) {
    std::string out = "\xFF\xFE";
    for (wchar_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>((c >> 8) & 0xFF);
    }
    return out;
}

std::string Utf16Be(const std::wstring& text) {
    std::string out = "\xFE\xFF";
    for (wchar_t c : text) {
        out += static_cast<char>((c >> 8) & 0xFF);
        out += static_cast<char>(c & 0xFF);
    }
    return out;
}

// A user's file: settings that differ from the defaults, custom colours and a section of another program.
const wchar_t kUserFile[] =
    L"[General]\r\nShowPercentage=1\r\nRefreshRate=700\r\nTopProcessCount=\"7\"\r\n[Font]\r\nName=宋体\r\n"
    L"[自定义颜色]\r\nColorA=123456\r\n[Other]\r\nKeep=1\r\n";

// The files beside path whose names start with path's file name and then suffix.
std::vector<std::wstring> FilesBeside(const std::wstring& path, const std::wstring& suffix) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + suffix + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    // "name.*" also finds "name" itself, as MS-DOS patterns do.
    const std::wstring own = path.substr(path.find_last_of(L'\\') + 1);
    do {
        if (found.cFileName != own)
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

struct ScopedFreeSpace {
    explicit ScopedFreeSpace(LONGLONG bytes) { SetFreeSpaceForTesting(bytes); }
    ~ScopedFreeSpace() { SetFreeSpaceForTesting(-1); }
};
}  // namespace

// Windows' profile functions know only the UTF-16 byte-order mark: a file saved as UTF-8 by Notepad would hide its
// first section. The program's own reader takes every encoding its writer keeps.
TEST(SettingsStore, EveryEncodingReadsTheSameSettings) {
    const std::string utf8 = Narrow(kUserFile);
    struct Case {
        const char* Name;
        std::string Bytes;
    };
    const Case cases[] = {
        {"UTF-16 LE", Utf16Le(kUserFile)},
        {"UTF-16 BE", Utf16Be(kUserFile)},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + utf8},
        {"UTF-8 without one", utf8},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::wstring path = dir.File(L"Lumivex.Settings");
        ASSERT_TRUE(WriteBytes(path, c.Bytes));
        IniFileProfile profile(path);
        LoadedSettings loaded = LoadSettings(profile, FontSpec{});
        EXPECT_FALSE(loaded.FirstRun) << c.Name;
        EXPECT_EQ(loaded.Values.RefreshRate, 700) << c.Name;
        EXPECT_EQ(loaded.Values.TopProcessCount, 7) << c.Name;
        EXPECT_EQ(loaded.Values.Font.Name, "宋体") << c.Name;
        EXPECT_EQ(profile.ReadString("自定义颜色", "ColorA", ""), "123456") << c.Name;

        // A save keeps the encoding and every line it does not write.
        IniFileWriter writer(path);
        loaded.Values.RefreshRate = 900;
        ASSERT_TRUE(SaveSettings(writer, loaded.Values)) << c.Name;
        const std::string saved = ReadBytes(path);
        EXPECT_EQ(saved.substr(0, 2), c.Bytes.substr(0, 2)) << c.Name;
        IniFileProfile again(path);
        EXPECT_EQ(again.ReadString("General", "RefreshRate", ""), "900") << c.Name;
        EXPECT_EQ(again.ReadString("自定义颜色", "ColorA", ""), "123456") << c.Name;
        EXPECT_EQ(again.ReadString("Other", "Keep", ""), "1") << c.Name;
    }
}

// "echo x>>Lumivex.Settings" appends three bytes to a UTF-16 file: everything before them still counts, and the
// file as it was is kept under a dated name of its own before the first save.
TEST(SettingsStore, AStrayByteKeepsEverySettingAndTheFileAsItWas) {
    TempDir dir;
    const std::wstring path = dir.File(L"Lumivex.Settings");
    const std::string damaged = Utf16Le(kUserFile) + "x\r\n";
    ASSERT_TRUE(WriteBytes(path, damaged));
    ScopedTestShell shell;
    ErrorCapture capture;
    auto form = MakeForm(dir, capture.Hooks());
    EXPECT_EQ(form->CurrentSettings().RefreshRate, 700);
    EXPECT_FALSE(MainFormProbe(*form).FirstRun());
    EXPECT_TRUE(capture.Errors.empty()) << capture.Errors;

    std::vector<std::wstring> copies = FilesBeside(path, L".bad-");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadBytes(dir.File(copies[0])), damaged);
    EXPECT_THAT(Narrow(copies[0]),
                ::testing::MatchesRegex("Lumivex\\.Settings\\.bad-\\d\\d\\d\\d\\d\\d\\d\\d-\\d\\d\\d\\d\\d\\d"));
    EXPECT_THAT(ReadText(dir.File(L"Lumivex.log")), HasSubstr("was damaged"));
    // One balloon says so and names the copy.
    PumpFor(50);
    bool told = false;
    for (const TestShell::Call& call : shell->Calls)
        told = told || Narrow(call.Data.szInfo).find(Narrow(copies[0])) != std::string::npos;
    EXPECT_TRUE(told);

    ASSERT_TRUE(MainFormProbe(*form).SaveSettingsFile());
    IniFileProfile saved(path);
    EXPECT_EQ(saved.Contents().Result, IniFileContents::State::Read);
    EXPECT_EQ(saved.ReadString("自定义颜色", "ColorA", ""), "123456");
    EXPECT_EQ(saved.ReadString("Other", "Keep", ""), "1");
    EXPECT_EQ(saved.ReadString("General", "RefreshRate", ""), "700");
    // The same damage found again by the save is not copied twice.
    EXPECT_EQ(FilesBeside(path, L".bad").size(), 1u);
}

// A later damaged file never overwrites an earlier copy.
TEST(SettingsStore, DamagedCopiesNeverReplaceEachOther) {
    TempDir dir;
    const std::wstring path = dir.File(L"Lumivex.Settings");
    for (const char* tail : {"a", "bc", "d"}) {
        ASSERT_TRUE(WriteBytes(path, Utf16Le(L"[General]\r\nWarn=0\r\n") + tail));
        IniFileWriter writer(path);
        ASSERT_TRUE(writer.WriteString("General", "Warn", "1") && writer.Commit());
    }
    // "bc" is a whole character: that file was not damaged.
    EXPECT_EQ(FilesBeside(path, L".bad").size(), 2u);
}

// A package manager's hard link is written in place; on a disk that fills, the file first grows to its new length,
// so the save fails before a byte of either name has changed.
TEST(SettingsStore, AFullDiskLeavesALinkedFileWhole) {
    TempDir dir;
    const std::wstring path = dir.File(L"Lumivex.Settings");
    const std::wstring kept = dir.File(L"persisted.Settings");
    std::string before = "[General]\r\nWarn=1\r\n[Big]\r\n";
    while (before.size() < 3900)
        before += "Line" + std::to_string(before.size()) + "=0123456789\r\n";
    before += "[Other]\r\nKeep=1\r\n";
    ASSERT_TRUE(WriteBytes(path, before));
    ASSERT_TRUE(CreateHardLinkW(kept.c_str(), path.c_str(), nullptr));

    IniFileWriter writer(path);
    ASSERT_TRUE(writer.WriteString("General", "Long", std::string(4100, 'v')));
    {
        // Room for the temporary copy, not for the file to grow by as much again.
        ScopedFreeSpace disk(static_cast<LONGLONG>(before.size()) + 4200 + 1000);
        EXPECT_FALSE(writer.Commit());
    }
    EXPECT_EQ(writer.LastError(), static_cast<unsigned long>(ERROR_DISK_FULL));
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(ReadBytes(kept), before);
    EXPECT_THAT(FilesBeside(path, L"."), ::testing::IsEmpty());  // no temporary file left behind

    // With room again the same save reaches both names.
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(ReadBytes(kept), ReadBytes(path));
    EXPECT_THAT(ReadText(kept), HasSubstr("[Other]\r\nKeep=1"));
}

// A portable copy's folder may take no new file where the settings file itself is writable: the save goes in place.
// Another copy's temporary file (a second session saving at the same moment) is left alone.
TEST(SettingsStore, AFolderThatTakesNoNewFileIsWrittenInPlace) {
    TempDir dir;
    const std::wstring path = dir.File(L"Lumivex.Settings");
    ASSERT_TRUE(WriteBytes(path, "[Other]\r\nKeep=1\r\n"));
    const std::wstring ours = path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    ASSERT_TRUE(CreateDirectoryW(ours.c_str(), nullptr));  // refuses the temporary file as a locked folder does
    const std::wstring theirs = path + L".tmp";
    ASSERT_TRUE(WriteBytes(theirs, "another copy's save"));

    IniFileWriter writer(path);
    ASSERT_TRUE(SaveSettings(writer, SaverRecord(1)));
    IniFileProfile saved(path);
    EXPECT_EQ(saved.ReadString("General", "RefreshRate", ""), "700");
    EXPECT_EQ(saved.ReadString("Other", "Keep", ""), "1");
    EXPECT_EQ(ReadBytes(theirs), "another copy's save");
    RemoveDirectoryW(ours.c_str());
}

// The saved file keeps the access rules the old one had.
TEST(SettingsStore, TheNewFileKeepsTheOldOnesAccessRules) {
    TempDir dir;
    const std::wstring path = dir.File(L"Lumivex.Settings");
    ASSERT_TRUE(WriteBytes(path, "[General]\r\nWarn=1\r\n"));
    // Everyone may read, the file's owner may do anything: "O:BA" would need a privilege, so only the DACL.
    SECURITY_DESCRIPTOR descriptor;
    ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    alignas(ACL) char aclBuffer[256];
    auto* acl = reinterpret_cast<ACL*>(aclBuffer);
    ASSERT_TRUE(InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION));
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, FILE_GENERIC_READ | FILE_GENERIC_WRITE | DELETE, everyone));
    FreeSid(everyone);
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE));
    ASSERT_TRUE(SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, &descriptor));
    auto dacl = [](const std::wstring& file) {
        DWORD needed = 0;
        GetFileSecurityW(file.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
        std::string bytes(needed, '\0');
        if (!needed || !GetFileSecurityW(file.c_str(), DACL_SECURITY_INFORMATION, bytes.data(), needed, &needed))
            return std::string();
        BOOL present = FALSE, defaulted = FALSE;
        ACL* found = nullptr;
        GetSecurityDescriptorDacl(bytes.data(), &present, &found, &defaulted);
        return present && found ? std::string(reinterpret_cast<const char*>(found), found->AclSize) : std::string();
    };
    const std::string before = dacl(path);
    if (before != std::string(aclBuffer, acl->AclSize))
        GTEST_SKIP() << "this file system keeps no access rules of its own";

    IniFileWriter writer(path);
    ASSERT_TRUE(SaveSettings(writer, SaverRecord(1)));
    EXPECT_THAT(ReadText(path), HasSubstr("RefreshRate=700"));
    EXPECT_EQ(dacl(path), before);
}

// Windows' path functions take fewer than MAX_PATH characters: a settings file beyond that is neither read nor
// written, and the start says so instead of loading the defaults and saving them over the user's values.
TEST(SettingsStore, APathTooLongForThePathFunctionsIsRefusedOutLoud) {
    TempDir dir;
    std::wstring folder = dir.Path();
    while (folder.size() + 17 < MAX_PATH + 1)
        folder += L"d";
    folder += L"\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring path = folder + L"Lumivex.Settings";
    ASSERT_GE(path.size(), static_cast<size_t>(MAX_PATH));
    const std::string before = "[General]\r\nShowPercentage=1\r\nRefreshRate=700\r\n";
    ASSERT_TRUE(WriteBytes(path, before));

    IniFileContents contents = ReadIniFile(path, kMaxSettingsFileBytes, 0);
    EXPECT_EQ(contents.Result, IniFileContents::State::Failed);
    EXPECT_EQ(contents.Error, static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    IniFileWriter writer(path);
    EXPECT_FALSE(SaveSettings(writer, Settings{}));
    EXPECT_EQ(writer.LastError(), static_cast<unsigned long>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(ReadBytes(path), before);
    TempDir::RemoveTree(folder);
}

// A settings file that is a symbolic link to another file (a synchronised folder, a dotfiles repository) stays a
// link: the save reaches the file it points to.
TEST(SettingsStore, ASymbolicLinkKeepsPointingAtTheSavedFile) {
    TempDir dir;
    const std::wstring target = dir.File(L"synced.Settings");
    const std::wstring link = dir.File(L"Lumivex.Settings");
    ASSERT_TRUE(WriteBytes(target, "[Other]\r\nKeep=1\r\n"));
    if (!CreateSymbolicLinkW(link.c_str(), target.c_str(), 0))
        GTEST_SKIP() << "no symbolic links here: " << GetLastError();
    // Wine 8 makes the link but neither reads through it nor names its target: Windows does both.
    if (ReadBytes(link) != ReadBytes(target))
        GTEST_SKIP() << "symbolic links are not followed here";
    const bool shownAsLink = GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT;

    IniFileWriter writer(link);
    ASSERT_TRUE(SaveSettings(writer, SaverRecord(1)));
    if (shownAsLink) {
        EXPECT_TRUE(GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    }
    EXPECT_THAT(ReadText(target), HasSubstr("RefreshRate=700"));
    EXPECT_EQ(ReadBytes(link), ReadBytes(target));
    // A second save still reaches the target through the link.
    IniFileWriter again(link);
    ASSERT_TRUE(SaveSettings(again, SaverRecord(0)));
    EXPECT_THAT(ReadText(target), HasSubstr("RefreshRate=500"));
    EXPECT_EQ(ReadBytes(link), ReadBytes(target));
    EXPECT_THAT(ReadText(target), HasSubstr("Keep=1"));
}

// Log-off allows a few seconds: settings the file already holds are not written again, however large the file,
// and a changed record still is, with every line it does not write.
TEST(SettingsStore, TheSessionEndWritesOnlyWhatChanged) {
    struct SessionEndingReset {
        ~SessionEndingReset() { SetSessionEnding(false); }
    } reset;
    TempDir dir;
    const std::wstring path = dir.File(L"Lumivex.Settings");
    std::string text = "[General]\r\nShowPercentage=1\r\nRefreshRate=700\r\n[Big]\r\n";
    for (int i = 0; i < 20000; ++i)
        text += "Line" + std::to_string(i) + "=kept by another program\r\n";
    ASSERT_TRUE(WriteBytes(path, text));
    auto form = MakeForm(dir);
    ASSERT_EQ(form->CurrentSettings().RefreshRate, 700);
    ASSERT_TRUE(MainFormProbe(*form).SaveSettingsFile());  // the file now holds every key of the record
    const std::string saved = ReadBytes(path);
    // An old time stamp shows whether anything writes the file again.
    FILETIME old{0x10000000, 0x01C00000};
    {
        UniqueFile file(
            CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &old));
    }
    auto lastWrite = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
        return (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    };
    const ULONGLONG stamped = lastWrite();

    EXPECT_EQ(SendMessageW(form->Hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(form->Hwnd(), WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(lastWrite(), stamped);
    EXPECT_EQ(ReadBytes(path), saved);

    form->CurrentSettings().RefreshRate = 800;
    EXPECT_EQ(SendMessageW(form->Hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(form->Hwnd(), WM_ENDSESSION, FALSE, 0);
    IniFileProfile after(path);
    EXPECT_EQ(after.ReadString("General", "RefreshRate", ""), "800");
    EXPECT_EQ(after.ReadString("Big", "Line19999", ""), "kept by another program");
}

// A portable copy's settings file comes empty: the first save writes it as UTF-16, as a new file, so the Chinese
// section names survive on every code page.
TEST(SettingsStore, AnEmptyFileIsWrittenAsANewOne) {
    TempDir dir;
    const std::wstring path = dir.File(L"Lumivex.Settings");
    ASSERT_TRUE(WriteBytes(path, ""));
    IniFileProfile profile(path);
    ASSERT_TRUE(profile.WriteString("自定义颜色", "ColorA", "FFFFFF"));
    EXPECT_THAT(ReadBytes(path), StartsWith("\xFF\xFE"));
    EXPECT_EQ(IniFileProfile(path).ReadString("自定义颜色", "ColorA", ""), "FFFFFF");
}
