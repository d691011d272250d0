#include "settings/ini_file_writer_win.h"

#include <windows.h>

#include <new>
#include <optional>

#include "platform/ascii_text.h"
#include "platform/file_io_win.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"
#include "settings/ini_document.h"

namespace {
// Larger files are not settings anyone wrote; reading them whole could exhaust a 32-bit process.
constexpr LONGLONG kMaxFileBytes = 256ll << 20;
// Another program (a virus scanner, a backup) may hold the file open for a moment: the rename is tried again.
constexpr int kRenameAttempts = 20;
constexpr DWORD kRenamePauseMs = 25;
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

class SystemCodePage : public AnsiCodePage {
  public:
    std::string ToUtf8(std::string_view bytes) const override {
        if (bytes.empty())
            return {};
        int count = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        std::wstring wide(static_cast<size_t>(count), L'\0');
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), count);
        return Narrow(wide);
    }
    std::string FromUtf8(std::string_view text) const override {
        std::wstring wide = Widen(text);
        if (wide.empty())
            return {};
        int count =
            WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
        std::string bytes(static_cast<size_t>(count), '\0');
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), count, nullptr,
                            nullptr);
        return bytes;
    }
};

const SystemCodePage kSystemCodePage;

struct FileError {
    DWORD Code;
};

[[noreturn]] void Fail(DWORD code) {
    throw FileError{code ? code : ERROR_GEN_FAILURE};
}

// The file's bytes; nothing when it does not exist.
std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return std::nullopt;
        Fail(error);
    }
    std::string bytes;
    if (DWORD error = ReadAll(file.Get(), kMaxFileBytes, bytes))
        Fail(error);
    return bytes;
}

// Beside the file, so the rename stays on one volume. The short name stands in when the long one would pass the
// length the path functions accept.
std::wstring TempPathFor(const std::wstring& path) {
    std::wstring temp = path + L".tmp";
    if (temp.size() < MAX_PATH)
        return temp;
    std::wstring folder = path.substr(0, path.find_last_of(L"\\/") + 1);
    wchar_t unique[MAX_PATH];
    if (folder.empty() || folder.size() >= MAX_PATH - 14 || !GetTempFileNameW(folder.c_str(), L"lvx", 0, unique))
        Fail(ERROR_FILENAME_EXCED_RANGE);
    return unique;
}

// Writes bytes from the file's start and stamps it. The profile functions may keep a parsed copy for as long as the
// last-write time stays the same; the file system's clock can be coarser than two saves apart, so the time is set
// from the precise clock.
void WriteContents(HANDLE file, const std::string& bytes) {
    if (DWORD error = WriteAll(file, bytes))
        Fail(error);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    SetFileTime(file, nullptr, nullptr, &now);
}

void WriteTempFile(const std::wstring& temp, const std::string& bytes, DWORD attributes) {
    DeleteFileW(temp.c_str());  // a leftover of a save that was cut short
    UniqueFile file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
    if (!file)
        Fail(GetLastError());
    WriteContents(file.Get(), bytes);
    if (!FlushFileBuffers(file.Get()))
        Fail(GetLastError());
}

// True when the file has more than one name: package managers keep a portable copy's settings across updates as
// a hard link, which a rename over it would cut off.
bool HasOtherLinks(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    return file && GetFileInformationByHandle(file.Get(), &info) && info.nNumberOfLinks > 1;
}

// The linked file keeps its identity: the new contents go over the old from the start and the end is cut after
// them, so a reader sees the file no shorter than the shorter of the two, never empty. The whole new file already
// sits flushed in the temporary file, which stays if this is cut short.
void WriteInPlace(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        Fail(GetLastError());
    WriteContents(file.Get(), bytes);
    if (!SetEndOfFile(file.Get()) || !FlushFileBuffers(file.Get()))
        Fail(GetLastError());
}

void MoveIntoPlace(const std::wstring& temp, const std::wstring& path) {
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return;
        DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || attempt == kRenameAttempts)
            Fail(error);
        Sleep(kRenamePauseMs);
    }
}
}  // namespace

std::wstring BadFilePath(const std::wstring& path) {
    return path + L".bad";
}

std::string IniFileWriter::ReadString(const std::string& section, const std::string& key, const std::string& def) {
    for (auto it = writes_.rbegin(); it != writes_.rend(); ++it) {
        if (SameTextIgnoringAsciiCase(it->Section, section) && SameTextIgnoringAsciiCase(it->Key, key))
            return it->Value;
    }
    return reader_.ReadString(section, key, def);
}

bool IniFileWriter::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    writes_.push_back({section, key, value});
    return true;
}

bool IniFileWriter::Commit() {
    if (writes_.empty())
        return true;
    try {
        if (!CommitOrThrow())
            return false;
    } catch (const FileError& error) {
        lastError_ = error.Code;
        return false;
    } catch (const std::bad_alloc&) {
        lastError_ = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    writes_.clear();
    return true;
}

bool IniFileWriter::CommitOrThrow() {
    DWORD attributes = GetFileAttributesW(path_.c_str());
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // A read-only file is refused as the profile functions refuse it, even where the rename would go through.
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        Fail(ERROR_ACCESS_DENIED);

    std::optional<std::string> old = ReadWholeFile(path_);
    // A new or empty file starts as UTF-16, so the Chinese section names survive on every code page.
    std::optional<IniDocument> document;
    bool keepBad = false;
    if (old && !old->empty()) {
        document = IniDocument::Parse(*old, kSystemCodePage);
        keepBad = !document;
    }
    if (!document)
        document.emplace(IniDocument::Encoding::Utf16Le, kSystemCodePage);
    for (const PendingWrite& write : writes_) {
        if (!document->Set(write.Section, write.Key, write.Value)) {
            lastError_ = ERROR_INVALID_DATA;
            return false;
        }
    }
    std::string bytes = document->Serialize();
    if (old && !keepBad && bytes == *old)
        return true;  // nothing changed: the file is left alone

    std::wstring temp = TempPathFor(path_);
    try {
        WriteTempFile(temp, bytes, exists ? (attributes & kKeptAttributes) : FILE_ATTRIBUTE_NORMAL);
        if (keepBad && !CopyFileW(path_.c_str(), BadFilePath(path_).c_str(), FALSE))
            Fail(GetLastError());
        if (exists && HasOtherLinks(path_)) {
            WriteInPlace(path_, bytes);
            DeleteFileW(temp.c_str());
        } else {
            MoveIntoPlace(temp, path_);
        }
    } catch (...) {
        DWORD error = GetLastError();
        DeleteFileW(temp.c_str());
        SetLastError(error);
        throw;
    }
    return true;
}
