// Bare HTTP/1.0 exchanges over loopback; see raw_http.h.
#include "service/harness/raw_http.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace orvo::service::harness {
namespace {

class Socket {
 public:
  Socket() : fd_(socket(AF_INET, SOCK_STREAM, 0)) {}
  ~Socket() {
    if (fd_ >= 0) close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

// A signal that lands in a blocking call is no answer from the service: libFuzzer's
// time-out alarm fires every second or so, and a load test's process may get others.
bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

// An interrupted connect goes on in the background; wait for it to end there.
bool Connect(int fd, const sockaddr_in& address, int timeout_ms) {
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return true;
  if (errno != EINTR) return false;
  pollfd wait{fd, POLLOUT, 0};
  int ready;
  do {
    ready = poll(&wait, 1, timeout_ms);
  } while (ready < 0 && errno == EINTR);
  int error = 0;
  socklen_t length = sizeof error;
  return ready == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

}  // namespace

std::string RawExchange(int port, std::string_view request, int timeout_ms, bool end_after_send) {
  Socket sock;
  if (sock.fd() < 0) return {};
  timeval tv{timeout_ms / 1000, suseconds_t{timeout_ms % 1000} * 1000};
  setsockopt(sock.fd(), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  setsockopt(sock.fd(), SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  const int yes = 1;
  setsockopt(sock.fd(), IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (!Connect(sock.fd(), address, timeout_ms)) return {};
  // A refused or reset request still may have an answer waiting; read what there is.
  SendAll(sock.fd(), request);
  if (end_after_send) shutdown(sock.fd(), SHUT_WR);
  std::string reply;
  char buffer[16384];
  while (true) {
    const ssize_t got = recv(sock.fd(), buffer, sizeof buffer, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    reply.append(buffer, static_cast<size_t>(got));
  }
  return reply;
}

RawReply RawPost(int port, std::string_view path, std::string_view body, int timeout_ms) {
  std::string request = "POST ";
  request += path;
  request += " HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(port) +
             "\r\nContent-Type: application/x-www-form-urlencoded \r\n"
             "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0; Maxthon)\r\n"
             "Content-Length: " +
             std::to_string(body.size()) + "\r\n\r\n";
  request += body;
  const std::string reply = RawExchange(port, request, timeout_ms);
  RawReply out;
  if (!reply.starts_with("HTTP/1.")) return out;
  const size_t space = reply.find(' ');
  out.status = static_cast<int>(std::strtol(reply.c_str() + space + 1, nullptr, 10));
  const size_t head_end = reply.find("\r\n\r\n");
  if (head_end == std::string::npos) return out;
  out.ok = true;
  out.body = reply.substr(head_end + 4);
  return out;
}

std::string ActionPath(std::string_view action) {
  return "/plugin/index.php?to=" + std::string(action);
}

}  // namespace orvo::service::harness
