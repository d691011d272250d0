#include "update/version_file.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "platform/ascii_text.h"
#include "platform/utf_text.h"

namespace {
using EntryList = std::vector<std::pair<std::string, std::string>>;
struct Section {
    std::string Name;
    EntryList Entries;
};

std::string_view Trim(std::string_view s) {
    const char* blanks = " \t\r\n\v\f";
    size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

std::vector<Section> ParseSections(std::string_view text) {
    std::vector<Section> sections;
    Section* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        // A NUL ends a line as a line feed does, so binary junk cannot glue lines together unseen.
        size_t end = text.find_first_of(std::string_view("\r\n\0", 3), start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            size_t close = line.find(']');
            std::string_view name = Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            current = nullptr;
            for (Section& s : sections)
                if (SameTextIgnoringAsciiCase(s.Name, name))
                    current = &s;
            if (!current) {
                sections.push_back(Section{std::string(name), {}});
                current = &sections.back();
            } else {
                current = nullptr;  // a repeated section is not read, as the profile functions do
            }
            continue;
        }
        size_t eq = line.find('=');
        if (!current || eq == std::string_view::npos)
            continue;
        std::string_view value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        current->Entries.emplace_back(std::string(Trim(line.substr(0, eq))), std::string(value));
    }
    return sections;
}

const Section* FindSection(const std::vector<Section>& sections, std::string_view name) {
    for (const Section& s : sections)
        if (SameTextIgnoringAsciiCase(s.Name, name))
            return &s;
    return nullptr;
}

std::string ReadValue(const std::vector<Section>& sections, std::string_view section, std::string_view name) {
    if (const Section* s = FindSection(sections, section)) {
        for (const auto& [key, value] : s->Entries)
            if (SameTextIgnoringAsciiCase(key, name))
                return value;
    }
    return {};
}
}  // namespace

VersionFileInfo ParseVersionFile(std::string_view text, std::string_view program) {
    std::string converted;
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFF &&
        static_cast<unsigned char>(text[1]) == 0xFE) {
        converted = Utf16ToUtf8(text.substr(2), false);
        text = converted;
    } else if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::vector<Section> sections = ParseSections(text);
    VersionFileInfo info;
    info.CurrentVersion = ReadValue(sections, "CurrentVersions", program);
    info.DownloadURL = ReadValue(sections, "DownloadURL", program);
    info.ReleaseDate = ReadValue(sections, "DateReleased", "Date");
    info.BetaVer = ReadValue(sections, "BetaVersions", program);
    // As many lines as the history has entries; line i holds the entry named i + 1, empty where that is missing.
    if (const Section* history = FindSection(sections, "CurrentHistory")) {
        const size_t count = history->Entries.size();
        info.Changes.assign(count, std::string());
        std::vector<bool> filled(count, false);
        for (const auto& [key, value] : history->Entries) {
            // Only the plain decimal spelling names entry n ("01" is another name), and the first one counts.
            if (key.empty() || key.size() > 9 || key.front() == '0' ||
                key.find_first_not_of("0123456789") != std::string::npos) {
                continue;
            }
            size_t n = std::stoul(key);
            if (n <= count && !filled[n - 1]) {
                info.Changes[n - 1] = value;
                filled[n - 1] = true;
            }
        }
    }
    return info;
}

std::string ProgramNameOf(std::string_view executablePath) {
    size_t slash = executablePath.find_last_of("\\/:");
    std::string_view name = slash == std::string_view::npos ? executablePath : executablePath.substr(slash + 1);
    size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}
