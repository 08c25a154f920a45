// The headless window system keeps the rules of the real one that the toolkit depends on:
// z-order bands and owners, activation by clicks and when windows go, the application's
// activation, pointer routing with capture, enter and leave, double clicks, the system
// move, layered hit testing and regions, timers on the virtual clock, modal loops fed by
// worker threads, and the composed screen picture.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/headless/headless_window_system.h"

namespace orvo::os::headless {
namespace {

using Log = std::vector<std::string>;

class Recorder : public WindowClient {
 public:
  Recorder(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
  void OnMouseMove(int x, int y, InputFlags f) override {
    Note("move " + std::to_string(x) + "," + std::to_string(y) + ((f & kInLeft) ? " L" : ""));
  }
  void OnMouseDown(MouseButton, int x, int y, InputFlags f) override {
    Note(std::string((f & kInDouble) ? "double " : "down ") + std::to_string(x) + "," +
         std::to_string(y));
  }
  void OnMouseUp(MouseButton, int x, int y, InputFlags) override {
    Note("up " + std::to_string(x) + "," + std::to_string(y));
  }
  void OnMouseLeave() override { Note("leave"); }
  void OnCaptureLost() override { Note("capture lost"); }
  void OnKeyDown(uint16_t key, InputFlags) override { Note("key " + std::to_string(key)); }
  void OnChar(char16_t ch) override { Note("char " + std::to_string(int(ch))); }
  void OnActivate(bool active) override { Note(active ? "active" : "inactive"); }
  void OnPaint(const Rect&) override { ++paints; }
  int paints = 0;

 private:
  void Note(const std::string& what) { log_.push_back(name_ + ": " + what); }
  Log& log_;
  std::string name_;
};

ScreenOptions Small() {
  ScreenOptions o;
  o.width = 400;
  o.height = 300;
  o.modal_idle_timeout_ms = 100;
  return o;
}

std::unique_ptr<Window> Open(HeadlessWindowSystem& s, WindowClient* client, Rect bounds,
                             WindowOptions extra = {}) {
  extra.bounds = bounds;
  auto w = s.NewWindow(extra, client);
  w->Show(ShowMode::kShow);
  return w;
}

TEST(HeadlessScreen, WorkAreaLeavesATaskbarAndFindsTheNearestMonitor) {
  ScreenOptions o = Small();
  o.more_monitors.push_back({});
  HeadlessWindowSystem s(o);
  EXPECT_EQ(s.WorkAreaAt({10, 10}), (Rect{0, 0, 400, 260}));
  EXPECT_EQ(s.WorkAreaAt({1000, 10}), (Rect{400, 0, 800, 300}));
  EXPECT_EQ(s.WorkAreaAt({-50, 900}), (Rect{0, 0, 400, 260}));
  ASSERT_EQ(s.Monitors().size(), 2u);
  EXPECT_TRUE(s.Monitors()[0].primary);
}

TEST(HeadlessScreen, TopMostAndOwnedWindowsStayInFront) {
  HeadlessWindowSystem s(Small());
  Log log;
  Recorder a(log, "a"), b(log, "b"), c(log, "c");
  auto top = Open(s, &a, {0, 0, 100, 100}, {.topmost = true});
  auto owner = Open(s, &b, {0, 0, 100, 100});
  WindowOptions owned_options;
  owned_options.owner = owner.get();
  auto owned = Open(s, &c, {0, 0, 100, 100}, owned_options);
  owner->Activate();  // brings its owned window along, still under the top-most one
  EXPECT_EQ(s.VisibleWindows(), (std::vector<Window*>{owner.get(), owned.get(), top.get()}));
  EXPECT_EQ(s.WindowAt({50, 50}), top.get());
  top->Show(ShowMode::kHide);
  EXPECT_EQ(s.WindowAt({50, 50}), owned.get());
}

TEST(HeadlessScreen, ActivationFollowsClicksAndPassesToTheOwnerWhenAWindowGoes) {
  HeadlessWindowSystem s(Small());
  Log log;
  Recorder a(log, "a"), b(log, "b"), menu(log, "menu");
  std::vector<bool> app;
  s.AddActivationListener([&](bool active) { app.push_back(active); });
  auto first = Open(s, &a, {0, 0, 100, 100});
  auto second = Open(s, &b, {200, 0, 300, 100}, {.owner = first.get()});
  auto quiet = Open(s, &menu, {100, 150, 200, 250}, {.activate_on_click = false});
  second->Activate();
  log.clear();
  s.Click(150, 200);  // the menu-like window does not take the activation
  EXPECT_EQ(s.ActiveWindow(), second.get());
  s.Click(50, 50);
  EXPECT_EQ(s.ActiveWindow(), first.get());
  second->Activate();
  second.reset();  // the active window goes: its owner takes over
  EXPECT_EQ(s.ActiveWindow(), first.get());
  s.ActivateOtherApplication();
  EXPECT_FALSE(s.ApplicationActive());
  first->Activate();
  EXPECT_EQ(app, (std::vector<bool>{true, false, true}));
}

TEST(HeadlessScreen, PointerGoesToTheCaptureWindowAndLeavingIsReported) {
  HeadlessWindowSystem s(Small());
  Log log;
  Recorder a(log, "a"), b(log, "b");
  auto left = Open(s, &a, {0, 0, 100, 100});
  auto right = Open(s, &b, {150, 0, 250, 100});
  log.clear();
  s.MoveMouse(10, 10);
  s.PressMouse();
  left->SetCapture();
  s.MoveMouse(160, 20);  // over the other window, but captured
  s.ReleaseMouse();
  left->ReleaseCapture();
  s.MoveMouse(170, 20);
  right->SetCapture();
  left->SetCapture();  // taken away from the other window
  EXPECT_EQ(log, (Log{"a: move 10,10", "b: inactive", "a: active", "a: down 10,10", "a: leave",
                      "a: move 160,20 L", "a: up 160,20", "b: move 20,20", "b: capture lost"}));
}

TEST(HeadlessScreen, SecondPressIsADoubleClickOnlyCloseInTimeAndPlace) {
  struct Case {
    int dx;
    int wait_ms;
    bool is_double;
  };
  for (const Case& c :
       {Case{0, 100, true}, Case{2, 400, true}, Case{3, 10, false}, Case{0, 600, false}}) {
    HeadlessWindowSystem s(Small());
    Log log;
    Recorder r(log, "w");
    auto w = Open(s, &r, {0, 0, 100, 100});
    s.Click(20, 20);
    s.AdvanceTime(c.wait_ms);
    s.MoveMouse(20 + c.dx, 20);
    s.PressMouse();
    const std::string expected =
        (c.is_double ? "w: double " : "w: down ") + std::to_string(20 + c.dx) + ",20";
    EXPECT_EQ(log.back(), expected) << "dx " << c.dx << " wait " << c.wait_ms;
  }
}

TEST(HeadlessScreen, SystemMoveDragsTheWindowAndSwallowsTheRelease) {
  HeadlessWindowSystem s(Small());
  Log log;
  Recorder r(log, "w");
  auto w = Open(s, &r, {50, 50, 150, 150});
  w->BeginSystemMove();  // no button down: nothing
  s.MoveMouse(60, 60);
  s.PressMouse();
  w->BeginSystemMove();
  log.clear();
  s.MoveMouse(90, 40);
  s.ReleaseMouse();
  EXPECT_EQ(w->Bounds(), (Rect{80, 30, 180, 130}));
  EXPECT_TRUE(log.empty());
  s.MoveMouse(100, 50);
  EXPECT_EQ(log, (Log{"w: move 20,20"}));
}

TEST(HeadlessScreen, LayeredWindowsLetThePointerThroughTransparentPixelsAndRegionsCut) {
  HeadlessWindowSystem s(Small());
  Log log;
  Recorder below(log, "below"), layered(log, "layered");
  auto back = Open(s, &below, {0, 0, 200, 200});
  auto front = Open(s, &layered, {0, 0, 10, 10}, {.layered = true});
  std::vector<uint32_t> pixels(20 * 20, 0x80FF0000u);
  for (int y = 0; y < 20; ++y) pixels[y * 20] = 0;  // the left column fully transparent
  front->PresentLayered({pixels.data(), 20, 20, nullptr}, 255);
  EXPECT_EQ(front->Bounds(), (Rect{0, 0, 20, 20}));
  EXPECT_EQ(s.WindowAt({0, 5}), back.get());
  EXPECT_EQ(s.WindowAt({1, 5}), front.get());
  WindowRegion round;
  round.kind = WindowRegion::Kind::kRoundRect;
  round.round = {0, 0, 201, 201};
  round.ellipse = 40;
  back->SetRegion(round);
  EXPECT_EQ(s.WindowAt({1, 150}), back.get());
  EXPECT_EQ(s.WindowAt({1, 199}), nullptr);  // the rounded corner is cut away
}

TEST(HeadlessScreen, ScreenPictureBlendsLayeredWindowsOverTheOthers) {
  ScreenOptions o = Small();
  o.desktop_color = 0xFF000000u;
  HeadlessWindowSystem s(o);
  Log log;
  Recorder r1(log, "a"), r2(log, "b");
  auto back = Open(s, &r1, {0, 0, 10, 10});
  std::vector<uint32_t> white(100, 0xFFFFFFFFu);
  back->Present({white.data(), 10, 10, nullptr}, {0, 0, 10, 10});
  auto front = Open(s, &r2, {0, 0, 10, 10}, {.layered = true});
  std::vector<uint32_t> red(100, 0x80FF0000u);
  front->PresentLayered({red.data(), 10, 10, nullptr}, 255);
  const Pixels screen = s.RenderScreen();
  EXPECT_EQ(screen.argb[5 * 400 + 5], 0xFFFF7F7Fu);  // half red over white
  EXPECT_EQ(screen.argb[5 * 400 + 50], 0xFF000000u);
  EXPECT_EQ(screen.argb[299 * 400 + 5], o.taskbar_color | 0xFF000000u);
  front->PresentLayered({red.data(), 10, 10, nullptr}, 0);  // constant opacity 0
  EXPECT_EQ(s.RenderScreen().argb[5 * 400 + 5], 0xFFFFFFFFu);
}

TEST(HeadlessScreen, TimersFireInOrderOnTheVirtualClockAndMayStopThemselves) {
  HeadlessWindowSystem s(Small());
  std::vector<std::string> fired;
  TimerId fast = 0;
  int fast_ticks = 0;
  fast = s.StartTimer(std::chrono::milliseconds(30), [&] {
    fired.push_back("fast@" + std::to_string(s.TickCount()));
    if (++fast_ticks == 3) s.StopTimer(fast);
  });
  s.StartTimer(std::chrono::milliseconds(50),
               [&] { fired.push_back("slow@" + std::to_string(s.TickCount())); });
  s.AdvanceTime(119);
  EXPECT_EQ(fired,
            (std::vector<std::string>{"fast@30", "slow@50", "fast@60", "fast@90", "slow@100"}));
  EXPECT_EQ(s.TickCount(), 119u);
}

TEST(HeadlessScreen, ModalLoopsEndByAPostFromAWorkerOrGiveUpWhenNothingCanHappen) {
  HeadlessWindowSystem s(Small());
  std::atomic<bool> done{false};
  std::thread worker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    s.Dispatcher()->Send([&] { done = true; });
  });
  EXPECT_EQ(s.RunModal([&] { return done.load(); }), ModalEnd::kDone);
  worker.join();
  int idle_calls = 0;
  s.on_modal_idle = [&] { return ++idle_calls < 3; };
  EXPECT_EQ(s.RunModal([] { return false; }), ModalEnd::kStuck);
  EXPECT_EQ(idle_calls, 3);
  s.Quit(4);
  EXPECT_EQ(s.RunModal([] { return false; }), ModalEnd::kQuit);
  EXPECT_EQ(s.RunMessageLoop(), 4);
}

TEST(HeadlessScreen, KeysGoToTheActiveWindowWithCharactersForEscAndEnter) {
  HeadlessWindowSystem s(Small());
  Log log;
  Recorder r(log, "w");
  auto w = Open(s, &r, {0, 0, 50, 50});
  log.clear();
  s.PressKey(0x1B);
  s.Type("A\xC3\xA9");
  EXPECT_EQ(log, (Log{"w: key 27", "w: char 27", "w: char 65", "w: char 233"}));
  w->SetEnabled(false);
  s.PressKey(0x0D);
  EXPECT_EQ(log.size(), 4u);
}

TEST(HeadlessScreen, PaintsComeWhenTheQueueIsIdleAndPicturesAreKept) {
  HeadlessWindowSystem s(Small());
  Log log;
  Recorder r(log, "w");
  auto w = Open(s, &r, {0, 0, 4, 4});
  s.ProcessMessages();
  EXPECT_EQ(r.paints, 1);
  w->Invalidate({0, 0, 2, 2});
  w->Invalidate({2, 2, 4, 4});
  s.ProcessMessages();
  EXPECT_EQ(r.paints, 2);  // one paint for both parts
  std::vector<uint32_t> blue(16, 0x000000FFu);
  w->Present({blue.data(), 4, 4, nullptr}, {1, 1, 3, 3});
  const Pixels picture = s.RenderWindow(*w);
  EXPECT_EQ(picture.argb[0], 0xFF000000u);
  EXPECT_EQ(picture.argb[5], 0xFF0000FFu);  // presented parts are opaque
}

TEST(HeadlessScreen, ClipboardHoldsText) {
  HeadlessWindowSystem s(Small());
  EXPECT_FALSE(s.ClipboardText());
  EXPECT_TRUE(s.SetClipboardText("Grüße"));
  EXPECT_EQ(s.ClipboardText(), "Grüße");
}

}  // namespace
}  // namespace orvo::os::headless
