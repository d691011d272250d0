#pragma once

#include <string>

// Full path of the running executable.
std::wstring ExecutablePath();
// Folder of the running executable, with a trailing backslash.
std::wstring ProgramFolder();

struct SettingsLocation {
    std::wstring Path;
    bool PortableMode = false;
};

// "Lumivex.Settings" in programFolder when it is there and on a readable drive (a portable copy); otherwise empty.
std::wstring PortableSettingsFile(const std::wstring& programFolder);

// "Lumivex.Settings" beside the executable when it is there and on a readable drive (portable mode), otherwise in
// the per-user data folder.
// userDataFolder replaces the per-user application-data folder when not empty (tests keep to a folder of their own).
SettingsLocation GetSettingsFileName(const std::wstring& programFolder, const std::wstring& userDataFolder = L"");

// The data folder (per-user application data + "Brindell\Lumivex\", or the program folder in portable mode), or
// its "Themes\" folder; created with its parents when missing. Ends with a backslash.
std::wstring GetDataFolder(bool portableMode,
                           const std::wstring& programFolder,
                           bool commonData,
                           bool themes,
                           const std::wstring& userDataFolder = L"");

// Creates a folder and every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::wstring& folder);
std::wstring WithTrailingBackslash(std::wstring path);

// The error log "Lumivex.log" in the folder of the settings file.
std::wstring LogPathBeside(const std::wstring& settingsPath);
