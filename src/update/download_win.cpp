#include "update/download_win.h"

#include <windows.h>
#include <wininet.h>

#include <string>

#include "platform/system_library_win.h"

namespace {
// WinINet is not a known system DLL, so it is loaded from System32 when a check runs.
struct WinInet {
    SystemLibrary library{L"wininet.dll"};
    decltype(&InternetOpenW) Open = library.Proc<decltype(&InternetOpenW)>("InternetOpenW");
    decltype(&InternetOpenUrlW) OpenUrl = library.Proc<decltype(&InternetOpenUrlW)>("InternetOpenUrlW");
    decltype(&InternetReadFile) Read = library.Proc<decltype(&InternetReadFile)>("InternetReadFile");
    decltype(&InternetCloseHandle) Close = library.Proc<decltype(&InternetCloseHandle)>("InternetCloseHandle");
    decltype(&InternetSetOptionW) SetOption = library.Proc<decltype(&InternetSetOptionW)>("InternetSetOptionW");
    decltype(&HttpQueryInfoW) QueryInfo = library.Proc<decltype(&HttpQueryInfoW)>("HttpQueryInfoW");
    decltype(&DeleteUrlCacheEntryW) DeleteCacheEntry =
        library.Proc<decltype(&DeleteUrlCacheEntryW)>("DeleteUrlCacheEntryW");
    bool Complete() const { return Open && OpenUrl && Read && Close && SetOption && QueryInfo; }
};

class InternetHandle {
  public:
    InternetHandle(const WinInet& api, HINTERNET h) : api_(api), h_(h) {}
    ~InternetHandle() {
        if (h_)
            api_.Close(h_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET Get() const { return h_; }

  private:
    const WinInet& api_;
    HINTERNET h_;
};

constexpr DWORD kTimeoutMs = 20000;

bool IsHttp(const std::wstring& address) {
    return _wcsnicmp(address.c_str(), L"http://", 7) == 0 || _wcsnicmp(address.c_str(), L"https://", 8) == 0;
}

bool WriteWholeFile(const std::wstring& file, const std::string& data) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) && written == data.size();
    CloseHandle(h);
    if (!ok)
        DeleteFileW(file.c_str());
    return ok;
}
}  // namespace

DownloadResult DownloadToFile(const std::wstring& address, const std::wstring& file, std::size_t maxBytes) {
    WinInet api;
    if (!api.Complete())
        return DownloadResult::Failed;
    if (api.DeleteCacheEntry)
        api.DeleteCacheEntry(address.c_str());
    InternetHandle session(api, api.Open(L"Lumivex", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session.Get())
        return DownloadResult::Failed;
    // A server that accepts and then stays silent must not keep the check running for ever.
    DWORD timeout = kTimeoutMs;
    for (DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT})
        api.SetOption(session.Get(), option, &timeout, sizeof timeout);
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH;
    InternetHandle request(api, api.OpenUrl(session.Get(), address.c_str(), nullptr, 0, flags, 0));
    if (!request.Get())
        return DownloadResult::Failed;
    if (IsHttp(address)) {
        DWORD status = 0, size = sizeof status;
        if (!api.QueryInfo(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
            status < 200 || status > 299) {
            return DownloadResult::Failed;
        }
    }
    std::string data;
    char buffer[8192];
    for (;;) {
        DWORD n = 0;
        if (!api.Read(request.Get(), buffer, sizeof buffer, &n))
            return DownloadResult::Failed;
        if (n == 0)
            break;
        data.append(buffer, n);
        if (data.size() > maxBytes)
            return DownloadResult::TooLarge;
    }
    return WriteWholeFile(file, data) ? DownloadResult::Ok : DownloadResult::Failed;
}
