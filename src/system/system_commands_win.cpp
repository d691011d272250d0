#include "system/system_commands_win.h"

#include <ole2.h>
#include <oleauto.h>
#include <shellapi.h>

#include <algorithm>

#include "platform/error_report_win.h"
#include "platform/system_library_win.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "platform/web_address.h"
#include "system/double_click_action.h"

// By its full path: a bare name is looked up along the search path, where the program's own folder, the current
// folder or a folder on PATH comes before System32 and a planted "taskmgr.exe" would start instead.
std::wstring TaskManagerPath() {
    return SystemFolderPath(L"taskmgr.exe");
}

void LaunchTaskManager(HWND owner) {
    ShellExecuteW(owner, L"Open", TaskManagerPath().c_str(), L"", L"", SW_SHOW);
}

bool LockComputer() {
    HMODULE user32 = GetModuleHandleW(L"USER32.DLL");
    if (!user32)
        return false;
    using LockFn = BOOL(WINAPI*)();
    auto lock = reinterpret_cast<LockFn>(reinterpret_cast<void*>(GetProcAddress(user32, "LockWorkStation")));
    if (!lock)
        return false;
    lock();
    return true;
}

void ShowRunDialog(const std::string& productName, HWND owner, HICON icon) {
    // RunFileDlg has no name, only its ordinal; every NT system takes the texts as UTF-16.
    using RunFileDlgFn = void(WINAPI*)(HWND, HICON, LPCWSTR, LPCWSTR, LPCWSTR, UINT);
    HMODULE shell32 = GetModuleHandleW(L"shell32.dll");
    auto runFileDlg =
        shell32 ? reinterpret_cast<RunFileDlgFn>(reinterpret_cast<void*>(GetProcAddress(shell32, MAKEINTRESOURCEA(61))))
                : nullptr;
    if (!runFileDlg)
        return;
    auto buffer = [](const std::string& text, size_t size) {
        std::wstring wide = Widen(text);
        std::wstring fitted(size, L'\0');  // cut to fit, the terminator included
        std::copy_n(wide.begin(), std::min(wide.size(), size - 1), fitted.begin());
        return fitted;
    };
    std::wstring title = buffer(Text(TextId::RunTitle), kRunDialogTitleBuffer);
    std::wstring description = buffer(RunDialogDescription(productName), kRunDialogDescriptionBuffer);
    runFileDlg(owner, icon, nullptr, title.c_str(), description.c_str(), 0);
}

void ShowShutDownDialog() {
    CLSID clsid;
    IDispatch* shell = nullptr;
    HRESULT hr = CLSIDFromProgID(L"Shell.Application", &clsid);
    if (SUCCEEDED(hr)) {
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(&shell));
    }
    if (SUCCEEDED(hr)) {
        // Late bound, by name, as scripts call it.
        OLECHAR name[] = L"ShutdownWindows";
        LPOLESTR names[] = {name};
        DISPID id = 0;
        hr = shell->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (SUCCEEDED(hr)) {
            DISPPARAMS none{};
            hr = shell->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
        }
        shell->Release();
    }
    if (FAILED(hr)) {
        char code[16];
        wsprintfA(code, "%08lX", static_cast<unsigned long>(hr));
        ReportError(FormatText(TextId::ErrorShutDownDialog, {code}));
    }
}

bool OpenWebPage(HWND owner, const std::string& address) {
    if (!IsWebAddress(address))
        return false;
    ShellExecuteW(owner, L"Open", Widen(address).c_str(), L"", L"", SW_SHOWNORMAL);
    return true;
}
