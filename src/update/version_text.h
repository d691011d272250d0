#pragma once

#include <string>
#include <string_view>

// "a.b.c.d" as the program shows it: 3.3.3.0 reads "3.33", 2.6.3.1 reads "2.63 SR1" (short) or
// "2.63 SR1 (Service Release 1)" (long); anything but four numeric parts gives the empty text.
std::string FormatFileVersion(std::string_view version, bool shortForm);

// The pieces of text between the separators joined with replacement; text unchanged when it has no separator.
std::string ReplaceAll(std::string_view text, std::string_view separator, std::string_view replacement);

// The weighted comparison of two four-part versions (a * 1000000 + b * 10000 + c * 100 + d): true only when
// available is strictly greater and both are four numeric parts.
bool IsNewerVersion(std::string_view available, std::string_view own);

// The comparison of the About box's label: both versions with their dots removed, read as decimal numbers, so
// 2.6.10.0 counts as newer than 2.7.0.0. A version that is not made of digits and dots is never newer.
bool IsNewerByJoinedDigits(std::string_view available, std::string_view own);
