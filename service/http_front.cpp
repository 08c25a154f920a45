// HTTP routes, body limits and the request log; see http_front.h.
#include "http_front.h"

#include <httplib.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <mutex>

#include "advert_reply.h"
#include "gated_server.h"
#include "site_text.h"

namespace orvo::service {
namespace {

// cpp-httplib listens with a backlog of 5; clients that connect per request (as the
// program does, HTTP/1.0) overflow that under load and wait a second for a SYN retry.
constexpr int kListenBacklog = 512;

std::string NowText() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  if (std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts) == 0) return "-";
  return text;
}

// Log text without control characters or blanks, so a request cannot forge log lines.
std::string Printable(std::string_view text, size_t max = 120) {
  std::string out;
  for (char c : text.substr(0, max)) {
    out += (static_cast<unsigned char>(c) <= ' ' || c == 0x7F) ? '?' : c;
  }
  return out;
}

// The result code of a rating reply, for the log ("-" for other replies).
std::string ResultCode(const std::string& body) {
  size_t at = std::string::npos;
  if (body.starts_with("{\"msg\":")) at = 7;
  if (body.starts_with("msg=")) at = 4;
  if (at == std::string::npos) return "-";
  const size_t end = body.find_first_not_of("0123456789", at);
  return "msg=" + body.substr(at, end == std::string::npos ? end : end - at);
}

GateOptions GateOptionsFor(const FrontOptions& options) {
  GateOptions gate;
  gate.threads = options.threads;
  gate.max_connections = options.max_connections;
  gate.request_time = std::chrono::seconds(options.request_seconds);
  gate.keep_alive_time = std::min(gate.request_time, std::chrono::milliseconds(5000));
  gate.arrival.max_body = options.max_body;
  return gate;
}

}  // namespace

class HttpFront::Routes {
 public:
  Routes(HttpFront& front) : server(GateOptionsFor(front.options_)), front_(front) {}

  bool Setup(std::string* error);
  void WriteLog(const httplib::Request& req, const httplib::Response& res);
  std::string BaseUrl(const httplib::Request& req) const;
  void Answer(const httplib::Request& req, httplib::Response& res, std::string_view body);

  GatedServer server;
  int listen_socket = -1;

 private:
  HttpFront& front_;
  std::mutex log_mutex_;
};

std::string HttpFront::Routes::BaseUrl(const httplib::Request& req) const {
  return BaseUrlFor(req.get_header_value("Host"),
                    "http://" + front_.options_.host + ":" + std::to_string(front_.port_));
}

void HttpFront::Routes::Answer(const httplib::Request& req, httplib::Response& res,
                               std::string_view body) {
  Reply reply = front_.service_.Handle(req.get_param_value("to"), body, req.remote_addr);
  res.status = reply.status;
  res.set_header("Cache-Control", "no-store");
  res.set_content(reply.body, reply.content_type.c_str());
}

void HttpFront::Routes::WriteLog(const httplib::Request& req, const httplib::Response& res) {
  if (front_.log_ == nullptr) return;
  // The path only: query strings may carry local file paths (the advert request's lang).
  std::string target = Printable(req.path);
  std::string code = "-";
  if (req.path == "/plugin/index.php") {
    target += "?to=" + Printable(req.get_param_value("to"), 40);
    code = ResultCode(res.body);
  }
  const std::string line = NowText() + " " + Printable(req.remote_addr, 64) + " " +
                           Printable(req.method, 10) + " " + target + " " +
                           std::to_string(res.status) + " " + code + " " +
                           std::to_string(res.body.size()) + "B\n";
  std::lock_guard lock(log_mutex_);
  std::fputs(line.c_str(), front_.log_);
  std::fflush(front_.log_);
}

