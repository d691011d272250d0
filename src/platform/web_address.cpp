#include "platform/web_address.h"

#include "platform/ascii_text.h"

bool IsWebAddress(std::string_view address) {
    auto startsWith = [&](std::string_view prefix) {
        return SameTextIgnoringAsciiCase(address.substr(0, prefix.size()), prefix);
    };
    size_t hostStart;
    if (startsWith("http://"))
        hostStart = 7;
    else if (startsWith("https://"))
        hostStart = 8;
    else
        return false;
    for (char c : address) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7F || c == '"' || c == '\\')
            return false;
    }
    // A host must follow: not empty, and not another scheme or path trick.
    size_t hostEnd = address.find_first_of("/?#", hostStart);
    std::string_view host =
        address.substr(hostStart, hostEnd == std::string_view::npos ? std::string_view::npos : hostEnd - hostStart);
    size_t at = host.rfind('@');
    if (at != std::string_view::npos)
        host.remove_prefix(at + 1);
    return !host.empty() && host.front() != ':';
}
