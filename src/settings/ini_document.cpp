#include "settings/ini_document.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/ascii_text.h"
#include "platform/utf_text.h"

namespace {
constexpr char kCrLf[] = "\r\n";

// The blanks the profile functions trim around names and values; Ctrl+Z is one, as old editors end files with it.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

constexpr uint32_t kReplacement = 0xFFFD;

// The code points of UTF-8 text; a byte that starts no well-formed sequence is U+FFFD.
template <typename Sink>
void DecodeUtf8(std::string_view text, Sink sink) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8SequenceLength(text, i);
        auto c = static_cast<unsigned char>(text[i]);
        uint32_t code = length == 1 ? c : length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
        for (size_t k = 1; k < length; ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        bool good = length != 0;
        // Overlong forms, surrogates and values beyond U+10FFFF are no characters.
        if (good && ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
                     (code >= 0xD800 && code <= 0xDFFF)))
            good = false;
        if (!good) {
            sink(kReplacement);
            ++i;
        } else {
            sink(code);
            i += length;
        }
    }
}

void AppendUnit(std::string& out, uint32_t unit, bool bigEndian) {
    char high = static_cast<char>((unit >> 8) & 0xFF), low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

std::string Utf8ToUtf16(std::string_view text, bool bigEndian) {
    std::string out;
    DecodeUtf8(text, [&](uint32_t c) {
        if (c >= 0x10000) {
            AppendUnit(out, 0xD800 + ((c - 0x10000) >> 10), bigEndian);
            AppendUnit(out, 0xDC00 + ((c - 0x10000) & 0x3FF), bigEndian);
        } else {
            AppendUnit(out, c, bigEndian);
        }
    });
    return out;
}

// The text with every byte that starts no well-formed sequence as U+FFFD.
std::string WellFormedUtf8(std::string_view text) {
    std::string out;
    DecodeUtf8(text, [&](uint32_t c) { AppendUtf8(out, c); });
    return out;
}

class Latin1 : public AnsiCodePage {
  public:
    std::string ToUtf8(std::string_view bytes) const override {
        std::string out;
        for (char c : bytes)
            AppendUtf8(out, static_cast<unsigned char>(c));
        return out;
    }
    std::string FromUtf8(std::string_view text) const override {
        std::string out;
        DecodeUtf8(text, [&](uint32_t c) { out += c < 0x100 ? static_cast<char>(c) : '?'; });
        return out;
    }
};

// A section header is "[name]" after trimming, the name running to the last "]".
std::optional<std::string_view> HeaderName(std::string_view text) {
    std::string_view line = Trim(text);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    size_t close = line.rfind(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return line.substr(1, close - 1);
}

// Any other non-blank line is a key: the name before the first "=" (or the whole line when there is none).
std::string_view KeyName(std::string_view text) {
    std::string_view line = Trim(text);
    return Trim(line.substr(0, line.find('=')));
}

std::optional<std::string_view> KeyValue(std::string_view text) {
    std::string_view line = Trim(text);
    size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(equals + 1));
}

// One pair of matching single or double quotes around a value is no part of it.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// A file without a byte-order mark is read as UTF-8 when every byte belongs to a well-formed sequence and some
// are not ASCII; text in a legacy code page is very rarely that.
bool LooksLikeUtf8(std::string_view bytes) {
    bool nonAscii = false;
    for (size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t length = Utf8SequenceLength(bytes, i);
        if (length == 0)
            return false;
        nonAscii = true;
        i += length;
    }
    return nonAscii;
}

// The byte-order mark's encoding and its length.
std::pair<IniDocument::Encoding, size_t> DetectEncoding(std::string_view bytes) {
    auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (starts("\xEF\xBB\xBF"))
        return {IniDocument::Encoding::Utf8Bom, 3};
    if (starts("\xFF\xFE"))
        return {IniDocument::Encoding::Utf16Le, 2};
    if (starts("\xFE\xFF"))
        return {IniDocument::Encoding::Utf16Be, 2};
    return {LooksLikeUtf8(bytes) ? IniDocument::Encoding::Utf8 : IniDocument::Encoding::Ansi, 0};
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsWide(IniDocument::Encoding encoding) {
    return encoding == IniDocument::Encoding::Utf16Le || encoding == IniDocument::Encoding::Utf16Be;
}

bool FitsOneLine(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}
}  // namespace

const AnsiCodePage& Latin1CodePage() {
    static const Latin1 codePage;
    return codePage;
}

IniDocument::IniDocument(Encoding encoding, const AnsiCodePage& codePage) : encoding_(encoding), codePage_(&codePage) {}

IniDocument::Recovered IniDocument::Recover(std::string_view bytes, const AnsiCodePage& codePage) {
    Recovered result;
    result.Document = Parse(bytes, codePage);
    if (!result.Document) {
        // Keep every unit but the NULs, in the file's own encoding; an odd byte at the end of UTF-16 goes too.
        const auto [encoding, markLength] = DetectEncoding(bytes);
        const bool wide = IsWide(encoding);
        const size_t step = wide ? 2 : 1;
        std::string kept(bytes.substr(0, markLength));
        for (size_t i = markLength; i + step <= bytes.size(); i += step) {
            std::string_view unit = bytes.substr(i, step);
            if (unit.find_first_not_of('\0') != std::string_view::npos)
                kept += unit;
        }
        result.Document = Parse(kept, codePage);
        result.Damaged = true;
        if (result.Document && !result.Document->HasSettingLine())
            result.Document.reset();
    }
    return result;
}

// Binary data split at its line-break bytes rarely gives a line that is a section header or holds "=" without a
// control character in it; a damaged file without one such line is not taken for settings.
bool IniDocument::HasSettingLine() const {
    for (const Line& line : lines_) {
        std::string_view text = Trim(line.Text);
        const bool plain = std::none_of(text.begin(), text.end(), [](char c) {
            auto u = static_cast<unsigned char>(c);
            return (u < 0x20 && c != '\t') || u == 0x7F;
        });
        if (plain && (HeaderName(text) || text.find('=') != std::string_view::npos))
            return true;
    }
    return false;
}

std::optional<IniDocument> IniDocument::Parse(std::string_view bytes, const AnsiCodePage& codePage) {
    // Plain variables rather than a structured binding: the lambdas below take them, which C++17 allows only for
    // variables.
    const std::pair<Encoding, size_t> detected = DetectEncoding(bytes);
    const Encoding encoding = detected.first;
    bytes.remove_prefix(detected.second);
    IniDocument document(encoding, codePage);
    const bool wide = IsWide(encoding);
    bool bigEndian = encoding == Encoding::Utf16Be;
    size_t step = wide ? 2 : 1;
    if (wide && bytes.size() % 2 != 0)
        return std::nullopt;
    auto at = [&](size_t i) -> uint32_t {
        return wide ? Utf16UnitAt(bytes, i, bigEndian) : static_cast<unsigned char>(bytes[i]);
    };

    // Lines end at LF, CR LF or a lone CR; the break's bytes stay with the line.
    size_t start = 0;
    auto addLine = [&](size_t end, size_t next) {
        Line line;
        line.Start = start;
        line.Length = end - start;
        const std::string_view raw = bytes.substr(start, end - start);
        line.End = std::string(bytes.substr(end, next - end));
        line.Text = encoding == Encoding::Ansi ? codePage.ToUtf8(raw)
                    : wide                     ? Utf16ToUtf8(raw, bigEndian)
                                               : std::string(raw);
        document.lines_.push_back(std::move(line));
        start = next;
    };
    for (size_t i = 0; i < bytes.size(); i += step) {
        uint32_t c = at(i);
        if (c == 0)
            return std::nullopt;
        if (c == '\n') {
            addLine(i, i + step);
        } else if (c == '\r') {
            bool crLf = i + step < bytes.size() && at(i + step) == '\n';
            addLine(i, i + (crLf ? 2 : 1) * step);
            if (crLf)
                i += step;
        }
    }
    if (start < bytes.size())
        addLine(bytes.size(), bytes.size());
    document.source_ = std::string(bytes);
    document.beyondAscii_ = !IsAscii(bytes);
    return document;
}

std::string IniDocument::Encode(std::string_view text) const {
    switch (encoding_) {
        case Encoding::Ansi:
            return codePage_->FromUtf8(text);
        case Encoding::Utf8:
        case Encoding::Utf8Bom:
            return std::string(text);
        case Encoding::Utf16Le:
            return Utf8ToUtf16(text, false);
        case Encoding::Utf16Be:
            return Utf8ToUtf16(text, true);
    }
    return std::string(text);
}

std::string IniDocument::LineBreak() const {
    return Encode(kCrLf);
}

// An ANSI file cannot hold every character: a name written there reads back as the code page stores it, so
// the next save finds the section it wrote instead of adding it again. UTF-16 holds every character, but not
// bytes that are no UTF-8.
std::string IniDocument::AsStored(std::string_view text) const {
    switch (encoding_) {
        case Encoding::Ansi:
            return codePage_->ToUtf8(codePage_->FromUtf8(text));
        case Encoding::Utf16Le:
        case Encoding::Utf16Be:
            return Utf16ToUtf8(Utf8ToUtf16(text, false), false);
        case Encoding::Utf8:
            // Without a byte-order mark the file reads as UTF-8 only while every byte of it is: what is written
            // keeps it so.
            return WellFormedUtf8(text);
        case Encoding::Utf8Bom:
            break;
    }
    return std::string(text);
}

const std::unordered_map<std::string, size_t>& IniDocument::Sections() const {
    if (!sections_) {
        sections_.emplace();
        for (size_t i = 0; i < lines_.size(); ++i) {
            if (auto name = HeaderName(lines_[i].Text))
                sections_->emplace(AsciiLowerCase(*name), i);  // the first header of a name counts
        }
    }
    return *sections_;
}

// A line put in before later headers moves them down by one.
void IniDocument::LineInserted(size_t index) {
    if (!sections_)
        return;
    for (auto& section : *sections_) {
        if (section.second >= index)
            ++section.second;
    }
}

std::optional<size_t> IniDocument::FindSection(std::string_view section) const {
    const auto& sections = Sections();
    auto found = sections.find(AsciiLowerCase(AsStored(Trim(section))));
    if (found == sections.end())
        return std::nullopt;
    return found->second;
}

size_t IniDocument::SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && !HeaderName(lines_[i].Text))
        ++i;
    return i;
}

