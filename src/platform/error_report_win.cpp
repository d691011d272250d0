#include "platform/error_report_win.h"

#include <windows.h>

#include "platform/text_win.h"

namespace {
std::function<void(const std::string&)>& Reporter() {
    static std::function<void(const std::string&)> reporter;
    return reporter;
}
}  // namespace

void ReportError(const std::string& text) {
    if (Reporter()) {
        Reporter()(text);
        return;
    }
    MessageBoxW(nullptr, Widen(text).c_str(), L"Lumivex", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void SetErrorReporter(std::function<void(const std::string&)> reporter) {
    Reporter() = std::move(reporter);
}
