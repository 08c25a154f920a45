// The headless window system: z-order and activation, the message queue over the portable
// dispatcher, timers on a virtual or real clock, modal loops, monitors and the clipboard.
// Input injection is in headless_input.cpp, pictures in headless_render.cpp.
#include "platform/headless/headless_window_system.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "platform/failure_log.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/queue_dispatcher.h"

namespace orvo::os::headless {

// The portable queue, counting the calls it ran, so an idle modal loop can tell whether
// waiting brought anything.
class HeadlessWindowSystem::CountingDispatcher : public UiDispatcher {
 public:
  CountingDispatcher() : inner_(MakeQueueDispatcher()) {}
  bool Post(Call call) override {
    return inner_->Post([this, call = std::move(call)] {
      ran_.fetch_add(1);
      call();
    });
  }
  bool Send(const Call& call) override {
    return inner_->Send([this, &call] {
      ran_.fetch_add(1);
      call();
    });
  }
  size_t PumpPending() override { return inner_->PumpPending(); }
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) override {
    return inner_->RunUntil(done, timeout);
  }
  bool IsUiThread() const override { return inner_->IsUiThread(); }
  bool HasWaitingSend() const override { return inner_->HasWaitingSend(); }
  void Shutdown() override { inner_->Shutdown(); }
  uint64_t ran() const { return ran_.load(); }

 private:
  std::shared_ptr<UiDispatcher> inner_;
  std::atomic<uint64_t> ran_{0};
};

namespace {

uint64_t SteadyMs() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

// Band of a window in the z-order: normal windows below top-most ones.
int Band(const HeadlessWindow* w) { return w->IsTopMost() ? 1 : 0; }

}  // namespace

HeadlessWindowSystem::HeadlessWindowSystem(const ScreenOptions& options)
    : options_(options), dispatcher_(std::make_shared<CountingDispatcher>()) {
  options_.width = std::max(options_.width, 1);
  options_.height = std::max(options_.height, 1);
  if (options_.work_area.empty()) {
    options_.work_area = {0, 0, options_.width, std::max(options_.height - 40, 1)};
  }
  int next_left = options_.width;
  for (Monitor& m : options_.more_monitors) {
    if (m.bounds.empty()) m.bounds = {next_left, 0, next_left + options_.width, options_.height};
    if (m.work_area.empty()) m.work_area = m.bounds;
    m.primary = false;
    next_left = m.bounds.right;
  }
  cursor_ = {options_.width / 2, options_.height / 2};
}

HeadlessWindowSystem::~HeadlessWindowSystem() {
  // Windows still alive (a form the program keeps past the screen) become inert.
  for (HeadlessWindow* w : z_order_) w->Orphan();
  z_order_.clear();
}

std::unique_ptr<Window> HeadlessWindowSystem::NewWindow(const WindowOptions& options,
                                                        WindowClient* client) {
  return std::make_unique<HeadlessWindow>(*this, options, client);
}

std::shared_ptr<UiDispatcher> HeadlessWindowSystem::Dispatcher() { return dispatcher_; }

// --- windows ---

HeadlessWindow* HeadlessWindowSystem::Find(const Window* window) const {
  for (HeadlessWindow* w : z_order_) {
    if (w == window) return w;
  }
  return nullptr;
}

void HeadlessWindowSystem::Attach(HeadlessWindow& window) { z_order_.push_back(&window); }

void HeadlessWindowSystem::Detach(HeadlessWindow& window) {
  z_order_.erase(std::remove(z_order_.begin(), z_order_.end(), &window), z_order_.end());
  for (HeadlessWindow* w : z_order_) {
    if (w->owner() == &window) w->ForgetOwner();
  }
  if (capture_ == &window) capture_ = nullptr;
  if (hover_ == &window) hover_ = nullptr;
  if (moving_ == &window) moving_ = nullptr;
  if (last_press_window_ == &window) last_press_window_ = nullptr;
  if (active_ == &window) ActivateNext(window);
}

std::vector<Window*> HeadlessWindowSystem::Windows() const {
  return {z_order_.begin(), z_order_.end()};
}

std::vector<Window*> HeadlessWindowSystem::VisibleWindows() const {
  std::vector<Window*> out;
  for (HeadlessWindow* w : z_order_) {
    if (w->OnScreen()) out.push_back(w);
  }
  return out;
}

Window* HeadlessWindowSystem::WindowAt(Point point) const {
  for (auto it = z_order_.rbegin(); it != z_order_.rend(); ++it) {
    if ((*it)->Hit(point)) return *it;
  }
  return nullptr;
}

Window* HeadlessWindowSystem::ActiveWindow() const { return active_; }
Window* HeadlessWindowSystem::CaptureWindow() const { return capture_; }

CursorShape HeadlessWindowSystem::Cursor() const {
  const HeadlessWindow* over = Target();
  return over ? over->cursor() : CursorShape::kArrow;
}

Rect HeadlessWindowSystem::TextInputArea(const Window& window) const {
  const HeadlessWindow* w = Find(&window);
  return w ? w->text_input_area() : Rect{};
}

