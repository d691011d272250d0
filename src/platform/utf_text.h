#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Length in bytes of the UTF-8 sequence at text[i] when its lead byte and continuation bytes are well formed; 0 when
// they are not. Overlong three- and four-byte forms, surrogates and values beyond U+10FFFF pass: callers that need
// characters check those on the decoded value.
size_t Utf8SequenceLength(std::string_view text, size_t i);

// The UTF-16 unit of the two bytes at bytes[i].
uint16_t Utf16UnitAt(std::string_view bytes, size_t i, bool bigEndian);

// The code point as UTF-8 at the end of out.
void AppendUtf8(std::string& out, uint32_t codePoint);

// UTF-16 bytes (no byte-order mark), little- or big-endian, as UTF-8; unpaired surrogates become U+FFFD and an odd
// last byte is dropped.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);
