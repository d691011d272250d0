// Texts the tray menu and the process dialog take from outside: the hint's lines, menu captions, and the names
// and version strings of other programs.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "processes/process_dialog.h"
#include "processes/tray_menu_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::string hint = input.ConsumeRandomLengthString(400);
    size_t characters = 0;
    for (const std::string& line : SplitHintLines(hint)) {
        if (line.find_first_of("\r\n") != std::string::npos)
            std::abort();
        characters += line.size();
        MemoryRowText row = SplitHintLine(line);
        if (row.Caption.find(':') != std::string::npos)
            std::abort();
    }
    if (characters > hint.size())
        std::abort();

    std::string caption = input.ConsumeRandomLengthString(100);
    CaptionParts parts = SplitShortcut(caption);
    if (parts.Caption.size() + parts.Shortcut.size() > caption.size())
        std::abort();
    if (HidePrefix(caption).size() > caption.size())
        std::abort();

    std::string exe = input.ConsumeRandomLengthString(100);
    std::string description = input.ConsumeRandomLengthString(100);
    std::string company = input.ConsumeRandomLengthString(100);
    std::string version = input.ConsumeRemainingBytesAsString();
    ProcessCaption(exe, description, characters % 2 == 0);
    BuildProcessDialogTexts(exe, description, company, version);
    ProcessEndedText(exe);
    return 0;
}