bool HttpFront::Routes::Setup(std::string* error) {
  const FrontOptions& options = front_.options_;
  const size_t max_body = options.max_body;
  server.set_payload_max_length(max_body);
  // The program sends a handful of headers; a request with hundreds is refused outright
  // rather than served depending on how the reading of it happened to go.
  server.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
    constexpr size_t kMaxHeaders = 64;
    if (req.headers.size() <= kMaxHeaders) return httplib::Server::HandlerResponse::Unhandled;
    res.status = 431;
    return httplib::Server::HandlerResponse::Handled;
  });
  server.set_socket_options([this](int sock) {
    const int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    listen_socket = sock;
  });
  server.set_logger(
      [this](const httplib::Request& req, const httplib::Response& res) { WriteLog(req, res); });
  server.set_exception_handler(
      [](const httplib::Request&, httplib::Response& res, const std::exception_ptr&) {
        res.status = 500;
        res.body.clear();
      });

  server.Post("/plugin/index.php",
              [this, max_body](const httplib::Request& req, httplib::Response& res,
                               const httplib::ContentReader& reader) {
                std::string body;
                bool too_big = false;
                const bool read = reader([&](const char* data, size_t length) {
                  if (body.size() + length > max_body) {
                    too_big = true;
                    return false;
                  }
                  body.append(data, length);
                  return true;
                });
                if (too_big || res.status == 413) {
                  res.status = 413;
                  res.set_header("Connection", "close");
                  return;
                }
                if (!read) {
                  res.status = 400;
                  return;
                }
                Answer(req, res, body);
              });
  // A chain whose previous request failed sends a GET with no fields; it is answered
  // like a post of an empty form.
  server.Get("/plugin/index.php",
             [this](const httplib::Request& req, httplib::Response& res) { Answer(req, res, ""); });

  if (!options.site_dir.empty()) {
    server.set_file_extension_and_mimetype_mapping("htm", "text/html; charset=utf-8");
    server.set_file_extension_and_mimetype_mapping("html", "text/html; charset=utf-8");
    if (!server.set_mount_point("/", options.site_dir)) {
      *error = "the site folder " + options.site_dir + " does not exist";
      return false;
    }
    server.set_file_request_handler([this](const httplib::Request& req, httplib::Response& res) {
      res.set_header("Cache-Control", "no-cache");
      if (IsSiteTextType(res.get_header_value("Content-Type"))) {
        res.body = ReplaceBaseUrl(std::move(res.body), BaseUrl(req));
      }
    });
    const std::string description = options.site_dir + "/ad/adverts.json";
    server.Get("/ad/ad1.php", [this, description](const httplib::Request& req,
                                                  httplib::Response& res) {
      const std::string name = req.get_param_value("name"), ver = req.get_param_value("ver");
      const std::string lang = req.get_param_value("lang"), adver = req.get_param_value("adver");
      Reply reply = AnswerAdvert(description, {name, ver, lang, adver}, BaseUrl(req));
      res.status = reply.status;
      res.set_header("Cache-Control", "no-store");
      res.set_content(reply.body, reply.content_type.c_str());
    });
  }
  return true;
}

HttpFront::HttpFront(RatingService& service, FrontOptions options, std::FILE* log)
    : service_(service),
      options_(std::move(options)),
      log_(log),
      routes_(std::make_unique<Routes>(*this)) {}

HttpFront::~HttpFront() = default;

bool HttpFront::Bind(std::string* error) {
  if (!routes_->Setup(error)) return false;
  if (options_.port == 0) {
    port_ = routes_->server.bind_to_any_port(options_.host);
  } else if (routes_->server.bind_to_port(options_.host, options_.port)) {
    port_ = options_.port;
  }
  if (port_ <= 0) {
    *error = "cannot listen on " + options_.host + ":" + std::to_string(options_.port);
    return false;
  }
  // Listening again on a listening socket only changes its backlog.
  if (routes_->listen_socket >= 0) ::listen(routes_->listen_socket, kListenBacklog);
  return true;
}

bool HttpFront::Run() { return routes_->server.listen_after_bind(); }

void HttpFront::Stop() { routes_->server.stop(); }

}  // namespace orvo::service
