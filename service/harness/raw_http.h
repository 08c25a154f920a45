#pragma once
// A bare HTTP client on a fresh TCP connection per request, shaped like the program's
// rating client: "POST path HTTP/1.0", the form content type with its trailing blank, a
// Content-Length, and the reply read until the server closes. The benchmark uses it so
// that the load is what real clients send; tests use it for requests no library would
// send (oversized or truncated bodies).
#include <string>
#include <string_view>

namespace orvo::service::harness {

struct RawReply {
  bool ok = false;  // connected, sent, and a status line came back
  int status = 0;
  std::string body;
};

// Sends the bytes as they are and returns what came back until the server closed. With
// end_after_send the connection's sending side is closed after the request, so a server
// waiting for more of a truncated request sees the end at once.
std::string RawExchange(int port, std::string_view request, int timeout_ms = 5000,
                        bool end_after_send = false);

RawReply RawPost(int port, std::string_view path, std::string_view body, int timeout_ms = 5000);

// "/plugin/index.php?to=" + action.
std::string ActionPath(std::string_view action);

}  // namespace orvo::service::harness
