// Runs the real installer silently and checks what it leaves behind, then what its uninstaller takes away.
// LUMIVEX_SETUP names the installer; LUMIVEX_THEMES lists the shipped theme file names, separated by "|";
// LUMIVEX_SIGNED=1 says the installer was signed, and with it what it installs.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_win.h"
#include "platform/unique_handle_win.h"
#include "win_test_util.h"

using namespace WinTest;

namespace {
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumivex";

std::wstring Environment(const wchar_t* name) {
    wchar_t buf[4096];
    DWORD n = GetEnvironmentVariableW(name, buf, 4096);
    return n && n < 4096 ? std::wstring(buf, n) : std::wstring();
}

std::vector<std::wstring> ShippedThemes() {
    std::vector<std::wstring> names;
    std::wstring all = Environment(L"LUMIVEX_THEMES");
    for (size_t start = 0; start < all.size();) {
        size_t bar = all.find(L'|', start);
        if (bar == std::wstring::npos)
            bar = all.size();
        if (bar > start)
            names.push_back(all.substr(start, bar - start));
        start = bar + 1;
    }
    return names;
}

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE);
    return path;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool NativeIs64Bit() {
    SYSTEM_INFO si{};
    GetNativeSystemInfo(&si);
    return si.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

WORD MachineOf(const std::wstring& exe) {
    std::string bytes = ReadBytes(exe);
    if (bytes.size() < 0x40)
        return 0;
    DWORD peOffset = *reinterpret_cast<const DWORD*>(bytes.data() + 0x3C);
    if (bytes.size() < peOffset + 6)
        return 0;
    return *reinterpret_cast<const WORD*>(bytes.data() + peOffset + 4);
}

// Whether a PE file carries an Authenticode signature: its certificate table (security directory) is not empty.
bool HasSignature(const std::wstring& exe) {
    std::string bytes = ReadBytes(exe);
    if (bytes.size() < 0x40)
        return false;
    DWORD peOffset = *reinterpret_cast<const DWORD*>(bytes.data() + 0x3C);
    size_t optional = size_t{peOffset} + 4 + sizeof(IMAGE_FILE_HEADER);
    if (bytes.size() < optional + 2)
        return false;
    WORD magic = *reinterpret_cast<const WORD*>(bytes.data() + optional);
    size_t directories = optional + (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC ? 112 : 96);
    size_t security = directories + IMAGE_DIRECTORY_ENTRY_SECURITY * sizeof(IMAGE_DATA_DIRECTORY);
    if (bytes.size() < security + sizeof(IMAGE_DATA_DIRECTORY))
        return false;
    return reinterpret_cast<const IMAGE_DATA_DIRECTORY*>(bytes.data() + security)->Size != 0;
}

// A registry value as text; `found` tells a missing value from an empty one.
std::wstring RegistryText(HKEY root, const wchar_t* key, const wchar_t* value, REGSAM view, bool* found) {
    *found = false;
    UniqueRegistryKey h;
    if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE | view, h.Put()) != ERROR_SUCCESS)
        return {};
    wchar_t buf[1024] = {};
    DWORD size = sizeof buf - sizeof(wchar_t);
    DWORD type = 0;
    *found = RegQueryValueExW(h.Get(), value, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS &&
             type == REG_SZ;
    return *found ? std::wstring(buf) : std::wstring();
}

// Runs a program and waits for it and for every program it started: the uninstaller hands its work to a copy
// of itself in the temporary folder and returns at once. The job holds them all.
DWORD RunAndWait(const std::wstring& exe, const std::wstring& args) {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si,
                        &pi)) {
        CloseHandle(job);
        return static_cast<DWORD>(-1);
    }
    AssignProcessToJobObject(job, pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    DWORD code = static_cast<DWORD>(-2);
    if (WaitProcess(pi.hProcess, 120000))
        GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    EXPECT_TRUE(PumpUntil(
        [&] {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
            return QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr) &&
                   info.ActiveProcesses == 0;
        },
        120000))
        << Narrow(exe) << " left a program running";
    CloseHandle(job);
    return code;
}

HWND FindProgramWindow(DWORD processId) {
    const std::vector<HWND> forms = WindowsOfProcess(processId, L"TFrmLumivexMain");
    return forms.empty() ? nullptr : forms.front();
}

