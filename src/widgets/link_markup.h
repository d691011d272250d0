#pragma once

#include <string>
#include <string_view>
#include <vector>

// A piece of a link label's caption: plain text (Link -1) or the text of link number Link (0, 1, ...).
struct LinkSegment {
    std::string Text;
    int Link = -1;
    bool operator==(const LinkSegment& o) const { return Text == o.Text && Link == o.Link; }
};

// Splits a caption with the mark-up "<link>text</link>" (tag names case-insensitive; a tag that is not closed
// runs to the end) into its pieces; everything else is plain text.
std::vector<LinkSegment> ParseLinkMarkup(std::string_view caption);
// The caption without mark-up.
std::string LinkMarkupPlainText(std::string_view caption);
// The caption in the SysLink control's mark-up: each link as <a>text</a>.
std::string LinkMarkupToSysLink(std::string_view caption);
