#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/utf_text.h"

namespace {
struct Write {
    const char* Section;
    const char* Key;
    const char* Value;
};

struct EditCase {
    const char* Name;
    std::string Before;
    std::vector<Write> Writes;
    std::string After;
};

std::string Edit(const std::string& before, const std::vector<Write>& writes) {
    auto document = IniDocument::Parse(before);
    if (!document)
        return "<not text>";
    for (const Write& w : writes) {
        if (!document->Set(w.Section, w.Key, w.Value))
            return "<refused>";
    }
    return document->Serialize();
}

// UTF-16 bytes of ASCII and BMP text given as code units.
std::string Utf16(std::u16string_view text, bool bigEndian = false) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}
}  // namespace

TEST(IniDocument, EditsAsTheProfileFunctionsDoAndKeepsEveryOtherByte) {
    const EditCase cases[] = {
        {"new key after the section's last line, before its blank lines",
         "[A]\r\nx=1\r\n\r\n[B]\r\nz=0\r\n",
         {{"A", "y", "2"}},
         "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=0\r\n"},
        {"value replaced in its line; names without regard to case; the file's spelling and LF lines kept",
         "; note\r\n[general]\r\n  RefreshRATE = 1 \r\nz=3\n",
         {{"General", "RefreshRate", "500"}},
         "; note\r\n[general]\r\nRefreshRATE=500\r\nz=3\n"},
        {"the same value leaves the line as it is", "[A]\r\n k = v \r\n", {{"A", "k", "v"}}, "[A]\r\n k = v \r\n"},
        {"new section at the end of a file without a last line break",
         "[A]\r\nx=1",
         {{"B", "k", "v"}, {"B", "l", "w"}},
         "[A]\r\nx=1\r\n[B]\r\nk=v\r\nl=w\r\n"},
        {"the first of twin sections and keys",
         "[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\n",
         {{"a", "K", "9"}},
         "[A]\r\nk=9\r\nk=2\r\n[a]\r\nk=3\r\n"},
        {"a key of another section is not this one's",
         "[A]\r\n[B]\r\nk=1\r\n",
         {{"A", "k", "2"}},
         "[A]\r\nk=2\r\n[B]\r\nk=1\r\n"},
        {"lines before the first section belong to none", "k=1\r\n", {{"A", "k", "2"}}, "k=1\r\n[A]\r\nk=2\r\n"},
        {"blanks before a value are dropped", "", {{"A", "k", "  v "}}, "[A]\r\nk=v \r\n"},
        {"a key line without \"=\" takes the value", "[A]\r\nflag\r\n", {{"A", "flag", "1"}}, "[A]\r\nflag=1\r\n"},
        {"lone CR line breaks", "[A]\rk=1\r", {{"A", "k", "2"}, {"A", "n", "3"}}, "[A]\rk=2\rn=3\r\n"},
        {"comment after a header, bytes of the code page in other lines",
         "[A] ; colours\r\nname=caf\xE9\r\n",
         {{"A", "k", "1"}},
         "[A] ; colours\r\nname=caf\xE9\r\nk=1\r\n"},
        {"a value may hold \"=\" and \"[\"", "[A]\r\n", {{"A", "k", "[x]=y"}}, "[A]\r\nk=[x]=y\r\n"},
        {"line breaks in a value are refused", "[A]\r\n", {{"A", "k", "1\r\n[B]"}}, "<refused>"},
        {"\"=\" in a key is refused", "[A]\r\n", {{"A", "k=x", "1"}}, "<refused>"},
        {"an empty section is refused", "", {{" ", "k", "1"}}, "<refused>"},
        {"NUL bytes are no text", std::string("[A]\r\nk=\0\r\n", 9), {{"A", "k", "1"}}, "<not text>"},
    };
    for (const EditCase& c : cases)
        EXPECT_EQ(Edit(c.Before, c.Writes), c.After) << c.Name;
}