std::optional<size_t> IniDocument::FindKey(size_t header, std::string_view key) const {
    std::string wanted = AsStored(Trim(key));
    size_t end = SectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        std::string_view name = KeyName(lines_[i].Text);
        if (!Trim(lines_[i].Text).empty() && SameTextIgnoringAsciiCase(name, wanted))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    auto header = FindSection(section);
    if (!header)
        return std::nullopt;
    auto line = FindKey(*header, key);
    if (!line)
        return std::nullopt;
    auto value = KeyValue(lines_[*line].Text);
    if (!value)
        return std::nullopt;
    return std::string(Unquote(*value));
}

void IniDocument::SetLine(size_t index, const std::string& text) {
    Line& line = lines_[index];
    line.Text = AsStored(text);
    line.Edited = true;
}

bool IniDocument::Apply(std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty() || key.front() == '[' || key.find('=') != std::string_view::npos ||
        !FitsOneLine(section) || !FitsOneLine(key) || !FitsOneLine(value))
        return false;
    // The profile functions drop the blanks before a value.
    while (!value.empty() && IsBlank(value.front()))
        value.remove_prefix(1);

    auto endLastLine = [&](size_t count) {
        if (count > 0 && lines_[count - 1].End.empty())
            lines_[count - 1].End = LineBreak();
    };
    auto newLine = [&](const std::string& text) {
        Line line;
        line.Text = AsStored(text);
        line.End = LineBreak();
        line.Edited = true;
        return line;
    };

    auto header = FindSection(section);
    if (!header) {
        endLastLine(lines_.size());
        lines_.push_back(newLine("[" + std::string(section) + "]"));
        if (sections_) {
            if (auto name = HeaderName(lines_.back().Text))
                sections_->emplace(AsciiLowerCase(*name), lines_.size() - 1);
        }
        lines_.push_back(newLine(std::string(key) + "=" + std::string(value)));
        return true;
    }
    if (auto existing = FindKey(*header, key)) {
        auto current = KeyValue(lines_[*existing].Text);
        if (current && *current == AsStored(value))
            return true;  // the same value: the line keeps its bytes
        SetLine(*existing, std::string(KeyName(lines_[*existing].Text)) + "=" + std::string(value));
        return true;
    }
    size_t last = *header;
    size_t end = SectionEnd(*header);
    for (size_t i = *header + 1; i < end; ++i) {
        if (!Trim(lines_[i].Text).empty())
            last = i;
    }
    endLastLine(last + 1);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1),
                  newLine(std::string(key) + "=" + std::string(value)));
    LineInserted(last + 1);
    return true;
}

