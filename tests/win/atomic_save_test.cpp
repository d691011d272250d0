// Whole saves: another process never sees the settings file empty or half written, a save cut short leaves the
// old or the new file, and a file that is not text is kept beside the new one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "helpers/saver_records.h"
#include "settings/ini_file_writer_win.h"
#include "settings/profile_win.h"
#include "win_test_util.h"

using namespace WinTest;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {
// A hand-kept settings file of about `lines` foreign lines around the program's sections.
std::string ForeignFile(int lines) {
    std::string text = "; kept by hand\r\n[Other]\r\n";
    for (int i = 0; i < lines; ++i)
        text += "Entry" + std::to_string(i) + "=a value that nobody but its writer reads\r\n";
    text += "[General]\r\nForeignKey=stays\r\n";
    return text;
}

struct SavedFiles {
    std::string Before, First, Second;  // as written, after record 1, after record 0 on top of it
};

// The two contents the helper's saves can leave, made here by the same writer.
SavedFiles Prepare(const TempDir& dir, const std::wstring& path, int lines) {
    SavedFiles files;
    files.Before = ForeignFile(lines);
    EXPECT_TRUE(WriteBytes(path, files.Before));
    IniFileWriter first(path);
    EXPECT_TRUE(SaveSettings(first, SaverRecord(1)));
    files.First = ReadBytes(path);
    std::wstring copy = dir.File(L"second.ini");
    EXPECT_TRUE(WriteBytes(copy, files.First));
    IniFileWriter second(copy);
    EXPECT_TRUE(SaveSettings(second, SaverRecord(0)));
    files.Second = ReadBytes(copy);
    EXPECT_NE(files.First, files.Second);
    EXPECT_EQ(files.First.size(), files.Second.size());
    return files;
}

class Saver {
  public:
    Saver(const std::wstring& path, int saves) {
        static int counter = 0;
        std::wstring name =
            L"lumivex-saver-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        ready_ = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
        process_ = Launch(TestFolder() + L"lumivex_test_settings_saver.exe",
                          L"\"" + path + L"\" " + std::to_wstring(saves) + L" " + name);
    }
    ~Saver() {
        if (process_) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 10000);
            CloseHandle(process_);
        }
        CloseHandle(ready_);
    }
    bool WaitReady() const { return process_ && WaitForSingleObject(ready_, 60000) == WAIT_OBJECT_0; }
    bool Ended() const { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }
    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        return code;
    }
    void Kill() const {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 10000);
    }

  private:
    HANDLE ready_ = nullptr;
    HANDLE process_ = nullptr;
};

// The file's bytes as a reader that lets others rename and delete it sees them; nothing when it is missing.
bool ReadShared(const std::wstring& path, std::string& data, DWORD& error) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return false;
    }
    data.clear();
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n)
        data.append(buf, n);
    CloseHandle(h);
    return true;
}
}  // namespace

