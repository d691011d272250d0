// A theme file and a theme name from outside the program: whatever the file holds, reading it, storing its colours
// and writing it again must agree; whatever name is typed, the file name made of it must be one Windows accepts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_profiles.h"
#include "settings/themes.h"

namespace {
void CheckFileName(const std::string& name, size_t maxLength) {
    size_t units = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        auto c = static_cast<unsigned char>(name[i]);
        if (c < 0x20 || std::string("|<>\"?*:/\\").find(static_cast<char>(c)) != std::string::npos)
            std::abort();
        if ((c & 0xC0) != 0x80)
            units += c >= 0xF0 ? 2 : 1;
    }
    if (units > maxLength)
        std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    size_t maxLength = input.ConsumeIntegralInRange<size_t>(1, kMaxThemeNameLength);
    std::string typed = input.ConsumeRandomLengthString(600);
    CheckFileName(MakeSafeFileName(typed, maxLength), maxLength);
    std::string name = MakeSafeFileName(typed);
    CheckFileName(name, kMaxThemeNameLength);
    // The theme list shows the file's name without the extension: the name that was saved.
    if (!name.empty() && ThemeNameFromFileName(name + kThemeExtension) != name)
        std::abort();

    FuzzedProfile hostile(input);
    ThemeFile theme = ReadThemeFile(hostile);
    Settings settings;
    StoreThemeColors(theme.Colors, settings);
    // Stored colours written as entries read back as the same colours.
    ThemeColorTexts entries = ThemeColorsOf(settings);
    StoredProfile file;
    if (!WriteThemeFile(file, "fuzz", entries, theme.TransBk(), theme.BarOpaqueBackground))
        std::abort();
    ThemeFile again = ReadThemeFile(file);
    if (again.Colors != entries || again.TransBk() != theme.TransBk() ||
        again.BarOpaqueBackground != theme.BarOpaqueBackground) {
        std::abort();
    }
    Settings back;
    StoreThemeColors(again.Colors, back);
    for (const ThemeColorSlot& slot : kThemeColorSlots) {
        if (back.*slot.Member != settings.*slot.Member)
            std::abort();
    }
    ApplyThemeFileToSettings(file, input.ConsumeIntegralInRange(0, 7), back);
    return 0;
}
