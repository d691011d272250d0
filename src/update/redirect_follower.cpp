#include "update/redirect_follower.h"

#include <cctype>
#include <utility>

#include "platform/ascii_text.h"
#include "platform/web_address.h"

bool IsRedirectStatus(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

namespace {
bool IsHttps(std::string_view address) {
    return SameTextIgnoringAsciiCase(address.substr(0, 6), "https:");
}

// Length of the scheme with its colon ("https:"), or 0 when text does not begin with one.
size_t SchemeLength(std::string_view text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0])))
        return 0;
    for (size_t i = 1; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == ':')
            return i + 1;
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return 0;
    }
    return 0;
}
}  // namespace

// The usual reading of a relative reference: a scheme makes it absolute, "//" keeps only the scheme, "/" the
// scheme and host, "?" also the path, "#" everything but the fragment; anything else replaces the last segment of
// the path. Dot segments are left to the server.
std::string ResolveReference(std::string_view base, std::string_view reference) {
    if (SchemeLength(reference) > 0)
        return std::string(reference);
    size_t schemeEnd = SchemeLength(base);
    size_t authorityStart = schemeEnd;
    if (base.substr(schemeEnd, 2) == "//")
        authorityStart += 2;
    size_t pathStart = base.find_first_of("/?#", authorityStart);
    if (pathStart == std::string_view::npos)
        pathStart = base.size();
    size_t fragment = base.find('#', pathStart);
    std::string_view withoutFragment = base.substr(0, fragment);
    size_t query = withoutFragment.find('?', pathStart);
    std::string_view withoutQuery = withoutFragment.substr(0, query);

    std::string result;
    if (reference.substr(0, 2) == "//") {
        result = std::string(base.substr(0, schemeEnd));
    } else if (!reference.empty() && reference[0] == '/') {
        result = std::string(base.substr(0, pathStart));
    } else if (reference.empty() || reference[0] == '#') {
        result = std::string(withoutFragment);
    } else if (reference[0] == '?') {
        result = std::string(withoutQuery);
    } else {
        size_t lastSlash = withoutQuery.rfind('/');
        if (lastSlash == std::string_view::npos || lastSlash < pathStart)
            result = std::string(base.substr(0, pathStart)) + "/";
        else
            result = std::string(withoutQuery.substr(0, lastSlash + 1));
    }
    result.append(reference);
    return result;
}

RedirectFollower::RedirectFollower(std::string start, int maxRedirects)
    : current_(std::move(start)), maxRedirects_(maxRedirects) {}

std::optional<std::string> RedirectFollower::Follow(std::string_view location) {
    if (hops_ >= maxRedirects_)
        return std::nullopt;
    std::string next = ResolveReference(current_, location);
    if (!IsWebAddress(next))
        return std::nullopt;
    // A download begun over https stays on it: a hop to plain http would hand the rest of the transfer, and the
    // version file it fetches, to anyone on the way.
    if (IsHttps(current_) && !IsHttps(next))
        return std::nullopt;
    ++hops_;
    current_ = next;
    return next;
}