class Installer : public ::testing::Test {
  protected:
    void SetUp() override {
        // Under Wine the first program that needs the desktop starts the desktop's process, which then outlives
        // it; this test's own call keeps that process out of the installer's job.
        GetDesktopWindow();
        setup_ = Environment(L"LUMIVEX_SETUP");
        ASSERT_TRUE(Exists(setup_)) << "LUMIVEX_SETUP names no installer: " << Narrow(setup_);
        installDir_ = Environment(L"ProgramW6432");
        if (installDir_.empty())
            installDir_ = ShellFolder(CSIDL_PROGRAM_FILES);
        installDir_ += L"\\Lumivex\\";
        dataDir_ = ShellFolder(CSIDL_APPDATA) + L"\\Brindell\\Lumivex\\";
        shortcut_ = ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\Lumivex.lnk";
        // A copy left behind by an earlier, interrupted run would hide what this one does.
        if (Exists(installDir_ + L"Uninstall.exe"))
            Uninstall(L"/S /REMOVESETTINGS");
        TempDir::RemoveTree(dataDir_);
    }

    void Uninstall(const std::wstring& args) { ASSERT_EQ(RunAndWait(installDir_ + L"Uninstall.exe", args), 0u); }

    std::wstring RunEntry(bool* found) const { return RegistryText(HKEY_CURRENT_USER, kRunKey, L"Lumivex", 0, found); }

    std::wstring setup_, installDir_, dataDir_, shortcut_;
};
}  // namespace

TEST_F(Installer, InstallsRunsAndUninstallsKeepingTheSettings) {
    ASSERT_EQ(RunAndWait(setup_, L"/S"), 0u);

    std::wstring exe = installDir_ + L"Lumivex.exe";
    ASSERT_TRUE(Exists(exe));
    EXPECT_TRUE(Exists(installDir_ + L"Uninstall.exe"));
    EXPECT_EQ(MachineOf(exe), NativeIs64Bit() ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386);
    EXPECT_TRUE(Exists(shortcut_));
    EXPECT_FALSE(Exists(installDir_ + L"Lumivex.Settings")) << "an installed copy must not be portable";
    if (Environment(L"LUMIVEX_SIGNED") == L"1") {
        // The signed distribution signs the program and the uninstaller written from inside the installer.
        EXPECT_TRUE(HasSignature(setup_));
        EXPECT_TRUE(HasSignature(exe));
        EXPECT_TRUE(HasSignature(installDir_ + L"Uninstall.exe"));
    }
    bool found = false;
    EXPECT_EQ(RunEntry(&found), L"\"" + exe + L"\"");
    EXPECT_TRUE(found);
    std::wstring location =
        RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation", KEY_WOW64_64KEY, &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(location + L"\\", installDir_);
    for (const std::wstring& theme : ShippedThemes()) {
        EXPECT_TRUE(Exists(dataDir_ + L"Themes\\" + theme)) << Narrow(theme);
    }

    // A user's own theme is not the installer's to take away.
    ASSERT_TRUE(WriteBytes(dataDir_ + L"Themes\\Mine.Lumivex Theme", "[LumivexTheme]\r\nVer=22\r\n"));

    // The uninstaller ends a running copy the way a log-off does: it saves its settings and exits normally.
    HANDLE running = Launch(exe);
    ASSERT_NE(running, nullptr);
    DWORD pid = GetProcessId(running);
    ASSERT_TRUE(PumpUntil([&] { return FindProgramWindow(pid) != nullptr; }, 20000));
    Uninstall(L"/S");
    EXPECT_TRUE(WaitProcess(running, 20000));
    DWORD exitCode = 1;
    GetExitCodeProcess(running, &exitCode);
    CloseHandle(running);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(Exists(dataDir_ + L"Lumivex.Settings")) << "the running copy was not asked to save";

    EXPECT_FALSE(Exists(installDir_));
    EXPECT_FALSE(Exists(shortcut_));
    RunEntry(&found);
    EXPECT_FALSE(found);
    RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName", KEY_WOW64_64KEY, &found);
    EXPECT_FALSE(found);
    for (const std::wstring& theme : ShippedThemes()) {
        EXPECT_FALSE(Exists(dataDir_ + L"Themes\\" + theme)) << Narrow(theme);
    }
    EXPECT_TRUE(Exists(dataDir_ + L"Themes\\Mine.Lumivex Theme"));
}

TEST_F(Installer, WithoutAutostartAndRemovingTheSettingsOnRequest) {
    ASSERT_EQ(RunAndWait(setup_, L"/S /NOAUTOSTART"), 0u);
    ASSERT_TRUE(Exists(installDir_ + L"Lumivex.exe"));
    bool found = true;
    RunEntry(&found);
    EXPECT_FALSE(found);
    ASSERT_TRUE(WriteBytes(dataDir_ + L"Lumivex.Settings", "[General]\r\nShowPercentage=1\r\n"));
    ASSERT_TRUE(WriteBytes(dataDir_ + L"Themes\\Mine.Lumivex Theme", "[LumivexTheme]\r\nVer=22\r\n"));

    Uninstall(L"/S /REMOVESETTINGS");
    EXPECT_FALSE(Exists(installDir_));
    EXPECT_FALSE(Exists(dataDir_));
}
