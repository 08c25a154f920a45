#pragma once
// The HTTP client of one rating request thread: form posts and page requests to the
// rating service with fixed settings. Every request opens its own connection, so a client
// holds no connection between requests and needs no lock; each thread owns its own.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class TRateHttpClient {
 public:
  static constexpr uint32_t kReadTimeoutMs = 5000;
  // The trailing blank is part of the setting and goes on the wire.
  static constexpr std::string_view kContentType = "application/x-www-form-urlencoded ";
  static constexpr std::string_view kUserAgent =
      "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0; Maxthon)";

  // Clears `reply`, posts the form built from `fields` ("name=value" strings, in order) to
  // the URL as it is (query included) with HTTP/1.0, and writes the reply body into
  // `reply`. True for a whole reply with a 2xx status; a redirect is not followed and,
  // like any other status, a time-out, a refused or broken connection, is false. After
  // a failure `reply` holds what arrived before it (nothing when the status was refused).
  bool PostForm(const std::string& url, const std::vector<std::string>& fields, std::string& reply);
  // The same with a GET (HTTP/1.1) and no body.
  bool GetPage(const std::string& url, std::string& reply);
};

// One form value: control characters and blanks, "*", "#", "%", "<", ">", "[", "]" and
// every non-ASCII character become "%XX" escapes of their UTF-8 bytes (upper-case hex);
// everything else, "&", "=", "+" and quotes included, is sent as it is.
std::string EncodeFormValue(std::string_view value);
// The body: each field split at its first "=" into a name (sent as it is) and an encoded
// value (a field without "=" is sent as it is), joined with "&", trimmed of leading and
// trailing blanks and control characters, and made ASCII (any other character left in a
// name becomes "?").
std::string EncodeFormBody(const std::vector<std::string>& fields);

}  // namespace orvo
