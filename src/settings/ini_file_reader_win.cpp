#include "settings/ini_file_reader_win.h"

#include "platform/file_io_win.h"
#include "platform/fixed_text.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"

namespace {
constexpr DWORD kLockedPauseMs = 25;

class AnsiFromSystem : public AnsiCodePage {
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

bool IsLocked(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

std::optional<std::string> ReadExisting(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    if (!file || ReadAll(file.Get(), kMaxSettingsFileBytes, bytes))
        return std::nullopt;
    return bytes;
}

// Writes a new file of that name; false when the name is taken or the write failed (a partial file is removed).
bool WriteNewFile(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD error = WriteAll(file.Get(), bytes);
    if (!error && !FlushFileBuffers(file.Get()))
        error = GetLastError();
    if (!error)
        return true;
    file.Reset();
    DeleteFileW(path.c_str());
    SetLastError(error);
    return false;
}
}  // namespace

const AnsiCodePage& SystemCodePage() {
    static const AnsiFromSystem codePage;
    return codePage;
}

// The path functions of Windows accept fewer than MAX_PATH characters without the "\\?\" prefix; a longer path is
// refused here, loudly, rather than read by one function and written by another. (Wine opens such paths with
// CreateFileW but its profile functions return the defaults for them.)
IniFileContents ReadIniFile(const std::wstring& path, LONGLONG maxBytes, DWORD waitMs) {
    IniFileContents contents;
    auto fail = [&](DWORD error) {
        contents.Result = IniFileContents::State::Failed;
        contents.Error = error ? error : ERROR_GEN_FAILURE;
        return contents;
    };
    if (path.size() >= MAX_PATH)
        return fail(ERROR_FILENAME_EXCED_RANGE);
    UniqueFile file;
    for (DWORD waited = 0;; waited += kLockedPauseMs) {
        file.Reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file)
            break;
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return contents;
        if (!IsLocked(error) || waited >= waitMs)
            return fail(error);
        Sleep(kLockedPauseMs);
    }
    if (DWORD error = ReadAll(file.Get(), maxBytes, contents.Bytes))
        return fail(error);
    file.Reset();
    IniDocument::Recovered recovered = IniDocument::Recover(contents.Bytes, SystemCodePage());
    contents.Document = std::move(recovered.Document);
    contents.Result = !contents.Document  ? IniFileContents::State::NotText
                      : recovered.Damaged ? IniFileContents::State::Damaged
                                          : IniFileContents::State::Read;
    return contents;
}

std::optional<std::wstring> KeepBadCopy(const std::wstring& path, const std::string& bytes, bool plainNameFirst) {
    const std::wstring plain = path + L".bad";
    // A copy of the same bytes from an earlier start or save is enough.
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW((plain + L"*").c_str(), &found));
    const std::wstring folder = path.substr(0, path.find_last_of(L"\\/") + 1);
    for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.Get(), &found)) {
        const ULONGLONG size = (ULONGLONG{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
        if (size == bytes.size() && ReadExisting(folder + found.cFileName) == bytes)
            return folder + found.cFileName;
    }
    if (plainNameFirst && WriteNewFile(plain, bytes))
        return plain;
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    FixedText(stamp, sizeof stamp)
        .Add("-")
        .Decimal(now.wYear, 4)
        .Decimal(now.wMonth, 2)
        .Decimal(now.wDay, 2)
        .Add("-")
        .Decimal(now.wHour, 2)
        .Decimal(now.wMinute, 2)
        .Decimal(now.wSecond, 2);
    for (int n = 1; n < 100; ++n) {
        std::wstring name = plain + Widen(stamp) + (n == 1 ? L"" : L"-" + Widen(std::to_string(n)));
        if (WriteNewFile(name, bytes))
            return name;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return std::nullopt;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return std::nullopt;
}
