// Recognising a whole HTTP/1.x request in the bytes read so far; see request_arrival.h.
#include "request_arrival.h"

#include <charconv>
#include <optional>

namespace orvo::service {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

struct BodyFraming {
  bool chunked = false;
  bool has_length = false;
  bool bad_length = false;
  unsigned long long length = 0;
};

BodyFraming ReadFraming(std::string_view head) {
  BodyFraming framing;
  size_t start = head.find('\n');  // past the request line
  while (start != std::string_view::npos && start + 1 < head.size()) {
    ++start;
    const size_t end = head.find('\n', start);
    std::string_view line = head.substr(start, end == std::string_view::npos ? end : end - start);
    start = end;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view name = line.substr(0, colon);
    std::string_view value = line.substr(colon + 1);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
      value.remove_prefix(1);
    while (!value.empty() &&
           (value.back() == '\r' || value.back() == ' ' || value.back() == '\t')) {
      value.remove_suffix(1);
    }
    if (EqualsIgnoringCase(name, "Transfer-Encoding")) framing.chunked = true;
    if (EqualsIgnoringCase(name, "Content-Length") && !framing.has_length) {
      framing.has_length = true;
      const auto [end_of_number, error] =
          std::from_chars(value.data(), value.data() + value.size(), framing.length);
      framing.bad_length = error != std::errc() || end_of_number != value.data() + value.size();
    }
  }
  return framing;
}

// Methods whose body, without a length, runs to the end of the connection.
bool ReadsBodyToEnd(std::string_view head) {
  const std::string_view method = head.substr(0, head.find(' '));
  return method == "POST" || method == "PUT" || method == "PATCH";
}

}  // namespace

Arrival CheckArrival(std::string_view bytes, bool peer_ended, const ArrivalLimits& limits) {
  // The headers end at an empty line; the line before it ends in "\n" either way.
  const size_t blank = bytes.find("\n\r\n");
  if (blank == std::string_view::npos) {
    if (bytes.size() > limits.max_header_bytes) return Arrival::kHeadersTooLarge;
    return peer_ended && !bytes.empty() ? Arrival::kComplete : Arrival::kIncomplete;
  }
  const size_t body_start = blank + 3;
  if (body_start > limits.max_header_bytes) return Arrival::kHeadersTooLarge;
  const BodyFraming framing = ReadFraming(bytes.substr(0, blank + 1));
  // Chunked bodies and unreadable lengths are the server's to judge (and bounded by its
  // answer time); the program never sends either.
  if (framing.chunked || framing.bad_length) return Arrival::kComplete;
  if (framing.has_length) {
    if (framing.length > limits.max_body) return Arrival::kBodyTooLarge;
    const size_t have = bytes.size() - body_start;
    return have >= framing.length || peer_ended ? Arrival::kComplete : Arrival::kIncomplete;
  }
  if (ReadsBodyToEnd(bytes)) return peer_ended ? Arrival::kComplete : Arrival::kIncomplete;
  return Arrival::kComplete;
}

}  // namespace orvo::service
