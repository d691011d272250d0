#include "processes/tray_menu_model.h"

#include <cctype>

std::vector<std::string> SplitHintLines(const std::string& hint) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < hint.size()) {
        size_t end = hint.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(hint.substr(start));
            break;
        }
        lines.push_back(hint.substr(start, end - start));
        start = end + ((hint[end] == '\r' && end + 1 < hint.size() && hint[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

MemoryRowText SplitHintLine(const std::string& line) {
    size_t colon = line.find(':');
    if (colon == std::string::npos)
        return {line, {}};
    return {line.substr(0, colon), line.substr(colon + 1)};
}

int ProcessRowCount(int topProcessCount, int listCount) {
    if (topProcessCount <= 0 || listCount <= 0)
        return 0;
    return topProcessCount < listCount ? topProcessCount : listCount;
}

bool IsHighlighted(uint64_t memoryUsage, int highlightAboveMB) {
    return highlightAboveMB > 0 && memoryUsage > 0 && (memoryUsage >> 20) >= static_cast<uint64_t>(highlightAboveMB);
}

std::string ProcessCaption(const std::string& exeName, const std::string& description, bool showNameInsteadOfModule) {
    return showNameInsteadOfModule && !description.empty() ? description : exeName;
}

ColorValue ProcessHighlightColor(ColorValue setting, bool useDefault) {
    return useDefault ? AutomaticColors::kProcessHighlight
                      : ResolveAutomatic(setting, AutomaticColors::kProcessHighlight);
}

CaptionParts SplitShortcut(const std::string& itemText) {
    size_t tab = itemText.find('\t');
    if (tab == std::string::npos)
        return {itemText, {}};
    return {itemText.substr(0, tab), itemText.substr(tab + 1)};
}

char AccessKeyOf(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i;  // "&&" shows one ampersand
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(caption[i + 1]);
        return std::isalnum(c) ? static_cast<char>(std::tolower(c)) : '\0';
    }
    return '\0';
}

int FindAccessKey(const std::vector<std::string>& captions, char key) {
    const char wanted = static_cast<char>(std::tolower(static_cast<unsigned char>(key)));
    if (wanted == '\0')
        return -1;
    for (size_t i = 0; i < captions.size(); ++i) {
        if (AccessKeyOf(captions[i]) == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

std::string HidePrefix(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            shown += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '&') {
            shown += '&';
            ++i;
        }
    }
    return shown;
}

// Widths grow with the text, so the cut is found by halving: about eight measures for a 230-character name.
std::string FitCaption(const std::string& text, int room, const std::function<int(const std::string&)>& width) {
    if (width(text) <= room)
        return text;
    static const std::string kEllipsis = "\xE2\x80\xA6";  // U+2026
    // Where each character starts (UTF-8 continuation bytes are 10xxxxxx); the cut goes at one of them.
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    auto cut = [&](size_t characters) {
        std::string head = text.substr(0, characters < starts.size() ? starts[characters] : text.size());
        while (!head.empty() && head.back() == ' ')
            head.pop_back();
        return head + kEllipsis;
    };
    size_t fits = 0, tooLong = starts.size();  // a start of `fits` characters fits, one of `tooLong` does not
    while (tooLong - fits > 1) {
        const size_t middle = fits + (tooLong - fits) / 2;
        (width(cut(middle)) <= room ? fits : tooLong) = middle;
    }
    return cut(fits);
}
