// Saving the settings into a 20 MB settings file, side by side in one process:
//   profile functions: every key written on its own with WritePrivateProfileStringW, each write rewriting the whole
//                      file (how the settings used to be saved);
//   one step:          the same keys through an IniFileWriter, committed once (how they are saved now).
// And reading them at start from the same file:
//   profile functions: every key read on its own with GetPrivateProfileStringW (how they used to be read);
//   one read:          the file read once into a document that answers every key (IniFileProfile).
// Prints the seconds of each and their ratio. At log-off Windows waits about 5 s for a program.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_win.h"
#include "platform/text_win.h"
#include "settings/ini_file_writer_win.h"
#include "settings/profile_win.h"
#include "settings/settings_file.h"

namespace {
constexpr size_t kFileBytes = 20u << 20;

// The Windows profile functions as they are, one whole save per key.
class ProfileFunctions : public IProfile {
  public:
    explicit ProfileFunctions(std::wstring path) : path_(std::move(path)) {}
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) override {
        wchar_t buffer[2048];
        GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(def).c_str(), buffer, 2048,
                                 path_.c_str());
        return Narrow(buffer);
    }
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override {
        return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                                          path_.c_str()) != FALSE;
    }

  private:
    std::wstring path_;
};

// A settings file of the given size as the program writes a new one (UTF-16 LE with a byte-order mark): the
// user's own sections, then the program's.
bool WriteLargeSettingsFile(const std::wstring& path, size_t bytes) {
    std::wstring text = L"\xFEFF";
    for (int i = 0; text.size() * sizeof(wchar_t) < bytes; ++i)
        text += L"[Mine" + std::to_wstring(i) + L"]\r\nNote=" + std::wstring(200, L'x') + L"\r\n";
    text += L"[General]\r\nRefreshRate=500\r\n";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

// Seconds of one save of the default settings into a fresh large file; negative when it failed.
double TimedSave(const std::wstring& path, bool profileFunctions) {
    if (!WriteLargeSettingsFile(path, kFileBytes))
        return -1;
    const Settings settings;
    bool saved = false;
    double seconds = 0;
    if (profileFunctions) {
        ProfileFunctions profile(path);
        seconds = SecondsPerRun([&] { saved = SaveSettings(profile, settings); }, 1);
    } else {
        IniFileWriter writer(path);
        seconds = SecondsPerRun([&] { saved = SaveSettings(writer, settings); }, 1);
    }
    return saved ? seconds : -1;
}
// Seconds of one start-up read of every setting from the large file; negative when a value read wrongly.
double TimedLoad(const std::wstring& path, bool profileFunctions) {
    LoadedSettings loaded;
    double seconds = 0;
    if (profileFunctions) {
        ProfileFunctions profile(path);
        seconds = SecondsPerRun([&] { loaded = LoadSettings(profile, FontSpec{}); }, 1);
    } else {
        seconds = SecondsPerRun(
            [&] {
                IniFileProfile profile(path);
                loaded = LoadSettings(profile, FontSpec{});
            },
            1);
    }
    return loaded.Values.RefreshRate == 500 ? seconds : -1;
}
// Prints the medians of the new way and the old (the profile functions, a key at a time) and their ratio; false
// when the new way failed.
bool Report(const char* what, const char* newWay, const std::vector<double>& now, const std::vector<double>& old) {
    if (now.empty() || Median(now) < 0)
        return false;
    const double newSeconds = Median(now), oldSeconds = Median(old);
    std::printf("%s a %zu MB file (median of 3)\n", what, kFileBytes >> 20);
    std::printf("  profile functions, a key at a time: %8.2f s%s\n", oldSeconds, oldSeconds < 0 ? " (failed)" : "");
    std::printf("  %s          %8.2f s\n", newWay, newSeconds);
    if (oldSeconds > 0)
        std::printf("  new / profile functions:            %8.3f\n", newSeconds / oldSeconds);
    return true;
}
}  // namespace

int main() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"lumivex-bench-save\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"Lumivex.Settings";

    // Rounds of each in turn; the profile functions are slow, so three rounds give the medians.
    std::vector<double> oneStep, perKey;
    for (int round = 0; round < 3; ++round) {
        oneStep.push_back(TimedSave(path, false));
        perKey.push_back(TimedSave(path, true));
    }
    std::vector<double> oneRead, perKeyRead;
    if (WriteLargeSettingsFile(path, kFileBytes)) {
        for (int round = 0; round < 3; ++round) {
            oneRead.push_back(TimedLoad(path, false));
            perKeyRead.push_back(TimedLoad(path, true));
        }
    }
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());
    if (!Report("settings saved into", "one step (IniFileWriter):  ", oneStep, perKey) ||
        !Report("settings read at start from", "one read (IniFileProfile): ", oneRead, perKeyRead)) {
        std::fprintf(stderr, "a save or a read failed\n");
        return 1;
    }
    return 0;
}
