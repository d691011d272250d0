// Integer and flag values of settings and theme files: a number that reads back from its decimal text, or none.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::optional<int32_t> value = ParseInteger(text);
    if (value && ParseInteger(std::to_string(*value)) != value)
        std::abort();
    return 0;
}
