// Holding the notices' work back until the main window's first paint.
#include "notices/first_paint_gate.h"

#include <chrono>
#include <memory>
#include <vector>

#include "platform/window_system.h"
#include "ui/application.h"
#include "ui/form.h"

namespace orvo {
namespace {

constexpr auto kLook = std::chrono::milliseconds(10);
constexpr int kLongestWaitTicks = 300;

struct Gate {
  std::vector<std::function<void()>> waiting;
  const TForm* painted = nullptr;  // the main window seen painted
  bool timing = false;
  bool hold = false;  // start-up: wait for a main window that may not exist yet
};

Gate& TheGate() {
  static Gate gate;
  return gate;
}

// The main window is up and its first picture is still to be painted.
bool WaitingForPaint(Gate& gate) {
  const TForm* main = Application().MainForm;
  if (gate.hold && !gate.painted) {
    if (!main || !main->Shown() || !main->InvalidRect().empty()) return true;
    gate.painted = main;
    return false;
  }
  if (!main || main == gate.painted) return false;
  if (!main->Shown() || main->InvalidRect().empty()) {
    if (main->Shown()) gate.painted = main;
    return false;
  }
  return true;
}

}  // namespace

void HoldNoticesForFirstPaint() {
  TheGate().hold = true;
  TheGate().painted = nullptr;
}

void WhenMainWindowPainted(std::function<void()> call) {
  Gate& gate = TheGate();
  os::WindowSystem* system = os::CurrentWindowSystem();
  if (!system || !WaitingForPaint(gate)) {
    call();
    return;
  }
  gate.waiting.push_back(std::move(call));
  if (gate.timing) return;
  gate.timing = true;
  auto id = std::make_shared<os::TimerId>(0);
  auto ticks = std::make_shared<int>(0);
  *id = system->StartTimer(kLook, [system, id, ticks] {
    Gate& g = TheGate();
    if (WaitingForPaint(g) && ++*ticks < kLongestWaitTicks) return;
    system->StopTimer(*id);
    g.timing = false;
    std::vector<std::function<void()>> calls;
    calls.swap(g.waiting);
    for (auto& c : calls) c();
  });
}

}  // namespace orvo
