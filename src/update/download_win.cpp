#include "update/download_win.h"

#include <wininet.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_io_win.h"
#include "platform/slim_lock_win.h"
#include "platform/system_library_win.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"
#include "platform/web_address.h"
#include "update/redirect_follower.h"

namespace {
// WinINet is not a known system DLL, so it is loaded from System32 when a check runs.
struct WinInet {
    SystemLibrary Library{L"wininet.dll"};
    decltype(&InternetOpenW) Open = Library.Proc<decltype(&InternetOpenW)>("InternetOpenW");
    decltype(&InternetCrackUrlW) CrackUrl = Library.Proc<decltype(&InternetCrackUrlW)>("InternetCrackUrlW");
    decltype(&InternetConnectW) Connect = Library.Proc<decltype(&InternetConnectW)>("InternetConnectW");
    decltype(&HttpOpenRequestW) OpenRequest = Library.Proc<decltype(&HttpOpenRequestW)>("HttpOpenRequestW");
    decltype(&HttpSendRequestW) SendRequest = Library.Proc<decltype(&HttpSendRequestW)>("HttpSendRequestW");
    decltype(&InternetQueryDataAvailable) DataAvailable =
        Library.Proc<decltype(&InternetQueryDataAvailable)>("InternetQueryDataAvailable");
    decltype(&InternetReadFile) Read = Library.Proc<decltype(&InternetReadFile)>("InternetReadFile");
    decltype(&InternetCloseHandle) Close = Library.Proc<decltype(&InternetCloseHandle)>("InternetCloseHandle");
    decltype(&InternetSetOptionW) SetOption = Library.Proc<decltype(&InternetSetOptionW)>("InternetSetOptionW");
    decltype(&HttpQueryInfoW) QueryInfo = Library.Proc<decltype(&HttpQueryInfoW)>("HttpQueryInfoW");
    decltype(&DeleteUrlCacheEntryW) DeleteCacheEntry =
        Library.Proc<decltype(&DeleteUrlCacheEntryW)>("DeleteUrlCacheEntryW");
    bool Complete() const {
        return Open && CrackUrl && Connect && OpenRequest && SendRequest && DataAvailable && Read && Close &&
               SetOption && QueryInfo;
    }
};

DWORD MillisecondsUntil(ULONGLONG deadline) {
    ULONGLONG now = GetTickCount64();
    return now >= deadline ? 0 : static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, INFINITE - 1));
}

// One download, shared by the thread that fetches and the thread that waits for its outcome. The fetching thread
// may stay blocked inside WinINet after the waiting one has given up on it, so whatever it still uses (the
// library, its handles, the outcome) lives here until both are done with it.
class Transfer {
  public:
    Transfer(std::wstring address, std::size_t maxBytes, ULONGLONG deadline)
        : Address(std::move(address)), MaxBytes(maxBytes), Deadline(deadline) {}

    const WinInet Api;
    const std::wstring Address;
    const std::size_t MaxBytes;
    const ULONGLONG Deadline;
    const UniqueKernelHandle Done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};

    // Takes a handle under watch; once CloseAll has run it is closed at once and null comes back.
    HINTERNET Watch(HINTERNET h) {
        if (!h)
            return nullptr;
        {
            SlimLock::Hold hold(lock_);
            if (!closed_) {
                open_.push_back(h);
                return h;
            }
        }
        Api.Close(h);
        return nullptr;
    }
    // Closes a watched handle, unless CloseAll has closed it already. The close itself runs outside the lock: it
    // may take a while and must never hold up CloseAll.
    void Close(HINTERNET h) {
        {
            SlimLock::Hold hold(lock_);
            auto it = std::find(open_.begin(), open_.end(), h);
            if (it == open_.end())
                return;
            open_.erase(it);
        }
        Api.Close(h);
    }
    // Closes every handle still open and refuses new ones: from the waiting thread this ends (where WinINet allows
    // it) the calls still blocked in the fetching thread; the fetching thread itself closes what is left this way
    // once its outcome is handed over.
    void CloseAll() {
        std::vector<HINTERNET> handles;
        {
            SlimLock::Hold hold(lock_);
            closed_ = true;
            handles.swap(open_);
        }
        for (auto it = handles.rbegin(); it != handles.rend(); ++it)
            Api.Close(*it);
    }
    bool AllClosed() {
        SlimLock::Hold hold(lock_);
        return closed_;
    }
    void Finish(DownloadResult result, std::string data) {
        {
            SlimLock::Hold hold(lock_);
            result_ = result;
            data_ = std::move(data);
        }
        SetEvent(Done.Get());
    }
    std::pair<DownloadResult, std::string> TakeOutcome() {
        SlimLock::Hold hold(lock_);
        return {result_, std::move(data_)};
    }

  private:
    SlimLock lock_;
    std::vector<HINTERNET> open_;
    bool closed_ = false;
    DownloadResult result_ = DownloadResult::Failed;
    std::string data_;
};

