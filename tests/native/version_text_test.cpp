#include "update/version_text.h"
#include "platform/web_address.h"

#include <gtest/gtest.h>

TEST(VersionText, FormatFileVersion) {
    struct Case {
        const char* Version;
        const char* ShortText;
        const char* LongText;
    } cases[] = {
        {"3.3.3.0", "3.33", "3.33"},
        {"3.3.0.0", "3.3", "3.3"},
        {"3.3.3.2", "3.33 SR2", "3.33 SR2 (Service Release 2)"},
        {"2.6.3.1", "2.63 SR1", "2.63 SR1 (Service Release 1)"},
        {"2.6.0.1", "2.6 SR1", "2.6 SR1 (Service Release 1)"},
        {"2.6.0.0", "2.6", "2.6"},
        {"1.0.0.0", "1.0", "1.0"},
        {"2.6", "", ""},
        {"2.6.3.1.5", "", ""},
        {"", "", ""},
        {"2.x.3.1", "", ""},
        {"2..3.1", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatFileVersion(c.Version, true), c.ShortText) << c.Version;
        EXPECT_EQ(FormatFileVersion(c.Version, false), c.LongText) << c.Version;
    }
}

TEST(VersionText, IsNewerVersionWeighsTheParts) {
    struct Case {
        const char* Available;
        const char* Own;
        bool Newer;
    } cases[] = {
        {"1.0.0.1", "1.0.0.0", true},    {"1.0.0.0", "1.0.0.0", false},  {"1.0.0.0", "1.0.0.1", false},
        {"2.7.0.0", "2.6.3.1", true},    {"2.6.10.0", "2.7.0.0", false}, {"10", "1.0.0.0", false},
        {"1.0.0.1", "1", false},         {"", "1.0.0.0", false},         {"1.0.0", "0.9.0.0", false},
        {"1.0.0.1.7", "1.0.0.0", false}, {"a.b.c.d", "1.0.0.0", false},  {"2.0.0.0", "x.0.0.0", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerVersion(c.Available, c.Own), c.Newer) << c.Available << " / " << c.Own;
}

TEST(VersionText, LabelComparesTheJoinedDigits) {
    struct Case {
        const char* Available;
        const char* Own;
        bool Newer;
    } cases[] = {
        {"2.7.0.0", "2.6.3.1", true},
        {"2.6.10.0", "2.7.0.0", true},  // 26100 > 2700: the label's own reading, kept on purpose
        {"2.6.3.1", "2.6.3.1", false},
        {"1.0.0.0", "2.0.0.0", false},
        {"65535.65535.65535.65535", "65535.65535.65535.65534", true},  // beyond every integer type
        {"", "1.0.0.0", false},
        {"2.7.beta", "1.0.0.0", false},
        {"-3.0.0.0", "1.0.0.0", false},
        {"3.0.0.0", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerByJoinedDigits(c.Available, c.Own), c.Newer) << c.Available << " / " << c.Own;
}

TEST(VersionText, ReplaceAll) {
    EXPECT_EQ(ReplaceAll("2.6.3.1", ".", ""), "2631");
    EXPECT_EQ(ReplaceAll("a--b--", "--", "+"), "a+b+");
    EXPECT_EQ(ReplaceAll("no dots", ".", ""), "no dots");
    EXPECT_EQ(ReplaceAll("", ".", ""), "");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

TEST(VersionText, OnlyWebAddressesGoToTheShell) {
    for (const char* good : {"http://www.lumivex.example/Downloads.php", "HTTPS://lumivex.example",
                             "https://user@host.example:8443/a?b=c#d", "http://127.0.0.1:8080/x"}) {
        EXPECT_TRUE(IsWebAddress(good)) << good;
    }
    for (const char* bad :
         {"", "C:\\Windows\\System32\\calc.exe", "calc.exe", "file:///C:/Windows/notepad.exe",
          "\\\\server\\share\\setup.exe", "javascript:alert(1)", "http://", "https:///path", "http://host.example/a b",
          "http://host\".example", "http://@", "http://:80/", "ftp://host.example/", " http://host.example",
          "http://host.example/\tx", "http:\\\\host.example", "mailto:x@y.example", "http://x@/"}) {
        EXPECT_FALSE(IsWebAddress(bad)) << bad;
    }
}
