// A theme file and a theme name from outside the program: whatever the file holds, reading it, storing its colours
// and writing it again must agree; whatever name is typed, the file name made of it must be one Windows accepts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

#include "settings/themes.h"

namespace {
class FuzzedProfile : public IProfile {
  public:
    explicit FuzzedProfile(FuzzedDataProvider& input) : input_(input) {}
    std::string ReadString(const std::string&, const std::string&, const std::string& def) override {
        if (input_.remaining_bytes() == 0 || input_.ConsumeBool())
            return def;
        return input_.ConsumeRandomLengthString(32);
    }
    bool WriteString(const std::string&, const std::string&, const std::string&) override { return false; }

  private:
    FuzzedDataProvider& input_;
};

class StoredProfile : public IProfile {
  public:
    std::map<std::pair<std::string, std::string>, std::string> values;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) override {
        auto it = values.find({section, key});
        return it == values.end() ? def : it->second;
    }
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override {
        values[{section, key}] = value;
        return true;
    }
};

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
    CheckFileName(MakeSafeFileName(typed), kMaxThemeNameLength);

    FuzzedProfile hostile(input);
    ThemeFile theme = ReadThemeFile(hostile);
    TSettings settings;
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
    TSettings back;
    StoreThemeColors(again.Colors, back);
    for (const ThemeColorSlot& slot : kThemeColorSlots) {
        if (back.*slot.Member != settings.*slot.Member)
            std::abort();
    }
    ApplyThemeFileToSettings(file, input.ConsumeIntegralInRange(0, 5), back);
    return 0;
}
