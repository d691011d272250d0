// The version file comes from a web server: any text, of any encoding, up to the size the checker accepts.
// The first line of the input names the program to look up.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "update/version_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kMaxVersionFileBytes)
        return 0;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t newline = input.find('\n');
    std::string_view program = newline == std::string_view::npos ? std::string_view() : input.substr(0, newline);
    std::string_view text = newline == std::string_view::npos ? input : input.substr(newline + 1);
    VersionFileInfo info = ParseVersionFile(text, program);
    for (const std::string& line : info.Changes) {
        if (line.size() > text.size())
            std::abort();
    }
    ProgramNameOf(input);
    return 0;
}