TEST(IniDocument, KeepsTheFilesEncoding) {
    // UTF-16 both ways, with the Chinese section of the custom colours.
    for (bool bigEndian : {false, true}) {
        std::string before = Utf16(u"[General]\r\nWarn=1\r\n", bigEndian);
        std::string after = Edit(before, {{"自定义颜色", "ColorA", "FFFFFF"}, {"General", "Warn", "0"}});
        EXPECT_EQ(after, Utf16(u"[General]\r\nWarn=0\r\n[自定义颜色]\r\nColorA=FFFFFF\r\n", bigEndian)) << bigEndian;
    }
    EXPECT_EQ(Edit("\xEF\xBB\xBF[A]\r\n", {{"自定义颜色", "k", "é"}}), "\xEF\xBB\xBF[A]\r\n[自定义颜色]\r\nk=é\r\n");

    // A new document is UTF-16 little-endian with its byte-order mark.
    IniDocument fresh;
    ASSERT_TRUE(fresh.Set("Font", "Name", "宋体"));
    EXPECT_EQ(fresh.Serialize(), Utf16(u"[Font]\r\nName=宋体\r\n"));
    auto reread = IniDocument::Parse(fresh.Serialize());
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->Get("font", "NAME"), "宋体");
    EXPECT_EQ(reread->TextEncoding(), IniDocument::Encoding::Utf16Le);
}

TEST(IniDocument, AnsiFileFindsTheSectionItWroteWithCharactersItCannotHold) {
    auto document = IniDocument::Parse("[A]\r\n");
    ASSERT_TRUE(document);
    ASSERT_TRUE(document->Set("自定义颜色", "ColorA", "1"));
    ASSERT_TRUE(document->Set("自定义颜色", "ColorA", "2"));
    EXPECT_EQ(document->Serialize(), "[A]\r\n[?????]\r\nColorA=2\r\n");
    EXPECT_EQ(document->Get("自定义颜色", "ColorA"), "2");
}

TEST(IniDocument, UnchangedDocumentSerialisesToTheSameBytes) {
    const std::string files[] = {
        "",
        "no sections\n\n\n",
        "[A]\r\n\tk = v \r\n;c\r\n\r\n",
        "\xEF\xBB\xBF[\xC3\xA9]\n\xFF\xFE",
        Utf16(u"[A]\r\nk=\xD800x\r\n"),  // a lone surrogate stays as it was
        "\x1A",
    };
    for (const std::string& bytes : files) {
        auto document = IniDocument::Parse(bytes);
        ASSERT_TRUE(document) << bytes;
        EXPECT_EQ(document->Serialize(), bytes);
    }
    EXPECT_FALSE(IniDocument::Parse(std::string("\xFF\xFE[\0A", 5)));  // half a UTF-16 character
    EXPECT_FALSE(IniDocument::Parse(std::string("\xFF\xFE[\0\0\0", 6)));
}

TEST(IniDocument, ReadsValuesAsTheProfileFunctions) {
    auto document = IniDocument::Parse("[A]\r\n k = v w \r\nflag\r\nempty=\r\n[B]\r\nk=b\r\n");
    ASSERT_TRUE(document);
    EXPECT_EQ(document->Get("a", "K"), "v w");
    EXPECT_EQ(document->Get("A", "empty"), "");
    EXPECT_EQ(document->Get("B", "k"), "b");
    EXPECT_FALSE(document->Get("A", "flag"));
    EXPECT_FALSE(document->Get("A", "missing"));
    EXPECT_FALSE(document->Get("C", "k"));
}

// One file in every encoding the writer keeps: each reads the same values, by the profile functions' rules (the
// first of a duplicated section or key, any case, blanks trimmed, one pair of quotes removed).
TEST(IniDocument, ReadsEveryEncodingTheWriterKeeps) {
    const std::u16string text =
        u"[General]\r\n Name = \"宋体\" \r\nQuoted='a'\r\nHalf=\"b\r\nrefreshrate=700\r\nRefreshRate=1\r\n"
        u"[general]\r\nLate=1\r\n[自定义颜色]\r\nColorA=FFFFFF\r\n";
    std::string utf8;
    for (char16_t c : text)
        AppendUtf8(utf8, c);
    struct Case {
        const char* Name;
        std::string Bytes;
        IniDocument::Encoding Encoding;
    };
    const Case cases[] = {
        {"UTF-16 LE", Utf16(text), IniDocument::Encoding::Utf16Le},
        {"UTF-16 BE", Utf16(text, true), IniDocument::Encoding::Utf16Be},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + utf8, IniDocument::Encoding::Utf8Bom},
        {"UTF-8 without one", utf8, IniDocument::Encoding::Utf8},
    };
    for (const Case& c : cases) {
        auto document = IniDocument::Parse(c.Bytes);
        ASSERT_TRUE(document) << c.Name;
        EXPECT_EQ(document->TextEncoding(), c.Encoding) << c.Name;
        EXPECT_EQ(document->Get("GENERAL", "name"), "宋体") << c.Name;
        EXPECT_EQ(document->Get("General", "Quoted"), "a") << c.Name;
        EXPECT_EQ(document->Get("General", "Half"), "\"b") << c.Name;
        EXPECT_EQ(document->Get("General", "RefreshRate"), "700") << c.Name;
        EXPECT_FALSE(document->Get("General", "Late")) << c.Name;
        EXPECT_EQ(document->Get("自定义颜色", "ColorA"), "FFFFFF") << c.Name;
        // A write keeps the encoding, and the file reads back as it was written.
        ASSERT_TRUE(document->Set("自定义颜色", "ColorB", "000000"));
        auto reread = IniDocument::Parse(document->Serialize());
        ASSERT_TRUE(reread);
        EXPECT_EQ(reread->TextEncoding(), c.Encoding) << c.Name;
        EXPECT_EQ(reread->Get("自定义颜色", "ColorB"), "000000") << c.Name;
    }
    // Bytes of a legacy code page stay ANSI.
    auto ansi = IniDocument::Parse("[A]\r\nk=caf\xE9\r\n");
    ASSERT_TRUE(ansi);
    EXPECT_EQ(ansi->TextEncoding(), IniDocument::Encoding::Ansi);
    EXPECT_EQ(ansi->Get("A", "k"), "caf\xC3\xA9");
}

