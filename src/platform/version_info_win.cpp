#include "platform/version_info_win.h"

#include "platform/native_path_win.h"
#include "platform/system_library_win.h"
#include "platform/text_win.h"
#include "platform/version_text.h"

namespace {
// version.dll is no known DLL: it comes from System32 only, once for the life of the program.
struct VersionFunctions {
    using GetSizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using GetInfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

    SystemLibrary Library{L"version.dll"};
    GetSizeFn GetSize = Library.Proc<GetSizeFn>("GetFileVersionInfoSizeW");
    GetInfoFn GetInfo = Library.Proc<GetInfoFn>("GetFileVersionInfoW");
    QueryFn Query = Library.Proc<QueryFn>("VerQueryValueW");
    bool Ready() const { return GetSize && GetInfo && Query; }
};

const VersionFunctions& Version() {
    static VersionFunctions functions;
    return functions;
}

std::wstring OwnExecutable() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size())
            return path.substr(0, n);
        path.resize(path.size() * 2);
    }
}
}  // namespace

std::string VersionNumbers::Text() const {
    return Valid ? VersionNumberText(MostSignificant, LeastSignificant) : std::string();
}

void VersionInfoReader::SetFilename(const std::string& fileName) {
    filename_ = fileName;
    Reload();
}

void VersionInfoReader::SetTranslationIndex(int index) {
    translationIndex_ = index;
    fileVersion_.VersionString = GetByIndex(2);
    productVersion_.VersionString = GetByIndex(8);
}

void VersionInfoReader::Reload() {
    translations_.clear();
    fixed_ = nullptr;
    block_.clear();
    fileVersion_ = productVersion_ = VersionNumbers{};
    const VersionFunctions& v = Version();
    if (!v.Ready())
        return;
    std::wstring file = filename_.empty() ? OwnExecutable() : Widen(NativeFilePath(filename_));
    DWORD unused = 0;
    DWORD size = v.GetSize(file.c_str(), &unused);
    if (size == 0)
        return;
    block_.resize(size);
    if (!v.GetInfo(file.c_str(), 0, size, block_.data())) {
        block_.clear();
        return;
    }
    void* data = nullptr;
    UINT length = 0;
    if (v.Query(block_.data(), L"\\", &data, &length) && data && length >= sizeof(VS_FIXEDFILEINFO))
        fixed_ = static_cast<const VS_FIXEDFILEINFO*>(data);
    if (v.Query(block_.data(), L"\\VarFileInfo\\Translation", &data, &length) && data && length > 0) {
        const WORD* words = static_cast<const WORD*>(data);
        for (UINT i = 0; i + 4 <= length; i += 4)
            translations_.push_back(TranslationText(words[i / 2], words[i / 2 + 1]));
        // A table shorter than one entry still names a code page in its first word.
        if (length < 4 && length >= 2)
            translations_.push_back(TranslationText(1033, words[0]));
    }
    if (translationIndex_ >= static_cast<int>(translations_.size()))
        translationIndex_ = 0;
    if (fixed_) {
        fileVersion_ = {true, fixed_->dwFileVersionMS, fixed_->dwFileVersionLS, {}};
        productVersion_ = {true, fixed_->dwProductVersionMS, fixed_->dwProductVersionLS, {}};
    }
    fileVersion_.VersionString = GetByIndex(2);
    productVersion_.VersionString = GetByIndex(8);
}

std::string VersionInfoReader::GetByIndex(int index) const {
    if (index < 0 || index >= kVersionKeyCount)
        return {};
    return GetValue(kVersionKeys[index]);
}

std::string VersionInfoReader::GetValue(const std::string& key) const {
    if (block_.empty())
        return {};
    std::string translation = translationIndex_ >= 0 && translationIndex_ < static_cast<int>(translations_.size())
                                  ? translations_[static_cast<size_t>(translationIndex_)]
                                  : std::string("040904E4");
    std::wstring subBlock = Widen("\\StringFileInfo\\" + translation + "\\" + key);
    void* data = nullptr;
    UINT length = 0;
    if (!Version().Query(block_.data(), subBlock.c_str(), &data, &length) || !data || length == 0)
        return {};
    const wchar_t* text = static_cast<const wchar_t*>(data);
    size_t n = 0;
    while (n < length && text[n])
        ++n;  // the length may or may not count the closing NUL
    return Narrow(std::wstring_view(text, n));
}
