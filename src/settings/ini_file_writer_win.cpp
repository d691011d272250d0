#include "settings/ini_file_writer_win.h"

#include <windows.h>

#include <new>
#include <optional>

#include "platform/ascii_text.h"
#include "platform/error_report_win.h"
#include "platform/file_io_win.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"
#include "settings/ini_document.h"
#include "settings/ini_file_reader_win.h"

namespace {
// Another program (a virus scanner, a backup) may hold the file open for a moment: the rename is tried again, and
// so is the read before it, briefly, since a save may run while the session ends.
constexpr int kRenameAttempts = 20;
constexpr DWORD kRenamePauseMs = 25;
constexpr DWORD kReadWaitMs = 250;
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// Alternate data streams larger than this are not copied to the new file: the file is then written in place.
constexpr LONGLONG kMaxStreamBytes = 1 << 20;
constexpr SECURITY_INFORMATION kOwnerAndAccess =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

struct FileError {
    DWORD Code;
};

[[noreturn]] void Fail(DWORD code) {
    throw FileError{code ? code : ERROR_GEN_FAILURE};
}

// The file a symbolic link or junction leads to, so the save replaces the target beside itself rather than the
// link; the path itself for a plain file, a missing one, or a target whose name would be too long to use.
std::wstring FileBehindLinks(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return path;
    wchar_t buffer[MAX_PATH + 8];
    DWORD length = GetFinalPathNameByHandleW(file.Get(), buffer, MAX_PATH + 8, FILE_NAME_NORMALIZED);
    if (length == 0 || length >= MAX_PATH + 8)
        return path;
    std::wstring target(buffer, length);
    if (target.rfind(L"\\\\?\\UNC\\", 0) == 0)
        target = L"\\\\" + target.substr(8);
    else if (target.rfind(L"\\\\?\\", 0) == 0)
        target = target.substr(4);
    if (target.size() >= MAX_PATH)
        return path;
    // For a plain file the final name is the same file, perhaps spelt otherwise (case, short names, a mapped drive).
    // (Wine 8 opens a link it made as the link itself and names no target.)
    return target;
}

// Beside the file, so the rename stays on one volume, and named for this process, so two copies of the program
// (two sessions) never share one. The short name stands in when the long one would pass the length the path
// functions accept.
std::wstring TempPathFor(const std::wstring& path) {
    std::wstring temp = path + L"." + Widen(std::to_string(GetCurrentProcessId())) + L".tmp";
    if (temp.size() < MAX_PATH)
        return temp;
    std::wstring folder = path.substr(0, path.find_last_of(L"\\/") + 1);
    wchar_t unique[MAX_PATH];
    if (folder.empty() || folder.size() >= MAX_PATH - 14 || !GetTempFileNameW(folder.c_str(), L"lvx", 0, unique))
        return {};
    return unique;
}

// Writes bytes from the file's start and stamps it. A reader that caches the file by its last-write time (the
// profile functions do) must see every save: the file system's clock can be coarser than two saves apart, so the
// time is set from the precise clock.
void WriteContents(HANDLE file, const std::string& bytes) {
    if (DWORD error = WriteAll(file, bytes))
        Fail(error);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    SetFileTime(file, nullptr, nullptr, &now);
}

// The old file's owner and access rules on the new one; false when they could not be read or set.
bool CopySecurity(const std::wstring& from, const std::wstring& to) {
    DWORD needed = 0;
    GetFileSecurityW(from.c_str(), kOwnerAndAccess, nullptr, 0, &needed);
    if (needed == 0)
        return false;
    std::string descriptor(needed, '\0');
    auto* security = static_cast<PSECURITY_DESCRIPTOR>(descriptor.data());
    if (!GetFileSecurityW(from.c_str(), kOwnerAndAccess, security, needed, &needed))
        return false;
    // Setting another user's ownership takes a privilege: the access rules alone are what matters most.
    return SetFileSecurityW(to.c_str(), kOwnerAndAccess, security) ||
           SetFileSecurityW(to.c_str(), DACL_SECURITY_INFORMATION, security);
}

// The old file's named streams (a download mark, a tag a backup program keeps) on the new one; false when one could
// not be copied. A volume without streams has none to copy.
bool CopyStreams(const std::wstring& from, const std::wstring& to) {
    WIN32_FIND_STREAM_DATA stream;
    UniqueFind search(FindFirstStreamW(from.c_str(), FindStreamInfoStandard, &stream, 0));
    if (!search) {
        const DWORD error = GetLastError();
        return error == ERROR_HANDLE_EOF || error == ERROR_INVALID_PARAMETER || error == ERROR_CALL_NOT_IMPLEMENTED ||
               error == ERROR_NOT_SUPPORTED;
    }
    do {
        std::wstring name = stream.cStreamName;
        if (name == L"::$DATA")
            continue;
        if (stream.StreamSize.QuadPart > kMaxStreamBytes)
            return false;
        UniqueFile source(CreateFileW((from + name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        std::string bytes;
        if (!source || ReadAll(source.Get(), kMaxStreamBytes, bytes))
            return false;
        UniqueFile copy(CreateFileW((to + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        if (!copy || WriteAll(copy.Get(), bytes))
            return false;
    } while (FindNextStreamW(search.Get(), &stream));
    return GetLastError() == ERROR_HANDLE_EOF;
}

// The new file, whole and flushed, under the temporary name; false when the folder takes no new file (a portable
// copy where only the settings file may be written), or when the old file's access rules or streams would not
// come along, since the file is then written in place. Any other failure is thrown.
bool WriteTempFile(const std::wstring& temp, const std::wstring& old, const std::string& bytes, DWORD attributes) {
    DeleteFileW(temp.c_str());  // a leftover of a save of this process that was cut short
    UniqueFile file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED && !old.empty())
            return false;
        Fail(error);
    }
    WriteContents(file.Get(), bytes);
    if (!FlushFileBuffers(file.Get()))
        Fail(GetLastError());
    file.Reset();
    return old.empty() || (CopySecurity(old, temp) && CopyStreams(old, temp));
}

// True when the file has more than one name: package managers keep a portable copy's settings across updates as
// a hard link, which a rename over it would cut off.
bool HasOtherLinks(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    return file && GetFileInformationByHandle(file.Get(), &info) && info.nNumberOfLinks > 1;
}

// The file keeps its identity (its other names, access rules and streams): the new contents go over the old from
// the start and the end is cut after them. The file first grows to its new length, so a full disk fails before a
// byte has changed; returns whether the old contents were touched when it throws.
void WriteInPlace(const std::wstring& path, const std::string& bytes, bool& touched) {
    touched = false;
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        Fail(GetLastError());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        Fail(GetLastError());
    const auto length = static_cast<LONGLONG>(bytes.size());
    if (length > size.QuadPart) {
        if (DWORD error = SetFileLength(file.Get(), length))
            Fail(error);
    }
    if (!SetFilePointerEx(file.Get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN))
        Fail(GetLastError());
    touched = true;
    WriteContents(file.Get(), bytes);
    if (DWORD error = SetFileLength(file.Get(), length))
        Fail(error);
    if (!FlushFileBuffers(file.Get()))
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
    reader_.Release();
    return true;
}

// The file is read again just before the save, so what was edited by hand meanwhile is kept; only the keys written
// here change.
bool IniFileWriter::CommitOrThrow() {
    if (path_.size() >= MAX_PATH)
        Fail(ERROR_FILENAME_EXCED_RANGE);
    const std::wstring target = FileBehindLinks(path_);
    DWORD attributes = GetFileAttributesW(target.c_str());
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // A read-only file is refused as the profile functions refuse it, even where the rename would go through.
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        Fail(ERROR_ACCESS_DENIED);

    IniFileContents old = ReadIniFile(target, kMaxSettingsFileBytes, kReadWaitMs);
    using State = IniFileContents::State;
    if (old.Result == State::Failed)
        Fail(old.Error);
    // A new or empty file (a portable copy's comes empty), or one with no settings in it, starts as UTF-16, so the
    // Chinese section names survive on every code page.
    if (!old.Document || old.Bytes.empty())
        old.Document.emplace(IniDocument::Encoding::Utf16Le, SystemCodePage());
    IniDocument& document = *old.Document;
    for (const PendingWrite& write : writes_) {
        if (!document.Set(write.Section, write.Key, write.Value)) {
            lastError_ = ERROR_INVALID_DATA;
            return false;
        }
    }
    std::string bytes = document.Serialize();
    if (old.Result == State::Read && bytes == old.Bytes)
        return true;  // nothing changed: the file is left alone

    // What a damaged file held is kept, under a name of its own, before anything is written over it.
    if (old.Result == State::Damaged || old.Result == State::NotText) {
        std::optional<std::wstring> copy = KeepBadCopy(target, old.Bytes, old.Result == State::NotText);
        if (!copy)
            Fail(GetLastError());
        LogError(
            Narrow(target) +
            (old.Result == State::Damaged ? " was damaged; what could be read is kept, and " : " held no settings; ") +
            "the file as it was is kept as " + Narrow(*copy));
    }
    old.Bytes.clear();
    old.Bytes.shrink_to_fit();

    std::wstring temp = TempPathFor(target);
    if (temp.empty())
        Fail(ERROR_FILENAME_EXCED_RANGE);
    bool haveTemp = false;
    bool touched = false;
    try {
        haveTemp = WriteTempFile(temp, exists ? target : std::wstring(), bytes,
                                 exists ? (attributes & kKeptAttributes) : FILE_ATTRIBUTE_NORMAL);
        if (exists && (!haveTemp || HasOtherLinks(target))) {
            WriteInPlace(target, bytes, touched);
            DeleteFileW(temp.c_str());
        } else {
            MoveIntoPlace(temp, target);
        }
    } catch (...) {
        DWORD error = GetLastError();
        // The file may be cut short now: the whole new file stays beside it, and the log says where.
        if (touched && haveTemp)
            LogError(Narrow(target) + " could not be written whole; the settings are in " + Narrow(temp));
        else
            DeleteFileW(temp.c_str());
        SetLastError(error);
        throw;
    }
    return true;
}
