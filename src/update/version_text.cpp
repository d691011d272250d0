#include "update/version_text.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "settings/profile.h"

namespace {
std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos)
            return parts;
        start = at + 1;
    }
}

// Four numeric parts, or nothing.
std::optional<std::vector<int64_t>> FourParts(std::string_view version) {
    std::vector<std::string_view> parts = Split(version, '.');
    if (parts.size() != 4)
        return std::nullopt;
    std::vector<int64_t> numbers;
    for (std::string_view part : parts) {
        std::optional<int32_t> n = ParseInteger(part);
        if (!n)
            return std::nullopt;
        numbers.push_back(*n);
    }
    return numbers;
}

int64_t Weighted(const std::vector<int64_t>& v) {
    return v[0] * 1000000 + v[1] * 10000 + v[2] * 100 + v[3];
}

// The digits without leading zeros, or nothing when the text is not a plain decimal number.
std::optional<std::string> DecimalDigits(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9')
            return std::nullopt;
    size_t first = text.find_first_not_of('0');
    return std::string(first == std::string_view::npos ? std::string_view("0") : text.substr(first));
}
}  // namespace

std::string FormatFileVersion(std::string_view version, bool shortForm) {
    std::optional<std::vector<int64_t>> v = FourParts(version);
    if (!v)
        return {};
    const int64_t c = (*v)[2], d = (*v)[3];
    std::string suffix = c > 0 ? std::to_string(c) : std::string();
    if (d > 0) {
        suffix += " SR" + std::to_string(d);
        if (!shortForm)
            suffix += " (Service Release " + std::to_string(d) + ")";
    }
    return std::to_string((*v)[0]) + "." + std::to_string((*v)[1]) + suffix;
}

std::string ReplaceAll(std::string_view text, std::string_view separator, std::string_view replacement) {
    if (separator.empty() || text.find(separator) == std::string_view::npos)
        return std::string(text);
    std::string result;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string_view::npos; start = at + separator.size()) {
        result.append(text.substr(start, at - start)).append(replacement);
    }
    return result.append(text.substr(start));
}

bool IsNewerVersion(std::string_view available, std::string_view own) {
    std::optional<std::vector<int64_t>> a = FourParts(available), o = FourParts(own);
    return a && o && Weighted(*o) < Weighted(*a);
}

bool IsNewerByJoinedDigits(std::string_view available, std::string_view own) {
    // Compared as digit strings: a joined version easily has more digits than any integer type holds.
    std::optional<std::string> a = DecimalDigits(ReplaceAll(available, ".", ""));
    std::optional<std::string> o = DecimalDigits(ReplaceAll(own, ".", ""));
    if (!a || !o)
        return false;
    return o->size() != a->size() ? o->size() < a->size() : *o < *a;
}