TEST(IniDocument, RecoversWhatIsTextAndSaysTheFileWasDamaged) {
    struct Case {
        const char* Name;
        std::string Bytes;
        bool Damaged;
        const char* Warn;  // nullptr: no document
    };
    const std::string good = Utf16(u"[General]\r\nWarn=0\r\n[Other]\r\nx=1\r\n");
    const Case cases[] = {
        {"whole", good, false, "0"},
        {"three bytes appended", good + "x\r\n", true, "0"},
        {"stray NULs in ANSI", std::string("[General]\r\nWa") + '\0' + "rn=0\r\n" + '\0', true, "0"},
        {"a NUL character in UTF-16", Utf16(std::u16string(u"[General]\r\nWarn=0") + u'\0' + u"\r\n"), true, "0"},
        {"NULs only", std::string(8, '\0'), true, nullptr},
        {"binary", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR=\x01", 18), true, nullptr},
    };
    for (const Case& c : cases) {
        IniDocument::Recovered recovered = IniDocument::Recover(c.Bytes);
        EXPECT_EQ(recovered.Damaged, c.Damaged) << c.Name;
        ASSERT_EQ(recovered.Document.has_value(), c.Warn != nullptr) << c.Name;
        if (!c.Warn)
            continue;
        EXPECT_EQ(recovered.Document->Get("General", "Warn"), c.Warn) << c.Name;
        if (c.Bytes.size() > good.size()) {
            EXPECT_EQ(recovered.Document->Get("Other", "x"), "1") << c.Name;
        }
        // What was recovered saves as text again.
        EXPECT_TRUE(IniDocument::Parse(recovered.Document->Serialize())) << c.Name;
    }
}

// Bytes of a legacy code page can be well-formed UTF-8: an ANSI file that a write would leave reading as UTF-8
// becomes UTF-16 instead, every line and the value written reading as they were meant.
TEST(IniDocument, AnAnsiFileNeverTurnsIntoUtf8) {
    auto document = IniDocument::Parse("[A]\r\nk=1\n");
    ASSERT_TRUE(document);
    ASSERT_EQ(document->TextEncoding(), IniDocument::Encoding::Ansi);
    // "Ã©" in Latin-1 is C3 A9, the UTF-8 of "é".
    ASSERT_TRUE(document->Set("A", "name", "\xC3\x83\xC2\xA9"));
    auto reread = IniDocument::Parse(document->Serialize());
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->TextEncoding(), IniDocument::Encoding::Utf16Le);
    EXPECT_EQ(reread->Get("A", "name"), "\xC3\x83\xC2\xA9");
    EXPECT_EQ(reread->Get("A", "k"), "1");
    // A value the code page holds as no UTF-8 leaves the file as it is.
    auto plain = IniDocument::Parse("[A]\r\nk=1\r\n");
    ASSERT_TRUE(plain->Set("A", "name", "caf\xC3\xA9"));
    EXPECT_EQ(plain->Serialize(), "[A]\r\nk=1\r\nname=caf\xE9\r\n");
}