const std::string& HeadlessWindowSystem::Title(const Window& window) const {
  static const std::string none;
  const HeadlessWindow* w = Find(&window);
  return w ? w->title() : none;
}

bool HeadlessWindowSystem::IsLayered(const Window& window) const {
  const HeadlessWindow* w = Find(&window);
  return w && w->layered();
}

void HeadlessWindowSystem::BringToFront(HeadlessWindow& window) {
  // The window goes to the top of its band, then the windows it owns (recursively) above it.
  std::vector<HeadlessWindow*> lifted{&window};
  for (size_t i = 0; i < lifted.size(); ++i) {
    for (HeadlessWindow* w : z_order_) {
      if (w->owner() == lifted[i] && std::find(lifted.begin(), lifted.end(), w) == lifted.end()) {
        lifted.push_back(w);
      }
    }
  }
  for (HeadlessWindow* w : lifted) {
    z_order_.erase(std::remove(z_order_.begin(), z_order_.end(), w), z_order_.end());
  }
  for (HeadlessWindow* w : lifted) {
    auto pos = z_order_.begin();
    while (pos != z_order_.end() && Band(*pos) <= Band(w)) ++pos;
    z_order_.insert(pos, w);
  }
}

void HeadlessWindowSystem::SetActive(HeadlessWindow* window) {
  if (window == active_) return;
  HeadlessWindow* old = active_;
  active_ = window;
  if (old && old->client()) old->client()->OnActivate(false);
  if (window && active_ == window && window->client()) window->client()->OnActivate(true);
  if (!old && active_) NotifyActivation(true);
  if (old && !active_) NotifyActivation(false);
}

void HeadlessWindowSystem::ActivateNext(HeadlessWindow& leaving) {
  // The owner when it can take it, else the front-most window that can, else none.
  HeadlessWindow* next = nullptr;
  if (leaving.owner() && leaving.owner()->OnScreen() && leaving.owner()->IsEnabled()) {
    next = leaving.owner();
  } else {
    for (auto it = z_order_.rbegin(); it != z_order_.rend() && !next; ++it) {
      HeadlessWindow* w = *it;
      if (w != &leaving && w->OnScreen() && w->IsEnabled() && !w->tool()) next = w;
    }
  }
  if (active_ == &leaving) active_ = nullptr;  // no deactivation notice to a dying window
  if (next) {
    BringToFront(*next);
    active_ = next;
    if (next->client()) next->client()->OnActivate(true);
  } else {
    NotifyActivation(false);
  }
}

void HeadlessWindowSystem::WindowHidden(HeadlessWindow& window) {
  if (capture_ == &window) {
    capture_ = nullptr;
    if (window.client()) window.client()->OnCaptureLost();
  }
  if (moving_ == &window) moving_ = nullptr;
  if (active_ == &window) {
    if (window.client()) window.client()->OnActivate(false);
    ActivateNext(window);
  }
}

void HeadlessWindowSystem::SetCaptureTo(HeadlessWindow* window) {
  if (window == capture_) return;
  HeadlessWindow* old = capture_;
  capture_ = window;
  if (old && window && old->client()) old->client()->OnCaptureLost();
  if (!capture_) DeliverHover();
}

void HeadlessWindowSystem::BeginMove(HeadlessWindow& window) {
  if (!LeftDown()) return;
  if (capture_) SetCaptureTo(nullptr);
  moving_ = &window;
  move_anchor_ = cursor_;
  move_origin_ = window.Bounds();
}

void HeadlessWindowSystem::NotifyActivation(bool active) {
  // A copy: a listener may add or remove listeners.
  const auto listeners = activation_listeners_;
  for (const auto& [id, listener] : listeners) listener(active);
}

int HeadlessWindowSystem::AddActivationListener(std::function<void(bool)> listener) {
  activation_listeners_.emplace_back(next_listener_, std::move(listener));
  return next_listener_++;
}

void HeadlessWindowSystem::RemoveActivationListener(int id) {
  std::erase_if(activation_listeners_, [id](const auto& l) { return l.first == id; });
}

// --- the queue ---

void HeadlessWindowSystem::PaintsDue() { paints_due_ = true; }

void HeadlessWindowSystem::DeliverPaints() {
  // A paint may invalidate again (rarely); a few rounds settle it.
  for (int round = 0; round < 4 && paints_due_; ++round) {
    paints_due_ = false;
    const std::vector<HeadlessWindow*> windows = z_order_;
    for (HeadlessWindow* w : windows) {
      if (!Find(w)) continue;  // destroyed by an earlier paint
      Rect part;
      if (w->TakePendingPaint(&part) && w->client()) w->client()->OnPaint(part);
    }
  }
}

bool HeadlessWindowSystem::FireDueTimers() {
  const uint64_t now = TickCount();
  auto due = std::min_element(timers_.begin(), timers_.end(),
                              [](const Timer& a, const Timer& b) { return a.due < b.due; });
  if (due == timers_.end() || due->due > now) return false;
  const TimerId id = due->id;
  due->due = now + due->interval;
  const std::function<void()> tick = due->tick;  // the tick may stop or start timers
  (void)id;
  tick();
  return true;
}

