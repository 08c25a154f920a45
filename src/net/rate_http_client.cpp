// The rating service's HTTP client and its form encoding.
#include "net/rate_http_client.h"

#include "platform/failure_log.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "net/transfer_limits.h"

namespace orvo {
namespace {

bool MustEscape(unsigned char c) {
  if (c < '!' || c >= 0x80) return true;
  switch (c) {
    case '*':
    case '#':
    case '%':
    case '<':
    case '>':
    case '[':
    case ']': return true;
    default: return false;
  }
}

// Text that is not valid UTF-8 has lost its characters already; each broken sequence is
// sent as U+FFFD rather than as stray bytes.
std::string AsUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  return Utf16ToUtf8(Utf8ToUtf16(text));
}

// One "?" per non-ASCII character, as an ASCII encoder writes it.
std::string ToAscii(std::string_view text) {
  if (IsValidUtf8(text)) {
    bool ascii = true;
    for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return std::string(text);
  }
  std::string out;
  const std::u16string units = Utf8ToUtf16(text);
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    if (u < 0x80) {
      out += static_cast<char>(u);
      continue;
    }
    out += '?';
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] < 0xE000) {
      ++i;
    }
  }
  return out;
}

bool Exchange(os::HttpRequest request, std::string& reply) {
  reply.clear();
  request.user_agent = TRateHttpClient::kUserAgent;
  request.max_bytes = kMaxTransferBytes;
  request.receive_timeout_ms = TRateHttpClient::kReadTimeoutMs;
  try {
    os::HttpResponse response = os::Current().http().Exchange(request);
    const bool status_ok = response.status_code >= 200 && response.status_code < 300;
    // A refused status (redirects included) ends the exchange before any body is taken.
    if (response.status_code != 0 && !status_ok) return false;
    reply = std::move(response.body);
    return response.status == os::TransferStatus::kOk && status_ok;
  } catch (...) {
    os::LogCaughtException("a request to the rating service");
    return false;
  }
}

}  // namespace

std::string EncodeFormValue(std::string_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : AsUtf8(value)) {
    const auto c = static_cast<unsigned char>(ch);
    if (MustEscape(c)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    } else {
      out += ch;
    }
  }
  return out;
}

std::string EncodeFormBody(const std::vector<std::string>& fields) {
  std::string body;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) body += '&';
    const std::string& field = fields[i];
    const size_t eq = field.find('=');
    if (eq == std::string::npos) {
      body += field;
    } else {
      body.append(field, 0, eq + 1);
      body += EncodeFormValue(std::string_view(field).substr(eq + 1));
    }
  }
  return ToAscii(Trim(body));
}

bool TRateHttpClient::PostForm(const std::string& url, const std::vector<std::string>& fields,
                               std::string& reply) {
  os::HttpRequest request;
  request.method = "POST";
  request.url = url;
  request.http10 = true;
  request.content_type = kContentType;
  try {
    request.body = EncodeFormBody(fields);
  } catch (...) {
    os::LogCaughtException("encoding a form for the rating service");
    reply.clear();
    return false;
  }
  return Exchange(std::move(request), reply);
}

bool TRateHttpClient::GetPage(const std::string& url, std::string& reply) {
  os::HttpRequest request;
  request.method = "GET";
  request.url = url;
  request.http10 = false;
  return Exchange(std::move(request), reply);
}

}  // namespace orvo
