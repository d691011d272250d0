#include "update/redirect_follower.h"

#include <gtest/gtest.h>

#include <string>

TEST(RedirectFollower, ResolvesLocationsAgainstTheCurrentAddress) {
    const std::string base = "http://a.example:8080/dir/file.upd?x=1#top";
    struct Case {
        const char* Reference;
        const char* Expected;
    } cases[] = {
        {"https://b.example/new.upd", "https://b.example/new.upd"},
        {"HTTP://b.example", "HTTP://b.example"},
        {"//c.example/p", "http://c.example/p"},
        {"/root.upd", "http://a.example:8080/root.upd"},
        {"other.upd", "http://a.example:8080/dir/other.upd"},
        {"sub/other.upd?y=2", "http://a.example:8080/dir/sub/other.upd?y=2"},
        {"?y=2", "http://a.example:8080/dir/file.upd?y=2"},
        {"#end", "http://a.example:8080/dir/file.upd?x=1#end"},
        {"", "http://a.example:8080/dir/file.upd?x=1"},
        {"file:///C:/Windows/notepad.exe", "file:///C:/Windows/notepad.exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveReference(base, c.Reference), c.Expected) << c.Reference;
    // A base without a path gains the root.
    EXPECT_EQ(ResolveReference("https://a.example", "x.upd"), "https://a.example/x.upd");
    EXPECT_EQ(ResolveReference("https://a.example?q", "x.upd"), "https://a.example/x.upd");
}

TEST(RedirectFollower, FollowsFiveHopsToWebAddressesOnly) {
    RedirectFollower follower("http://a.example/lumivex.upd");
    for (int hop = 1; hop <= RedirectFollower::kMaxRedirects; ++hop) {
        std::optional<std::string> next = follower.Follow("/lumivex.upd");  // to itself
        ASSERT_TRUE(next) << hop;
        EXPECT_EQ(*next, "http://a.example/lumivex.upd");
        EXPECT_EQ(follower.Hops(), hop);
    }
    EXPECT_FALSE(follower.Follow("/lumivex.upd"));  // the sixth
    EXPECT_EQ(follower.Hops(), RedirectFollower::kMaxRedirects);

    for (const char* location : {"file:///C:/Windows/win.ini", "ftp://a.example/x", "javascript:alert(1)",
                                 "mailto:a@b.example", "https://", "http://a b.example/", "//"}) {
        RedirectFollower one("https://a.example/x");
        EXPECT_FALSE(one.Follow(location)) << location;
        EXPECT_EQ(one.Current(), "https://a.example/x") << location;  // a refused hop changes nothing
    }
    RedirectFollower https("http://a.example/x");
    EXPECT_EQ(https.Follow("https://b.example/y").value_or(""), "https://b.example/y");
    EXPECT_EQ(https.Current(), "https://b.example/y");
}

// Once on https a download stays there, however the way back to http is spelled; http may move up to https.
TEST(RedirectFollower, RefusesToLeaveHttpsForHttp) {
    struct Case {
        const char* Start;
        const char* Location;
        const char* Next;  // "" for a refused hop
    } cases[] = {
        {"https://a.example/x", "http://a.example/x", ""},
        {"https://a.example/x", "HTTP://b.example/y", ""},
        {"HTTPS://a.example/x", "http://b.example/y", ""},
        {"https://a.example/x", "HTTPS://b.example/y", "HTTPS://b.example/y"},
        {"https://a.example/x", "//b.example/y", "https://b.example/y"},
        {"https://a.example/x", "/y", "https://a.example/y"},
        {"http://a.example/x", "http://b.example/y", "http://b.example/y"},
    };
    for (const Case& c : cases) {
        RedirectFollower follower(c.Start);
        EXPECT_EQ(follower.Follow(c.Location).value_or(""), c.Next) << c.Start << " -> " << c.Location;
        EXPECT_EQ(follower.Current(), *c.Next ? c.Next : c.Start) << c.Start << " -> " << c.Location;
        EXPECT_EQ(follower.Hops(), *c.Next ? 1 : 0);
    }
    // A hop that went up to https may not come back down.
    RedirectFollower upgraded("http://a.example/x");
    ASSERT_TRUE(upgraded.Follow("https://a.example/x"));
    EXPECT_FALSE(upgraded.Follow("http://a.example/x"));
}

TEST(RedirectFollower, KnowsTheRedirectStatuses) {
    for (int status : {301, 302, 303, 307, 308})
        EXPECT_TRUE(IsRedirectStatus(status)) << status;
    for (int status : {200, 204, 300, 304, 305, 306, 400, 404, 500})
        EXPECT_FALSE(IsRedirectStatus(status)) << status;
}
