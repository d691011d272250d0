#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A four-part version number from the fixed information of a version resource, with the matching string.
struct VersionNumbers {
    bool Valid = false;
    uint32_t MostSignificant = 0;
    uint32_t LeastSignificant = 0;
    std::string VersionString;  // "FileVersion" / "ProductVersion" of the string table
    // "%d.%d.%d.%d", or "" when not valid.
    std::string Text() const;
};

// Reads the version resource of an executable: the eleven version strings by index and the fixed file and product
// versions. System32 paths are read from the real file in the 32-bit program on 64-bit Windows.
class VersionInfoReader {
  public:
    VersionInfoReader() = default;
    VersionInfoReader(const VersionInfoReader&) = delete;
    VersionInfoReader& operator=(const VersionInfoReader&) = delete;

    // Stores the name and reads the file; an empty name reads the program's own executable.
    void SetFilename(const std::string& fileName);
    const std::string& Filename() const { return filename_; }

    // Index 0..10 ("CompanyName" .. "BuildFlags"); "" outside that range.
    std::string GetByIndex(int index) const;
    // The string of `key` in the translation in use ("040904E4" when the file lists none); "" when missing.
    std::string GetValue(const std::string& key) const;

    bool HasVersionInfo() const { return !block_.empty(); }
    const VS_FIXEDFILEINFO* FixedInfo() const { return fixed_; }
    const std::vector<std::string>& Translations() const { return translations_; }
    void SetTranslationIndex(int index);
    const VersionNumbers& FileVersion() const { return fileVersion_; }
    const VersionNumbers& ProductVersion() const { return productVersion_; }

  private:
    void Reload();

    std::string filename_;
    std::vector<BYTE> block_;
    std::vector<std::string> translations_;
    int translationIndex_ = 0;
    const VS_FIXEDFILEINFO* fixed_ = nullptr;  // points into block_
    VersionNumbers fileVersion_, productVersion_;
};
