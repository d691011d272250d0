#include "tray/notify_text.h"

namespace {
// Length in bytes of the UTF-8 sequence that starts with `lead`; a stray byte counts as one character.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2)
        return 2;
    return 1;
}
}  // namespace

std::string CutToUtf16Units(std::string_view utf8, std::size_t maxUnits) {
    std::size_t pos = 0, units = 0;
    while (pos < utf8.size()) {
        std::size_t length = SequenceLength(static_cast<unsigned char>(utf8[pos]));
        if (pos + length > utf8.size())
            length = utf8.size() - pos;
        std::size_t need = length == 4 ? 2 : 1;  // beyond the basic plane: a surrogate pair
        if (units + need > maxUnits)
            break;
        units += need;
        pos += length;
    }
    return std::string(utf8.substr(0, pos));
}
