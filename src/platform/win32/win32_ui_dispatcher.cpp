// The UI dispatcher of the Windows build: a hidden message-only window owned by the UI
// thread. Posting is PostMessage and sending is SendMessage to that window, so the calls
// take exactly the paths of the program's other window messages: posts queue in order,
// a send from a worker is served whenever the UI thread retrieves messages (and before
// any posted one), a send from the UI thread calls the window procedure directly.
//
// Closing: a flag taken under a lock keeps workers from using the window once it is
// going; sends already under way are released by pumping them (the window procedure
// answers 0 without running them), posts still queued are taken out and destroyed, and
// only then is the window destroyed, so a worker can never reach a reused handle.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>

#include "platform/failure_log.h"
#include "platform/win32/win32_ui_dispatcher.h"

namespace orvo::os::win32 {
namespace {

constexpr UINT kPostedCall = WM_USER + 1;
constexpr UINT kSentCall = WM_USER + 2;
constexpr wchar_t kClassName[] = L"OrvoUiDispatcher";

struct SentCall {
  const UiDispatcher::Call* call;
  std::exception_ptr error;
};

class WindowDispatcher : public UiDispatcher {
 public:
  WindowDispatcher();
  ~WindowDispatcher() override;

  bool Post(Call call) override;
  bool Send(const Call& call) override;
  size_t PumpPending() override;
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) override;
  bool IsUiThread() const override { return GetCurrentThreadId() == ui_thread_; }
  bool HasWaitingSend() const override;
  void Shutdown() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, LPARAM lp);
  void RequireUiThread(const char* what) const;
  // Dispatches what is queued; sets `quit` and stops when WM_QUIT comes up (re-posted).
  size_t Pump(bool* quit);

  const DWORD ui_thread_;
  HWND hwnd_ = nullptr;
  std::mutex mutex_;
  bool closed_ = false;
  std::atomic<int> sends_under_way_{0};
};

void RegisterClassOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;  // replaced per window at WM_NCCREATE
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
  });
}

WindowDispatcher::WindowDispatcher() : ui_thread_(GetCurrentThreadId()) {
  RegisterClassOnce();
  hwnd_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) {
    std::fprintf(stderr, "orvo: cannot create the dispatcher window (error %lu)\n", GetLastError());
    std::abort();
  }
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
}

WindowDispatcher::~WindowDispatcher() {
  // Only the UI thread can destroy the window; a dispatcher released elsewhere without a
  // Shutdown leaves it to the end of the process.
  if (IsUiThread()) Shutdown();
}

LRESULT CALLBACK WindowDispatcher::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<WindowDispatcher*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && (msg == kPostedCall || msg == kSentCall)) return self->Handle(msg, lp);
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT WindowDispatcher::Handle(UINT msg, LPARAM lp) {
  bool closed;
  {
    std::lock_guard lock(mutex_);
    closed = closed_;
  }
  if (msg == kPostedCall) {
    std::unique_ptr<Call> call(reinterpret_cast<Call*>(lp));
    if (closed) return 0;
    try {
      (*call)();
    } catch (...) {
      LogCaughtException("a call posted to the user-interface thread");
    }
    return 0;
  }
  auto* sent = reinterpret_cast<SentCall*>(lp);
  if (closed) return 0;
  try {
    (*sent->call)();
  } catch (...) {
    sent->error = std::current_exception();
  }
  return 1;
}

bool WindowDispatcher::Post(Call call) {
  std::lock_guard lock(mutex_);
  if (closed_) return false;
  auto boxed = std::make_unique<Call>(std::move(call));
  if (!PostMessageW(hwnd_, kPostedCall, 0, reinterpret_cast<LPARAM>(boxed.get()))) return false;
  // NOLINTNEXTLINE(bugprone-unused-return-value): the window procedure (or Shutdown) owns it
  boxed.release();
  return true;
}

bool WindowDispatcher::Send(const Call& call) {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    if (!IsUiThread()) ++sends_under_way_;
  }
  if (IsUiThread()) {
    // What SendMessage would do on this thread, without a window procedure in between
    // (the call may shut the dispatcher down).
    call();
    return true;
  }
  SentCall sent{&call, nullptr};
  const LRESULT ran = SendMessageW(hwnd_, kSentCall, 0, reinterpret_cast<LPARAM>(&sent));
  --sends_under_way_;
  if (sent.error) std::rethrow_exception(sent.error);
  return ran == 1;
}

bool WindowDispatcher::HasWaitingSend() const {
  RequireUiThread("HasWaitingSend");
  // The high word lists what the queue holds now; a message sent from another thread
  // sits there until this thread next retrieves messages.
  return (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0;
}

void WindowDispatcher::RequireUiThread(const char* what) const {
  if (IsUiThread()) return;
  std::fprintf(stderr, "orvo: %s called outside the user-interface thread\n", what);
  std::abort();
}

size_t WindowDispatcher::Pump(bool* quit) {
  size_t handled = 0;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      *quit = true;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    ++handled;
  }
  return handled;
}

size_t WindowDispatcher::PumpPending() {
  RequireUiThread("PumpPending");
  bool quit = false;
  return Pump(&quit);
}

bool WindowDispatcher::RunUntil(const std::function<bool()>& done,
                                std::chrono::milliseconds timeout) {
  RequireUiThread("RunUntil");
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    bool quit = false;
    Pump(&quit);
    if (done()) return true;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (quit || left.count() <= 0) return done();
    // The condition may change on a worker without any message: look again soon.
    const auto wait = std::min<long long>(left.count(), 10);
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(wait), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

void WindowDispatcher::Shutdown() {
  RequireUiThread("Shutdown");
  {
    std::lock_guard lock(mutex_);
    if (closed_ || !hwnd_) return;
    closed_ = true;
  }
  // Senders that got past the flag are inside SendMessage: serve them (unrun).
  MSG msg;
  while (sends_under_way_.load() > 0) {
    MsgWaitForMultipleObjectsEx(0, nullptr, 5, QS_SENDMESSAGE, 0);
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  while (PeekMessageW(&msg, hwnd_, kPostedCall, kPostedCall, PM_REMOVE)) {
    delete reinterpret_cast<Call*>(msg.lParam);
  }
  DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

}  // namespace

std::shared_ptr<UiDispatcher> MakeWindowDispatcher() {
  return std::make_shared<WindowDispatcher>();
}

}  // namespace orvo::os::win32

namespace orvo::os {
std::shared_ptr<UiDispatcher> MakeUiDispatcher() { return win32::MakeWindowDispatcher(); }
}  // namespace orvo::os
