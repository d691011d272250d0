#pragma once

#include <cstdint>
#include <string>

// Keys of the version strings, addressed by index 0..10.
constexpr int kVersionKeyCount = 11;
extern const char* const kVersionKeys[kVersionKeyCount];

// "040904b0": language then code page, four lower-case hexadecimal digits each.
std::string TranslationText(uint16_t language, uint16_t codePage);

// "%d.%d.%d.%d" of the four 16-bit parts, most significant first.
std::string VersionNumberText(uint32_t mostSignificant, uint32_t leastSignificant);

// The real location of a System32 file for a 32-bit program on 64-bit Windows: "<windows>\System32\..." becomes
// "<windows>\Sysnative\...", which the file-system redirector leaves alone. Other paths come back unchanged.
std::string SysnativeAlias(const std::string& path, const std::string& windowsFolder);