// A file without a byte-order mark that reads as the code page must not read as UTF-8 once a value is written: the
// bytes of some texts in a legacy code page are well-formed UTF-8, and would read back as other characters. Such a
// file becomes UTF-16, which reads the same everywhere (the profile functions included), every line keeping its
// text, and the value is written into that. A file of ASCII alone, written ASCII alone, needs no look.
bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const bool ascii = IsAscii(section) && IsAscii(key) && IsAscii(value);
    if (encoding_ != Encoding::Ansi || (ascii && !beyondAscii_))
        return Apply(section, key, value);
    IniDocument before = *this;
    if (!Apply(section, key, value))
        return false;
    beyondAscii_ = true;
    if (!LooksLikeUtf8(Serialize()))
        return true;
    *this = std::move(before);
    encoding_ = Encoding::Utf16Le;
    for (Line& line : lines_) {
        line.Edited = true;
        line.End = Encode(line.End);  // the break as it was (CR LF, LF or CR), in the new encoding
    }
    return Apply(section, key, value);
}

std::string IniDocument::Serialize() const {
    std::string out;
    out.reserve(source_.size() + 256);
    switch (encoding_) {
        case Encoding::Ansi:
        case Encoding::Utf8:
            break;
        case Encoding::Utf8Bom:
            out = "\xEF\xBB\xBF";
            break;
        case Encoding::Utf16Le:
            out = "\xFF\xFE";
            break;
        case Encoding::Utf16Be:
            out = "\xFE\xFF";
            break;
    }
    for (const Line& line : lines_) {
        if (line.Edited)
            out += Encode(line.Text);
        else
            out.append(source_, line.Start, line.Length);
        out += line.End;
    }
    return out;
}
