// Hint and balloon texts cut to the shell's fixed fields: a beginning of the text that fits, never half a
// character.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tray/notify_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    size_t units = input.ConsumeIntegralInRange<size_t>(0, 300);
    std::string text = input.ConsumeRemainingBytesAsString();
    std::string cut = CutToUtf16Units(text, units);
    if (text.compare(0, cut.size(), cut) != 0)
        std::abort();
    for (size_t limit : {kTipUnits, kBalloonTextUnits, kBalloonTitleUnits}) {
        std::string field = CutToUtf16Units(text, limit);
        if (field.size() > text.size())
            std::abort();
    }
    return 0;
}
