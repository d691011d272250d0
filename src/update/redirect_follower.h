#pragma once

#include <optional>
#include <string>
#include <string_view>

// True for the HTTP statuses that send the client elsewhere with a Location header.
bool IsRedirectStatus(int status);

// The address a reference (a Location header) stands for when it is read relative to base, an absolute address.
std::string ResolveReference(std::string_view base, std::string_view reference);

// Follows the redirects of one download: a bounded number of hops, each to an http or https address only, and never
// from https back to http.
class RedirectFollower {
  public:
    static constexpr int kMaxRedirects = 5;

    explicit RedirectFollower(std::string start, int maxRedirects = kMaxRedirects);

    // The next address for a redirect to location (read relative to the current one); none when the hop is one
    // too many, leads anywhere but a web address or leaves https for http.
    std::optional<std::string> Follow(std::string_view location);
    const std::string& Current() const { return current_; }
    int Hops() const { return hops_; }

  private:
    std::string current_;
    int maxRedirects_;
    int hops_ = 0;
};
