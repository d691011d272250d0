#pragma once

#include <functional>
#include <string>

// The program's general error report: what an event handler could not do reaches the user here.
void ReportError(const std::string& text);
// Replaces the report (tests capture it); an empty function restores the message box.
void SetErrorReporter(std::function<void(const std::string&)> reporter);
