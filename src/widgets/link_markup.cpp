#include "widgets/link_markup.h"

namespace {
size_t FindTag(std::string_view text, std::string_view tag, size_t from) {
    for (size_t i = from; i + tag.size() <= text.size(); ++i) {
        bool same = true;
        for (size_t j = 0; j < tag.size() && same; ++j) {
            char c = text[i + j];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            same = c == tag[j];
        }
        if (same)
            return i;
    }
    return std::string_view::npos;
}
}  // namespace

std::vector<LinkSegment> ParseLinkMarkup(std::string_view caption) {
    constexpr std::string_view kOpen = "<link>", kClose = "</link>";
    std::vector<LinkSegment> segments;
    int links = 0;
    size_t at = 0;
    while (at < caption.size()) {
        size_t open = FindTag(caption, kOpen, at);
        if (open == std::string_view::npos) {
            segments.push_back({std::string(caption.substr(at)), -1});
            break;
        }
        if (open > at)
            segments.push_back({std::string(caption.substr(at, open - at)), -1});
        size_t textStart = open + kOpen.size();
        size_t close = FindTag(caption, kClose, textStart);
        size_t textEnd = close == std::string_view::npos ? caption.size() : close;
        segments.push_back({std::string(caption.substr(textStart, textEnd - textStart)), links++});
        at = close == std::string_view::npos ? caption.size() : close + kClose.size();
    }
    return segments;
}

std::string LinkMarkupPlainText(std::string_view caption) {
    std::string text;
    for (const LinkSegment& s : ParseLinkMarkup(caption))
        text += s.Text;
    return text;
}

std::string LinkMarkupToSysLink(std::string_view caption) {
    std::string text;
    for (const LinkSegment& s : ParseLinkMarkup(caption))
        text += s.Link < 0 ? s.Text : "<a>" + s.Text + "</a>";
    return text;
}
