// Message dialog texts and button lists: one caption per line, backslash-n for a line break, "&" accelerators.
// The input gives the button list, the radio list and a text, as the dialogs get them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "system/task_dialog_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::string buttons = input.ConsumeRandomLengthString(400);
    std::string radios = input.ConsumeRandomLengthString(200);
    std::string text = input.ConsumeRandomLengthString(400);

    std::vector<std::string> captions = SplitDialogList(buttons);
    for (const std::string& caption : captions) {
        // Empty lines are skipped, so the ids of the buttons stay consecutive.
        if (caption.empty() || caption.find('\r') != std::string::npos)
            std::abort();
        StripAccelerators(caption);
        IsCancelCaption(caption);
    }
    ExpandLineBreaks(text);
    int width = EmulatedDialogWidth(input.ConsumeIntegral<int>(), input.ConsumeIntegralInRange(0, 4000),
                                    input.ConsumeIntegralInRange(0, 4000), buttons, radios);
    std::vector<int> widths;
    for (size_t i = 0; i < captions.size() && i < 64; ++i)
        widths.push_back(ButtonWidthFor(input.ConsumeIntegralInRange(0, 2000)));
    std::vector<ButtonPlace> places = LayoutButtonRow(widths, width, input.ConsumeIntegralInRange(0, 100), 0, 8, 6, 30);
    if (places.size() != widths.size())
        std::abort();
    return 0;
}
