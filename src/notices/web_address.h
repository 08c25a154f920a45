#pragma once
// Addresses that arrive from the network: the download page of the update description,
// an advert's link, the links and pictures of the newsletter page. The program runs with
// administrator rights, so such an address is handed to the shell only when it is a web
// page (http or https; mailto too for a newsletter link): another scheme could start a
// program or open a file, a bare or UNC path would open whatever lies there.
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

enum class AddressUse {
  kPage,        // http and https
  kPageOrMail,  // http, https and mailto
};

// True for an address of that use: the scheme (without case) is one of them, http and
// https name a host ("scheme://host..."), and nothing in it is a control character, a
// double quote (it would end the shell's argument), a backslash (no URL holds one; a UNC
// path made relative to a page would) or, for web pages, a blank.
bool IsOpenableAddress(std::string_view address, AddressUse use);
// Opens the address with OpenUrl when IsOpenableAddress; false, and nothing opened, else.
bool OpenNetworkAddress(std::string_view address, AddressUse use);

// An http or https URL in its parts: scheme in lower case, authority ("host[:port]", in
// lower case) and the rest from the first "/" ("/" when there is none; query included,
// fragment dropped).
struct WebUrl {
  std::string scheme;
  std::string authority;
  std::string path;
  std::string Text() const { return scheme + "://" + authority + path; }
};
std::optional<WebUrl> ParseWebUrl(std::string_view url);

// A reference from a page (an href or src) made absolute against the page's http(s)
// address, the way a browser resolves it: other schemes come back as they are (trimmed);
// "//host/x", "/x", "?q", "x/y" and "../x" are resolved, dot segments removed. Empty when
// the base is no web address and the reference is relative, or the reference is only a
// fragment ("#top": nothing to open).
std::string ResolveUrl(std::string_view base, std::string_view reference);

// Both are http(s) addresses with the same scheme and authority.
bool SameSite(std::string_view a, std::string_view b);

}  // namespace orvo
