#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include <vector>

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
