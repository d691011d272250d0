#include "settings/profile.h"

std::optional<int32_t> ParseInteger(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (base == 10) {
        if (value > (negative ? 2147483648ull : 2147483647ull))
            return std::nullopt;
        return static_cast<int32_t>(negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value));
    }
    // Hexadecimal keeps all 32 bits, so $FFFFFFFF is -1 as the colour and key values expect.
    uint32_t bits = static_cast<uint32_t>(value);
    if (negative)
        bits = 0u - bits;
    return static_cast<int32_t>(bits);
}

int32_t ReadInteger(IProfile& profile, const std::string& section, const std::string& key, int32_t def) {
    std::string text = profile.ReadString(section, key, "");
    if (text.empty())
        return def;
    return ParseInteger(text).value_or(def);
}

bool ReadBool(IProfile& profile, const std::string& section, const std::string& key, bool def) {
    return ReadInteger(profile, section, key, def ? 1 : 0) != 0;
}

bool WriteInteger(IProfile& profile, const std::string& section, const std::string& key, int32_t value) {
    return profile.WriteString(section, key, std::to_string(value));
}

bool WriteBool(IProfile& profile, const std::string& section, const std::string& key, bool value) {
    return profile.WriteString(section, key, value ? "1" : "0");
}
