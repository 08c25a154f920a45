// Windows other processes can reach, natively. Each process has its own headless screen,
// so a window handle that another process can use is a name in the user's runtime folder:
// a published window listens on the socket "orvo-window-XXXXXXXX" (its handle in hex).
// A command is 8 bytes (operation, argument); the listener carries it out on the UI thread
// through the dispatcher, the way the system delivers a sent message, and answers with one
// byte once it has run: so sending waits as SendMessage does. Only processes of the same
// user are served.
#include <dirent.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "platform/headless/headless_window_system.h"
#include "platform/instance_windows.h"
#include "platform/sandbox/runtime_folder.h"
#include "platform/window_system.h"

namespace orvo::os {
namespace {

constexpr char kPrefix[] = "orvo-window-";
constexpr uint32_t kOpSysCommand = 1;
constexpr uint32_t kOpTopMost = 2;
// How long a sender waits for the other process to carry a command out.
constexpr int kReplyTimeoutMs = 5000;

std::optional<sockaddr_un> AddressOf(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof(address.sun_path)) return std::nullopt;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return address;
}

std::string SocketPath(const std::string& folder, WindowHandle32 handle) {
  char name[32];
  // NOLINTNEXTLINE(cert-err33-c): the buffer holds the longest text of the format
  std::snprintf(name, sizeof name, "%s%08x", kPrefix, static_cast<unsigned>(handle));
  return folder + "/" + name;
}

void SetTimeout(int fd, int option, int milliseconds) {
  timeval tv{milliseconds / 1000, static_cast<suseconds_t>(milliseconds % 1000) * 1000};
  ::setsockopt(fd, SOL_SOCKET, option, &tv, sizeof tv);
}

// A connected socket to that path, or -1.
int Connect(const std::string& path, int* error = nullptr) {
  const auto address = AddressOf(path);
  if (!address) return -1;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
    if (error) *error = errno;
    ::close(fd);
    return -1;
  }
  return fd;
}

bool WriteAll(int fd, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool ReadAll(int fd, void* data, size_t size) {
  char* p = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = ::recv(fd, p, size, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Sockets left by processes that ended without taking theirs away (the program ends by
// terminating itself): nobody answers them any more.
void SweepStaleSockets(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strncmp(entry->d_name, kPrefix, sizeof kPrefix - 1) != 0) continue;
    const std::string path = folder + "/" + entry->d_name;
    int error = 0;
    const int fd = Connect(path, &error);
    if (fd >= 0) {
      ::close(fd);
    } else if (error == ECONNREFUSED) {
      ::unlink(path.c_str());
    }
  }
  ::closedir(dir);
}

bool SameUser(int fd) {
  ucred credentials{};
  socklen_t size = sizeof credentials;
  return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
         credentials.uid == ::geteuid();
}

class SocketPublishedWindow : public PublishedWindow {
 public:
  SocketPublishedWindow(Window& window, std::shared_ptr<UiDispatcher> dispatcher, int listener,
                        WindowHandle32 handle, std::string path)
      : window_(window),
        dispatcher_(std::move(dispatcher)),
        listener_(listener),
        handle_(handle),
        path_(std::move(path)) {
    thread_ = std::thread([this] { Serve(); });
  }

  ~SocketPublishedWindow() override {
    stopping_ = true;
    ::shutdown(listener_, SHUT_RDWR);  // wakes the accept
    // The listener may be waiting for this (the UI) thread to run a command: keep serving
    // until it has seen the stop.
    while (!finished_) {
      dispatcher_->PumpPending();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    thread_.join();
    ::close(listener_);
    ::unlink(path_.c_str());
  }

  WindowHandle32 Handle() const override { return handle_; }

 private:
  void Serve() {
    while (!stopping_) {
      const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) {
        if (errno == EINTR || errno == ECONNABORTED) continue;
        break;
      }
      SetTimeout(fd, SO_RCVTIMEO, 2000);
      SetTimeout(fd, SO_SNDTIMEO, 2000);
      uint32_t request[2];
      if (SameUser(fd) && ReadAll(fd, request, sizeof request)) {
        bool ran = false;
        dispatcher_->Send([&] {
          if (stopping_) return;
          Execute(request[0], request[1]);
          ran = true;
        });
        const char reply = ran ? 1 : 0;
        WriteAll(fd, &reply, 1);
      }
      ::close(fd);
    }
    finished_ = true;
  }

  void Execute(uint32_t operation, uint32_t argument) {
    if (operation == kOpTopMost) {
      window_.SetTopMost(argument != 0);
      return;
    }
    if (operation != kOpSysCommand) return;
    std::optional<SysCommand> command;
    switch (argument & 0xFFF0) {
      case 0xF020: command = SysCommand::kMinimize; break;
      case 0xF030: command = SysCommand::kMaximize; break;
      case kScRestore: command = SysCommand::kRestore; break;
      default: break;
    }
    if (!command) return;
    if (auto* screen = dynamic_cast<headless::HeadlessWindowSystem*>(CurrentWindowSystem())) {
      screen->SendSysCommand(window_, *command);
    }
  }

  Window& window_;
  std::shared_ptr<UiDispatcher> dispatcher_;
  int listener_;
  WindowHandle32 handle_;
  std::string path_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

bool SendCommand(WindowHandle32 window, uint32_t operation, uint32_t argument) {
  if (window == 0) return false;
  const auto folder = RuntimeFolder();
  if (!folder) return false;
  const int fd = Connect(SocketPath(*folder, window));
  if (fd < 0) return false;
  SetTimeout(fd, SO_RCVTIMEO, kReplyTimeoutMs);
  SetTimeout(fd, SO_SNDTIMEO, kReplyTimeoutMs);
  const uint32_t request[2] = {operation, argument};
  char reply = 0;
  const bool ok = WriteAll(fd, request, sizeof request) && ReadAll(fd, &reply, 1) && reply == 1;
  ::close(fd);
  return ok;
}

}  // namespace

std::unique_ptr<PublishedWindow> PublishWindow(Window& window) {
  WindowSystem* system = CurrentWindowSystem();
  const auto folder = RuntimeFolder();
  if (!system || !folder) return nullptr;
  SweepStaleSockets(*folder);
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const WindowHandle32 handle = random();
    if (handle == 0) continue;
    const std::string path = SocketPath(*folder, handle);
    const auto address = AddressOf(path);
    if (!address) return nullptr;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return nullptr;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0 &&
        ::listen(fd, 8) == 0) {
      return std::make_unique<SocketPublishedWindow>(window, system->Dispatcher(), fd, handle,
                                                     path);
    }
    const int error = errno;
    ::close(fd);
    if (error != EADDRINUSE) return nullptr;
  }
  return nullptr;
}

bool SendSysCommandTo(WindowHandle32 window, uint32_t command) {
  return SendCommand(window, kOpSysCommand, command);
}

bool SetTopMostOf(WindowHandle32 window, bool top_most) {
  return SendCommand(window, kOpTopMost, top_most ? 1 : 0);
}

void ShowPlainMessageBox(std::string_view title, std::string_view text) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
               static_cast<int>(text.size()), text.data());
}

}  // namespace orvo::os
