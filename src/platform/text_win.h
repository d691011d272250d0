#pragma once

#include <string>
#include <string_view>

// UTF-8 inside the program, UTF-16 at the Windows boundary: the one place that converts.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
