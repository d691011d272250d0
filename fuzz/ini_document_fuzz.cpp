// A settings file as it may be found, and one write to it: an unchanged file serialises to its own bytes, a damaged
// one is recovered into a document that saves as text, and an edited one parses again to the same lines and the
// same value of the key written: what the writer writes, the reader reads.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::string section = input.ConsumeRandomLengthString(16);
    std::string key = input.ConsumeRandomLengthString(16);
    std::string value = input.ConsumeRandomLengthString(32);
    std::string bytes = input.ConsumeRemainingBytesAsString();

    IniDocument::Recovered recovered = IniDocument::Recover(bytes);
    if (recovered.Damaged != !IniDocument::Parse(bytes))
        std::abort();
    if (!recovered.Document)
        return 0;
    auto& document = recovered.Document;
    const std::string start = document->Serialize();
    if (!recovered.Damaged && start != bytes)
        std::abort();
    if (recovered.Damaged && (start.size() > bytes.size() || !IniDocument::Parse(start)))
        std::abort();  // what is recovered is text, and no more than the file held
    if (!document->Set(section, key, value)) {
        if (document->Serialize() != start)
            std::abort();  // a refused write changes nothing
        return 0;
    }
    std::string saved = document->Serialize();
    auto reread = IniDocument::Parse(saved);
    if (!reread || reread->Serialize() != saved)
        std::abort();
    // The file reads back in the encoding it was written in; text of ASCII alone is the same in ANSI and UTF-8.
    const bool ascii = std::all_of(saved.begin(), saved.end(), [](char c) { return (c & 0x80) == 0; });
    auto plainText = [](IniDocument::Encoding e) {
        return e == IniDocument::Encoding::Ansi || e == IniDocument::Encoding::Utf8;
    };
    if (reread->TextEncoding() != document->TextEncoding() &&
        !(ascii && plainText(reread->TextEncoding()) && plainText(document->TextEncoding())))
        std::abort();
    auto written = reread->Get(section, key);
    if (!written || written != document->Get(section, key))
        std::abort();
    bool plain = value.find_first_not_of(" abcdefghijklmnopqrstuvwxyz0123456789") == std::string::npos;
    if (plain) {
        size_t first = value.find_first_not_of(' '), last = value.find_last_not_of(' ');
        if (*written != (first == std::string::npos ? "" : value.substr(first, last - first + 1)))
            std::abort();
    }
    // The same write again leaves every byte as it is.
    if (!reread->Set(section, key, value) || reread->Serialize() != saved)
        std::abort();
    return 0;
}