void HeadlessWindowSystem::FirePending() {
  for (int guard = 0; guard < 1000; ++guard) {
    bool worked = dispatcher_->PumpPending() > 0;
    if (options_.real_clock) worked = FireDueTimers() || worked;
    if (paints_due_) {
      DeliverPaints();
      worked = true;
    }
    if (!worked) return;
  }
}

void HeadlessWindowSystem::ProcessMessages() { FirePending(); }

int HeadlessWindowSystem::RunMessageLoop() {
  while (!quit_) {
    FirePending();
    if (quit_) break;
    dispatcher_->RunUntil([&] { return quit_ || paints_due_; }, std::chrono::milliseconds(10));
  }
  quit_ = false;
  return exit_code_;
}

void HeadlessWindowSystem::Quit(int exit_code) {
  quit_ = true;
  exit_code_ = exit_code;
}

ModalEnd HeadlessWindowSystem::RunModal(const std::function<bool()>& done) {
  for (;;) {
    FirePending();
    if (done()) return ModalEnd::kDone;
    if (quit_) return ModalEnd::kQuit;
    if (on_modal_idle && on_modal_idle()) continue;
    // Nothing to do: only a worker thread can still bring something.
    const uint64_t before = dispatcher_->ran();
    const auto until = std::chrono::steady_clock::now() +
                       std::chrono::milliseconds(options_.modal_idle_timeout_ms);
    bool woke = false;
    while (!woke && std::chrono::steady_clock::now() < until) {
      dispatcher_->RunUntil([&] { return dispatcher_->ran() != before || quit_; },
                            std::chrono::milliseconds(10));
      woke = dispatcher_->ran() != before || quit_ || done() || paints_due_;
      if (options_.real_clock && FireDueTimers()) woke = true;
    }
    if (!woke) {
      LogFailure("a headless modal loop had nothing to do; giving it up");
      return ModalEnd::kStuck;
    }
  }
}

// --- timers ---

uint64_t HeadlessWindowSystem::TickCount() {
  return options_.real_clock ? SteadyMs() : virtual_now_;
}

TimerId HeadlessWindowSystem::StartTimer(std::chrono::milliseconds interval,
                                         std::function<void()> tick) {
  const uint64_t every = static_cast<uint64_t>(std::max<long long>(interval.count(), 1));
  const TimerId id = next_timer_++;
  timers_.push_back({id, TickCount() + every, every, std::move(tick)});
  return id;
}

void HeadlessWindowSystem::StopTimer(TimerId id) {
  std::erase_if(timers_, [id](const Timer& t) { return t.id == id; });
}

void HeadlessWindowSystem::AdvanceTime(int milliseconds) {
  if (options_.real_clock) {
    const uint64_t until = SteadyMs() + static_cast<uint64_t>(std::max(milliseconds, 0));
    while (SteadyMs() < until) {
      FirePending();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    FirePending();
    return;
  }
  const uint64_t target = virtual_now_ + static_cast<uint64_t>(std::max(milliseconds, 0));
  FirePending();
  for (;;) {
    auto next = std::min_element(timers_.begin(), timers_.end(),
                                 [](const Timer& a, const Timer& b) { return a.due < b.due; });
    if (next == timers_.end() || next->due > target) break;
    virtual_now_ = std::max(virtual_now_, next->due);
    FireDueTimers();
    FirePending();
  }
  virtual_now_ = target;
  FirePending();
}

// --- screen and clipboard ---

std::vector<Monitor> HeadlessWindowSystem::Monitors() {
  std::vector<Monitor> out{{ScreenRect(), options_.work_area, true}};
  out.insert(out.end(), options_.more_monitors.begin(), options_.more_monitors.end());
  return out;
}

Rect HeadlessWindowSystem::WorkAreaAt(Point point) {
  const std::vector<Monitor> monitors = Monitors();
  const Monitor* best = &monitors.front();
  long best_distance = -1;
  for (const Monitor& m : monitors) {
    const long dx = point.x < m.bounds.left     ? m.bounds.left - point.x
                    : point.x >= m.bounds.right ? point.x - m.bounds.right + 1
                                                : 0;
    const long dy = point.y < m.bounds.top       ? m.bounds.top - point.y
                    : point.y >= m.bounds.bottom ? point.y - m.bounds.bottom + 1
                                                 : 0;
    const long distance = dx * dx + dy * dy;
    if (best_distance < 0 || distance < best_distance) {
      best = &m;
      best_distance = distance;
    }
  }
  return best->work_area;
}

bool HeadlessWindowSystem::SetClipboardText(std::string_view text) {
  clipboard_ = text;
  has_clipboard_ = true;
  return true;
}

std::optional<std::string> HeadlessWindowSystem::ClipboardText() {
  if (!has_clipboard_) return std::nullopt;
  return clipboard_;
}

}  // namespace orvo::os::headless
