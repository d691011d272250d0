// Link mark-up of captions: the pieces always add up to the plain text, and links are numbered in order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "widgets/link_markup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view caption(reinterpret_cast<const char*>(data), size);
    std::string joined;
    int lastLink = -1;
    for (const LinkSegment& segment : ParseLinkMarkup(caption)) {
        joined += segment.Text;
        if (segment.Link >= 0) {
            if (segment.Link < lastLink || segment.Link > lastLink + 1)
                std::abort();
            lastLink = segment.Link;
        }
    }
    if (joined != LinkMarkupPlainText(caption))
        std::abort();
    return 0;
}
