#include "update/version_strings_win.h"

#include <windows.h>

#include <cwchar>

#include "platform/system_library_win.h"
#include "platform/text_win.h"

std::optional<std::vector<std::string>> ReadVersionStrings(const std::wstring& file) {
    SystemLibrary version(L"version.dll");
    auto getSize = version.Proc<decltype(&GetFileVersionInfoSizeW)>("GetFileVersionInfoSizeW");
    auto getInfo = version.Proc<decltype(&GetFileVersionInfoW)>("GetFileVersionInfoW");
    auto query = version.Proc<decltype(&VerQueryValueW)>("VerQueryValueW");
    if (!getSize || !getInfo || !query) return std::nullopt;
    DWORD handle = 0;
    DWORD size = getSize(file.c_str(), &handle);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> block(size);
    if (!getInfo(file.c_str(), 0, size, block.data())) return std::nullopt;

    WORD* translation = nullptr;
    UINT length = 0;
    if (!query(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < 2 * sizeof(WORD)) {
        return std::vector<std::string>{};
    }
    wchar_t language[16];
    swprintf(language, 16, L"%04X%04X", translation[0], translation[1]);
    std::vector<std::string> values;
    for (const wchar_t* name : {L"FileVersion", L"LegalCopyright", L"ProductName", L"ProductVersion"}) {
        std::wstring path = std::wstring(L"\\StringFileInfo\\") + language + L"\\" + name;
        wchar_t* value = nullptr;
        UINT chars = 0;
        if (query(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &chars) && value) {
            values.push_back(Narrow(std::wstring(value, wcsnlen(value, chars))));
        }
    }
    return values;
}
