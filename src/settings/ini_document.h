#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The single-byte or multi-byte code page of files without a byte-order mark (the system's ANSI code page on
// Windows). Text inside the program is UTF-8.
class AnsiCodePage {
  public:
    virtual ~AnsiCodePage() = default;
    virtual std::string ToUtf8(std::string_view bytes) const = 0;
    virtual std::string FromUtf8(std::string_view text) const = 0;
};

// Bytes 0-255 as U+0000-U+00FF; anything beyond becomes "?".
const AnsiCodePage& Latin1CodePage();

// An INI file held in memory and edited as the profile functions edit it: sections and keys are found without
// regard to ASCII case (the first of each), a key's value is replaced in its own line, a new key goes after the
// last non-blank line of its section and a new section at the end. Every line not edited keeps its bytes, and the
// file keeps its encoding.
class IniDocument {
  public:
    // Utf8 is UTF-8 without a byte-order mark: a file without one whose bytes are all well-formed UTF-8 and not
    // all ASCII.
    enum class Encoding { Ansi, Utf8, Utf8Bom, Utf16Le, Utf16Be };
    struct Recovered;

    // An empty file of that encoding (a new file: UTF-16 little-endian with a byte-order mark).
    explicit IniDocument(Encoding encoding = Encoding::Utf16Le, const AnsiCodePage& codePage = Latin1CodePage());
    // Nothing when the bytes are not text (a NUL character, or half a UTF-16 character at the end). The code
    // page must outlive the document.
    static std::optional<IniDocument> Parse(std::string_view bytes, const AnsiCodePage& codePage = Latin1CodePage());
    // What Parse gives, or for bytes it refuses, as much as is text: NUL characters and half a UTF-16 character at
    // the end are left out. Nothing only when no line of settings is left.
    static Recovered Recover(std::string_view bytes, const AnsiCodePage& codePage = Latin1CodePage());

    // The value as the profile functions read it (blanks around it removed, then one pair of matching quotes);
    // nothing when the key is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // False when section, key or value cannot stand in one line (a line break or NUL, "=" in the key, an empty
    // section or key); the document is then unchanged.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    std::string Serialize() const;
    // True when some line, free of control characters, is a section header or a key with a value.
    bool HasSettingLine() const;
    Encoding TextEncoding() const { return encoding_; }

  private:
    struct Line {
        // Where the line's bytes (in the file's encoding, without its line break) are in source_; only a line not
        // edited is written from there, so the file is held once however large.
        size_t Start = 0, Length = 0;
        std::string Text;  // the line as UTF-8
        std::string End;   // the line break's bytes; empty for a last line without one
        bool Edited = false;
    };

    std::string Encode(std::string_view text) const;
    std::string LineBreak() const;
    // A name as it reads back from this file (in an ANSI file, characters of no code page become "?").
    std::string AsStored(std::string_view text) const;
    std::optional<size_t> FindSection(std::string_view section) const;
    std::optional<size_t> FindKey(size_t header, std::string_view key) const;
    size_t SectionEnd(size_t header) const;
    void SetLine(size_t index, const std::string& text);
    bool Apply(std::string_view section, std::string_view key, std::string_view value);

    // The line of each section's first header, by its name in ASCII lower case; made at the first look-up, so
    // that a file of many sections answers each key without reading every line again.
    const std::unordered_map<std::string, size_t>& Sections() const;
    void LineInserted(size_t index);

    Encoding encoding_;
    const AnsiCodePage* codePage_;
    std::string source_;        // the file's bytes after the byte-order mark
    bool beyondAscii_ = false;  // the file or a value written holds more than ASCII
    std::vector<Line> lines_;
    mutable std::optional<std::unordered_map<std::string, size_t>> sections_;
};

struct IniDocument::Recovered {
    std::optional<IniDocument> Document;
    bool Damaged = false;  // bytes were left out: the file as it was is worth keeping
};
