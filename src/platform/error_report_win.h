#pragma once

#include <functional>
#include <string>

// The program's general error report: what an event handler could not do reaches the user here, and every
// error is also written with its time to the error log.
void ReportError(const std::string& text);
// The same with the system's text for errorCode (GetLastError) after it; 0 adds nothing.
void ReportSystemError(const std::string& text, unsigned long errorCode);
// Writes to the error log only: for errors nobody should be asked about (while the session ends).
void LogError(const std::string& text);
// The system's message for errorCode, without the trailing line break; empty for 0 or an unknown code.
std::string SystemErrorText(unsigned long errorCode);
// Where the log lives ("Lumivex.log" beside the settings file); empty: no log.
void SetErrorLogPath(const std::wstring& path);
const std::wstring& ErrorLogPath();
// The message box that shows an error; while one is up, later errors go to the log only.
void ShowErrorBox(const std::string& text);
// Replaces the message box (tests capture it); an empty function restores it. Returns the reporter it replaces.
std::function<void(const std::string&)> SetErrorReporter(std::function<void(const std::string&)> reporter);
// While the session ends, errors go to the log only and no dialog opens: nobody is there to answer one.
void SetSessionEnding(bool ending);
bool SessionEnding();
