// Version texts (from the version file and from executables) and the addresses handed to the shell. The input
// is two texts separated by a line feed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/web_address.h"
#include "update/version_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t newline = input.find('\n');
    std::string_view a = input.substr(0, newline);
    std::string_view b = newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);

    FormatFileVersion(a, true);
    FormatFileVersion(a, false);
    // Newer is a strict order: never both ways, never against itself.
    if (IsNewerVersion(a, b) && IsNewerVersion(b, a))
        std::abort();
    if (IsNewerVersion(a, a) || IsNewerByJoinedDigits(a, a))
        std::abort();
    if (IsNewerByJoinedDigits(a, b) && IsNewerByJoinedDigits(b, a))
        std::abort();
    IsWebAddress(a);
    if (!b.empty())
        ReplaceAll(a, b, "\n");
    return 0;
}
