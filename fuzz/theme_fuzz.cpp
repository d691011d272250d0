// Theme names typed by the user and theme files from the themes folder (any text, as a user or another program
// left it). A name becomes a file name that lists under the same name; a file read, written and read again gives
// the same theme.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_profiles.h"
#include "settings/settings_file.h"
#include "settings/themes.h"

namespace {
// UTF-16 units of the text as Windows would convert it: a well-formed four-byte character takes two, any other
// character or stray byte one.
size_t Utf16Units(const std::string& utf8) {
    size_t units = 0;
    for (size_t i = 0; i < utf8.size();) {
        auto c = static_cast<unsigned char>(utf8[i]);
        size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        size_t k = 1;
        while (k < length && i + k < utf8.size() && (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80) ++k;
        units += k == 4 ? 2 : 1;
        i += k;
    }
    return units;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::string typed = input.ConsumeRandomLengthString(600);
    std::string name = MakeSafeFileName(typed);
    if (Utf16Units(name) > kMaxThemeNameLength) std::abort();
    if (name.find_first_of("|<>\"?*:/\\") != std::string::npos) std::abort();
    if (!name.empty() && ThemeNameFromFileName(name + kThemeExtension) != name) std::abort();
    ThemeNameFromFileName(typed);

    FuzzedProfile hostile(input);
    ThemeFile theme = ReadThemeFile(hostile);
    StoredProfile stored;
    if (!WriteThemeFile(stored, name, theme.Colors, theme.TransBk(), theme.BarOpaqueBackground)) std::abort();
    ThemeFile again = ReadThemeFile(stored);
    if (again.Colors != theme.Colors || again.TransBk() != theme.TransBk() ||
        again.BarOpaqueBackground != theme.BarOpaqueBackground) {
        std::abort();
    }

    TSettings settings = DefaultSettings(input.ConsumeBool());
    ApplyThemeFileToSettings(hostile, input.ConsumeIntegralInRange(0, 5), settings);
    StoreThemeColors(theme.Colors, settings);
    return 0;
}