// An http or https address taken apart for InternetConnect and HttpOpenRequest.
struct WebTarget {
    bool Secure = false;
    std::wstring Host;
    INTERNET_PORT Port = 0;
    std::wstring Object;  // path and query
};

std::optional<WebTarget> CrackWebAddress(const WinInet& api, const std::wstring& address) {
    if (!IsWebAddress(Narrow(address)))
        return std::nullopt;
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;  // point into address
    if (!api.CrackUrl(address.c_str(), static_cast<DWORD>(address.size()), 0, &parts) || !parts.lpszHostName ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
        return std::nullopt;
    }
    WebTarget target;
    target.Secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    target.Host.assign(parts.lpszHostName, parts.dwHostNameLength);
    target.Port = parts.nPort;
    if (parts.lpszUrlPath)
        target.Object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parts.lpszExtraInfo) {
        std::wstring extra(parts.lpszExtraInfo, parts.dwExtraInfoLength);
        target.Object += extra.substr(0, extra.find(L'#'));  // the fragment stays with the client
    }
    if (target.Object.empty() || target.Object[0] != L'/')
        target.Object.insert(0, L"/");
    return target;
}

// Every blocking call gets only the time the whole download has left, so it ends by itself in time wherever
// WinINet honours its time-outs.
void LimitTimeouts(const Transfer& t, HINTERNET h) {
    DWORD timeout = std::max<DWORD>(MillisecondsUntil(t.Deadline), 1);
    for (DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT}) {
        t.Api.SetOption(h, option, &timeout, sizeof timeout);
    }
}

std::optional<DWORD> QueryNumber(const WinInet& api, HINTERNET request, DWORD query) {
    DWORD value = 0, size = sizeof value;
    if (!api.QueryInfo(request, query | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr))
        return std::nullopt;
    return value;
}

std::string QueryLocation(const WinInet& api, HINTERNET request) {
    std::wstring text(256, L'\0');
    DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (!api.QueryInfo(request, HTTP_QUERY_LOCATION, text.data(), &size, nullptr)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return {};
        text.assign(size / sizeof(wchar_t) + 1, L'\0');
        if (!api.QueryInfo(request, HTTP_QUERY_LOCATION, text.data(), &size, nullptr))
            return {};
    }
    text.resize(size / sizeof(wchar_t));
    return Narrow(text);
}

// Reads the answer of a sent request: only what has arrived (InternetReadFile alone waits until its whole buffer
// is full, hours for a server that trickles), and never more than one byte beyond the limit, so a huge answer stops
// there and its connection is closed with the request.
DownloadResult ReadBody(Transfer& t, HINTERNET request, std::string& data) {
    char buffer[8192];
    while (!t.AllClosed()) {
        LimitTimeouts(t, request);
        DWORD available = 0;
        if (!t.Api.DataAvailable(request, &available, 0, 0))
            return DownloadResult::Failed;
        if (available == 0)
            return DownloadResult::Ok;
        DWORD want = static_cast<DWORD>(std::min({sizeof buffer, t.MaxBytes + 1 - data.size(), size_t{available}}));
        DWORD n = 0;
        if (!t.Api.Read(request, buffer, want, &n))
            return DownloadResult::Failed;
        if (n == 0)
            return DownloadResult::Ok;
        data.append(buffer, n);
        if (data.size() > t.MaxBytes)
            return DownloadResult::TooLarge;
    }
    return DownloadResult::Failed;
}

