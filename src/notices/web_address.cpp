// The scheme rule for addresses from the network, and URL resolution for the newsletter.
#include "notices/web_address.h"

#include <vector>

#include "catalogue/shell_helpers.h"

namespace orvo {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerText(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The scheme before the first ":" when it is one (a letter, then letters, digits, "+",
// "-", "."), lower case; empty otherwise.
std::string SchemeOf(std::string_view url) {
  const size_t colon = url.find(':');
  if (colon == std::string_view::npos || colon == 0) return {};
  for (size_t i = 0; i < colon; ++i) {
    const char c = url[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!letter && (i == 0 || !other)) return {};
  }
  return LowerText(url.substr(0, colon));
}

// Removes "." and ".." segments (RFC 3986, 5.2.4) from a path starting with "/".
std::string RemoveDotSegments(std::string_view path) {
  std::vector<std::string_view> out;
  size_t start = 1;
  bool trailing_slash = false;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view segment = path.substr(start, end - start);
    const bool last = end == path.size();
    if (segment == "..") {
      if (!out.empty()) out.pop_back();
      trailing_slash = true;
    } else if (segment == ".") {
      trailing_slash = true;
    } else {
      out.push_back(segment);
      trailing_slash = false;
    }
    if (last) break;
    start = end + 1;
  }
  std::string result;
  for (std::string_view s : out) {
    result += '/';
    result += s;
  }
  if (trailing_slash || result.empty()) result += '/';
  return result;
}

}  // namespace

bool IsOpenableAddress(std::string_view address, AddressUse use) {
  address = Trimmed(address);
  for (char c : address) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || c == '"' || c == '\\') return false;
  }
  const std::string scheme = SchemeOf(address);
  if (scheme == "mailto") return use == AddressUse::kPageOrMail && address.size() > 7;
  if (scheme != "http" && scheme != "https") return false;
  if (address.find_first_of(" \t") != std::string_view::npos) return false;
  const auto url = ParseWebUrl(address);
  return url && !url->authority.empty();
}

bool OpenNetworkAddress(std::string_view address, AddressUse use) {
  if (!IsOpenableAddress(address, use)) return false;
  OpenUrl(Trimmed(address));
  return true;
}

std::optional<WebUrl> ParseWebUrl(std::string_view url) {
  url = Trimmed(url);
  const std::string scheme = SchemeOf(url);
  if (scheme != "http" && scheme != "https") return std::nullopt;
  std::string_view rest = url.substr(scheme.size() + 1);
  if (rest.substr(0, 2) != "//") return std::nullopt;
  rest.remove_prefix(2);
  const size_t hash = rest.find('#');
  if (hash != std::string_view::npos) rest = rest.substr(0, hash);
  const size_t end = rest.find_first_of("/?");
  WebUrl out;
  out.scheme = scheme;
  out.authority = LowerText(rest.substr(0, end));
  if (out.authority.empty() || out.authority.find_first_of("\\@") != std::string::npos) {
    return std::nullopt;
  }
  if (end == std::string_view::npos) {
    out.path = "/";
  } else if (rest[end] == '?') {
    out.path = "/" + std::string(rest.substr(end));
  } else {
    out.path = std::string(rest.substr(end));
  }
  return out;
}

std::string ResolveUrl(std::string_view base, std::string_view reference) {
  reference = Trimmed(reference);
  if (!SchemeOf(reference).empty()) return std::string(reference);
  if (reference.empty() || reference.front() == '#') return {};
  const auto page = ParseWebUrl(base);
  if (!page) return {};
  const size_t hash = reference.find('#');
  if (hash != std::string_view::npos) reference = reference.substr(0, hash);
  if (reference.substr(0, 2) == "//") return page->scheme + ":" + std::string(reference);
  const std::string origin = page->scheme + "://" + page->authority;
  const size_t query_at = page->path.find('?');
  const std::string page_path = page->path.substr(0, query_at);
  if (reference.front() == '?') return origin + page_path + std::string(reference);
  std::string path;
  if (reference.front() == '/') {
    path = std::string(reference);
  } else {
    path = page_path.substr(0, page_path.rfind('/') + 1) + std::string(reference);
  }
  const size_t query = path.find('?');
  const std::string tail = query == std::string::npos ? "" : path.substr(query);
  return origin + RemoveDotSegments(path.substr(0, query)) + tail;
}

bool SameSite(std::string_view a, std::string_view b) {
  const auto x = ParseWebUrl(a);
  const auto y = ParseWebUrl(b);
  return x && y && x->scheme == y->scheme && x->authority == y->authority;
}

}  // namespace orvo