TEST(AtomicSave, AnotherProcessNeverSeesTheFileEmptyShorterOrHalfWritten) {
    TempDir dir;
    std::wstring path = dir.File(L"Lumivex.Settings");
    SavedFiles files = Prepare(dir, path, 240);  // about 12 KB
    ASSERT_GT(files.First.size(), 12000u);
    Saver saver(path, 200);
    ASSERT_TRUE(saver.WaitReady());
    int polls = 0, wrong = 0, missing = 0;
    DWORD start = GetTickCount();
    while (!saver.Ended() && GetTickCount() - start < 120000) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
            ++missing;
        } else if (data.nFileSizeLow < files.First.size()) {
            ++wrong;
        }
        std::string bytes;
        DWORD error = 0;
        if (ReadShared(path, bytes, error)) {
            if (bytes != files.First && bytes != files.Second)
                ++wrong;
        } else if (error == ERROR_FILE_NOT_FOUND) {
            ++missing;
        }
        ++polls;
        Sleep(1);
    }
    ASSERT_TRUE(saver.Ended());
    EXPECT_EQ(saver.ExitCode(), 0u);  // every save went through while the file was being read
    EXPECT_GT(polls, 20);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(ReadBytes(path), files.Second);  // 200 saves: the last one wrote record 0
    EXPECT_EQ(GetFileAttributesW((path + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(AtomicSave, AProcessEndedInTheMiddleOfASaveLeavesTheOldOrTheNewFileWhole) {
    TempDir dir;
    std::wstring path = dir.File(L"Lumivex.Settings");
    SavedFiles files = Prepare(dir, path, 30000);  // about 1.7 MB: a save takes a while
    // Ended at different moments of the save loop; the next save after each one still works.
    for (int delayMs : {0, 7, 23, 61, 113, 197}) {
        Saver saver(path, 0);
        ASSERT_TRUE(saver.WaitReady());
        Sleep(static_cast<DWORD>(delayMs));
        saver.Kill();
        std::string bytes = ReadBytes(path);
        EXPECT_TRUE(bytes == files.First || bytes == files.Second)
            << delayMs << " ms: " << bytes.size() << " bytes against " << files.First.size();
    }
    IniFileWriter again(path);
    EXPECT_TRUE(SaveSettings(again, SaverRecord(1)));
    EXPECT_EQ(ReadBytes(path), files.First);
}

TEST(AtomicSave, AFileThatIsNotTextIsKeptBesideTheNewOne) {
    TempDir dir;
    std::wstring path = dir.File(L"Lumivex.Settings");
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7919) & 0xFF);
    ASSERT_TRUE(WriteBytes(path, binary));
    IniFileWriter file(path);
    ASSERT_TRUE(SaveSettings(file, SaverRecord(0)));
    EXPECT_EQ(ReadBytes(dir.File(L"Lumivex.Settings.bad")), binary);
    EXPECT_THAT(ReadBytes(path), StartsWith("\xFF\xFE"));
    EXPECT_THAT(ReadText(path), HasSubstr("[General]\r\nWarn=1\r\n"));
    EXPECT_EQ(IniFileProfile(path).ReadString("General", "RefreshRate", ""), "500");
}

TEST(AtomicSave, ASettingsFileWithASecondNameKeepsBoth) {
    // A package manager keeps a portable copy's settings as a hard link into its own folder: a save must reach
    // both names, or the next update brings back the old settings.
    TempDir dir;
    std::wstring path = dir.File(L"Lumivex.Settings");
    std::wstring kept = dir.File(L"persisted.Settings");
    ASSERT_TRUE(WriteBytes(path, "[Other]\r\nKeep=1\r\n"));
    ASSERT_TRUE(CreateHardLinkW(kept.c_str(), path.c_str(), nullptr));
    IniFileWriter file(path);
    ASSERT_TRUE(SaveSettings(file, SaverRecord(1)));
    EXPECT_EQ(ReadBytes(kept), ReadBytes(path));
    EXPECT_THAT(ReadText(kept), HasSubstr("Keep=1"));
    EXPECT_THAT(ReadText(kept), HasSubstr("[General]"));
}

TEST(AtomicSave, AnAnsiFileKeepsItsBytesAndEveryWriteReadsBackAtOnce) {
    TempDir dir;
    std::wstring path = dir.File(L"plain.ini");
    const std::string kept = "[Other]\r\nName=caf\xE9 \x80\r\n  odd line \r\n";
    ASSERT_TRUE(WriteBytes(path, kept + "[General]\r\nShowPercentage=0"));
    IniFileProfile file(path);
    // The profile functions may cache the file by its last-write time; each save must still show at once.
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(file.WriteString("General", "ShowPercentage", std::to_string(i)));
        ASSERT_EQ(file.ReadString("General", "ShowPercentage", ""), std::to_string(i));
    }
    EXPECT_EQ(ReadBytes(path), kept + "[General]\r\nShowPercentage=29");
}