// Redirects are followed here rather than by WinINet, which follows them without limit. Each hop's handles get
// their time-outs before the call that blocks on them; the handles still open at the end are closed by the caller.
DownloadResult Fetch(Transfer& t, std::string& data) {
    const WinInet& api = t.Api;
    if (api.DeleteCacheEntry)
        api.DeleteCacheEntry(t.Address.c_str());
    HINTERNET session = t.Watch(api.Open(L"Lumivex", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session)
        return DownloadResult::Failed;
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH |
                        INTERNET_FLAG_NO_AUTO_REDIRECT;
    RedirectFollower redirects(Narrow(t.Address));
    std::wstring address = t.Address;
    for (;;) {
        std::optional<WebTarget> target = CrackWebAddress(api, address);
        if (!target)
            return DownloadResult::Failed;
        LimitTimeouts(t, session);
        HINTERNET connection = t.Watch(
            api.Connect(session, target->Host.c_str(), target->Port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
        if (!connection)
            return DownloadResult::Failed;
        LimitTimeouts(t, connection);
        HINTERNET request = t.Watch(api.OpenRequest(connection, L"GET", target->Object.c_str(), nullptr, nullptr,
                                                    nullptr, flags | (target->Secure ? INTERNET_FLAG_SECURE : 0), 0));
        if (!request)
            return DownloadResult::Failed;
        LimitTimeouts(t, request);
        if (!api.SendRequest(request, nullptr, 0, nullptr, 0))
            return DownloadResult::Failed;
        std::optional<DWORD> status = QueryNumber(api, request, HTTP_QUERY_STATUS_CODE);
        if (!status)
            return DownloadResult::Failed;
        if (IsRedirectStatus(static_cast<int>(*status))) {
            std::string location = QueryLocation(api, request);
            std::optional<std::string> next = location.empty() ? std::nullopt : redirects.Follow(location);
            if (!next)
                return DownloadResult::Failed;
            address = Widen(*next);
            t.Close(request);
            t.Close(connection);
            continue;
        }
        if (*status < 200 || *status > 299)
            return DownloadResult::Failed;
        // A declared size beyond the limit is refused before a byte of it is read.
        std::optional<DWORD> length = QueryNumber(api, request, HTTP_QUERY_CONTENT_LENGTH);
        if (length && *length > t.MaxBytes)
            return DownloadResult::TooLarge;
        return ReadBody(t, request, data);
    }
}

DWORD WINAPI FetchThread(void* param) {
    std::shared_ptr<Transfer> t = std::move(*static_cast<std::shared_ptr<Transfer>*>(param));
    delete static_cast<std::shared_ptr<Transfer>*>(param);
    std::string data;
    DownloadResult result = DownloadResult::Failed;
    try {
        result = Fetch(*t, data);
    } catch (...) {  // out of memory: a failed download
        data.clear();
    }
    // The outcome counts from the moment it is known; the handles close after it has been handed over, because
    // closing a request whose answer was not read to the end can take long (WinINet may read the rest of a
    // declared body first).
    t->Finish(result, std::move(data));
    t->CloseAll();
    return 0;
}

DWORD WINAPI CloseAllWork(void* param) {
    std::unique_ptr<std::shared_ptr<Transfer>> t(static_cast<std::shared_ptr<Transfer>*>(param));
    (*t)->CloseAll();
    return 0;
}

bool WriteWholeFile(const std::wstring& file, const std::string& data) {
    UniqueFile h(
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!h)
        return false;
    bool ok = WriteAll(h.Get(), data) == 0;
    h.Reset();
    if (!ok)
        DeleteFileW(file.c_str());
    return ok;
}
}  // namespace

// The transfer runs on a thread of its own and this one waits for it, for the cancel event or for the deadline,
// whichever comes first: the deadline holds however long a single WinINet call blocks. A transfer given up has
// its handles closed and ends by itself; its outcome no longer counts, and only this thread writes the file.
DownloadResult DownloadToFile(const DownloadRequest& request) {
    auto transfer = std::make_shared<Transfer>(request.Address, request.MaxBytes, request.Deadline);
    if (!transfer->Api.Complete() || !transfer->Done)
        return DownloadResult::Failed;
    auto* param = new std::shared_ptr<Transfer>(transfer);
    HANDLE thread = CreateThread(nullptr, 0, FetchThread, param, 0, nullptr);
    if (!thread) {
        delete param;
        return DownloadResult::Failed;
    }
    CloseHandle(thread);
    HANDLE waits[] = {transfer->Done.Get(), request.Cancel};
    DWORD count = request.Cancel ? 2 : 1;
    DWORD woken = WaitForMultipleObjects(count, waits, FALSE, MillisecondsUntil(request.Deadline));
    if (woken != WAIT_OBJECT_0) {
        // Closing can itself take a while (see FetchThread): a pool thread does it and the outcome does not wait.
        auto* work = new std::shared_ptr<Transfer>(transfer);
        if (!QueueUserWorkItem(CloseAllWork, work, WT_EXECUTEDEFAULT)) {
            delete work;
            transfer->CloseAll();
        }
        return woken == WAIT_OBJECT_0 + 1 ? DownloadResult::Cancelled : DownloadResult::TimedOut;
    }
    auto [result, data] = transfer->TakeOutcome();
    if (result != DownloadResult::Ok)
        return result;
    return WriteWholeFile(request.File, data) ? DownloadResult::Ok : DownloadResult::Failed;
}
