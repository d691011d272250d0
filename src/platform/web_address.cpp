#include "platform/web_address.h"

bool IsWebAddress(std::string_view address) {
    auto startsWith = [&](std::string_view prefix) {
        if (address.size() < prefix.size())
            return false;
        for (size_t i = 0; i < prefix.size(); ++i) {
            char c = address[i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            if (c != prefix[i])
                return false;
        }
        return true;
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
