#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A temporary file name: "TMP", five digits of `number` and the extension; an extension that is not empty and does
// not start with "." gets one in front (after trimming blanks).
std::string TempFileNameFor(uint32_t number, std::string_view extension);
