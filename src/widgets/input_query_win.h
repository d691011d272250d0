#pragma once

#include <windows.h>

#include <string>

// The standard input box: caption, prompt and one line of text, preset with value. False when cancelled; value
// holds the text typed otherwise.
bool InputQuery(HWND owner, const std::string& caption, const std::string& prompt, std::string& value);
