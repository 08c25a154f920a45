#pragma once
// A real HTTP server on 127.0.0.1 (an ephemeral port) for the transfer tests: it records
// every request (request line, headers, body) and answers each path as told: a body, a
// late body, a redirect, a body cut short, a body that stalls, a huge body. Stalls end
// when the server is destroyed, so no test waits for a stalled handler.
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvo::test {

struct RecordedRequest {
  std::string method;
  std::string target;   // path and query as sent
  std::string version;  // "HTTP/1.0" or "HTTP/1.1"
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // The value of a header (name without case), if it was sent.
  std::optional<std::string> Header(std::string_view name) const;
};

class LoopbackServer {
 public:
  LoopbackServer();
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // "http://127.0.0.1:<port>" + path.
  std::string Url(std::string_view path) const;
  int port() const;

  void Serve(const std::string& path, std::string body, int status = 200,
             std::string content_type = "text/plain");
  // Waits `delay` before the status line (or until the server goes).
  void ServeLate(const std::string& path, std::chrono::milliseconds delay, std::string body);
  void Redirect(const std::string& path, const std::string& location, int status = 302);
  // Announces `announced` bytes, sends `body` (fewer), and closes the connection.
  void CutShort(const std::string& path, std::string body, size_t announced);
  // Announces `announced` bytes, sends `first`, then sends nothing for `stall`.
  void StallMidBody(const std::string& path, std::string first, size_t announced,
                    std::chrono::milliseconds stall);
  // `size` bytes of 'x'.
  void ServeLarge(const std::string& path, size_t size);

  // Answers each request to `path` with what `answer` returns for it (called on a server
  // thread, after the request was recorded): a stand-in or a go-between for a service.
  struct Answer {
    int status = 200;
    std::string body;
    std::string content_type = "text/plain";
  };
  void AnswerWith(const std::string& path, std::function<Answer(const RecordedRequest&)> answer);

  std::vector<RecordedRequest> Requests() const;
  // The last request to `path` (its target without the query); throws when none came.
  RecordedRequest Last(std::string_view path) const;
  size_t Count(std::string_view path) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace orvo::test
