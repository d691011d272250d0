// A hand-edited settings file: every value the loader asks for comes from the input. Whatever it loads, saving
// and loading again must give the same file.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

#include "settings/settings_file.h"

namespace {
class FuzzedProfile : public IProfile {
public:
    explicit FuzzedProfile(FuzzedDataProvider& input) : input_(input) {}
    std::string ReadString(const std::string&, const std::string&, const std::string& def) override {
        if (input_.remaining_bytes() == 0 || input_.ConsumeBool()) return def;
        return input_.ConsumeRandomLengthString(64);
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
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    bool vista = input.ConsumeBool();
    FontSpec font;
    FuzzedProfile hostile(input);
    LoadedSettings loaded = LoadSettings(hostile, vista, font);

    StoredProfile first;
    if (!SaveSettings(first, loaded.Settings)) std::abort();
    LoadedSettings reloaded = LoadSettings(first, vista, font);
    if (reloaded.FirstRun) std::abort();
    StoredProfile second;
    if (!SaveSettings(second, reloaded.Settings) || second.values != first.values) std::abort();
    return 0;
}
