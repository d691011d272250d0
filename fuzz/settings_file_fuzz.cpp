// A hand-edited settings file: every value the loader asks for comes from the input. Whatever it loads, saving
// and loading again must give the same file; the same for the colour pickers' custom colours.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_profiles.h"
#include "settings/settings_file.h"
#include "widgets/custom_colors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    FontSpec font;
    FuzzedProfile hostile(input);
    LoadedSettings loaded = LoadSettings(hostile, font);

    StoredProfile first;
    if (!SaveSettings(first, loaded.Values))
        std::abort();
    LoadedSettings reloaded = LoadSettings(first, font);
    if (reloaded.FirstRun)
        std::abort();
    StoredProfile second;
    if (!SaveSettings(second, reloaded.Values) || second.Values != first.Values)
        std::abort();

    CustomColors colors = ReadCustomColors(hostile);
    StoredProfile stored;
    if (!WriteCustomColors(stored, colors) || ReadCustomColors(stored) != colors)
        std::abort();
    return 0;
}
