#include "platform/version_text.h"

#include "platform/ascii_text.h"
#include "platform/fixed_text.h"

const char* const kVersionKeys[kVersionKeyCount] = {
    "CompanyName",      "FileDescription", "FileVersion",    "InternalName", "LegalCopyright", "LegalTrademarks",
    "OriginalFilename", "ProductName",     "ProductVersion", "Comments",     "BuildFlags"};

std::string TranslationText(uint16_t language, uint16_t codePage) {
    char text[16];
    FixedText(text, sizeof text).Hex(language, 4, true).Hex(codePage, 4, true);
    return text;
}

std::string VersionNumberText(uint32_t mostSignificant, uint32_t leastSignificant) {
    char text[32];
    FixedText(text, sizeof text)
        .Decimal(mostSignificant >> 16)
        .Add(".")
        .Decimal(mostSignificant & 0xFFFF)
        .Add(".")
        .Decimal(leastSignificant >> 16)
        .Add(".")
        .Decimal(leastSignificant & 0xFFFF);
    return text;
}

std::string SysnativeAlias(const std::string& path, const std::string& windowsFolder) {
    std::string folder = windowsFolder;
    if (folder.empty())
        return path;
    if (folder.back() != '\\')
        folder += '\\';
    const std::string system32 = folder + "System32\\";
    if (path.size() <= system32.size() || !SameTextIgnoringAsciiCase(path.substr(0, system32.size()), system32))
        return path;
    return folder + "Sysnative\\" + path.substr(system32.size());
}
