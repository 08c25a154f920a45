// The headless form routing input to its lightweight controls: hover, capture and clicks,
// disabled controls, double clicks, focus and keys, the wheel, removal during a handler,
// and the layout of aligned and anchored children.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/form.h"

namespace orvo {
namespace {

using Log = std::vector<std::string>;

// Writes every event it receives into a shared log as "<name>.<event>".
template <typename Base>
class Probe : public Base {
 public:
  Probe(Log& log, std::string name) : log_(log) { this->Name = std::move(name); }
  void MouseEnter() override { Note("enter"); }
  void MouseLeave() override { Note("leave"); }
  void MouseDown(TMouseButton, TShiftState, int x, int y) override {
    Note("down@" + std::to_string(x) + "," + std::to_string(y));
  }
  void MouseUp(TMouseButton, TShiftState, int, int) override { Note("up"); }
  void MouseMove(TShiftState, int, int) override { Note("move"); }
  void Click() override {
    Note("click");
    Base::Click();
  }
  void DblClick() override { Note("dblclick"); }
  bool MouseWheel(int delta, TShiftState, int, int) override {
    Note("wheel" + std::to_string(delta));
    return wheel_handled;
  }
  bool wheel_handled = false;

 protected:
  void Note(const std::string& what) { log_.push_back(this->Name + "." + what); }
  Log& log_;
};

class FocusProbe : public Probe<TWinControl> {
 public:
  using Probe::Probe;
  void DoEnter() override { Note("enter-focus"); }
  void DoExit() override { Note("exit-focus"); }
  void KeyDown(uint16_t& key, TShiftState) override { Note("key" + std::to_string(key)); }
  void KeyPress(char16_t& key) override { Note(std::string("char") + static_cast<char>(key)); }
};

struct Scene {
  Log log;
  TForm form;
  Probe<TWinControl>* panel;
  Probe<TControl>* button;
  Scene() {
    form.SetBounds(0, 0, 200, 100);
    panel = form.Make<Probe<TWinControl>>(log, "panel");
    panel->SetBounds(10, 10, 100, 60);
    button = panel->Make<Probe<TControl>>(log, "button");
    button->SetBounds(20, 20, 30, 20);  // form rectangle (30, 30) - (60, 50)
  }
};

TEST(FormInput, HoverEntersAndLeavesTheDeepestControl) {
  Scene s;
  s.form.MouseMoveAt(15, 15, 0);
  s.form.MouseMoveAt(35, 35, 0);
  s.form.MouseMoveAt(36, 35, 0);
  s.form.MouseMoveAt(150, 90, 0);
  s.form.MouseMoveAt(40, 40, 0);
  s.form.MouseExit();
  EXPECT_EQ(s.log,
            (Log{"panel.enter", "panel.move", "panel.leave", "button.enter", "button.move",
                 "button.move", "button.leave", "button.enter", "button.move", "button.leave"}));
}

TEST(FormInput, ClickNeedsPressAndReleaseOnTheSameControl) {
  Scene s;
  int clicks = 0;
  s.button->OnClick = [&](TControl&) { ++clicks; };
  s.form.MouseDownAt(mbLeft, 35, 35, ssLeft);
  EXPECT_EQ(s.form.CaptureControl(), s.button);
  s.form.MouseMoveAt(150, 90, ssLeft);  // captured: the move still goes to the button
  s.form.MouseUpAt(mbLeft, 150, 90, 0);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(s.form.CaptureControl(), nullptr);
  s.form.MouseDownAt(mbLeft, 35, 35, ssLeft);
  s.form.MouseUpAt(mbLeft, 36, 36, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_NE(std::find(s.log.begin(), s.log.end(), "button.down@5,5"), s.log.end());
  // A press on the panel and a release on the button clicks nobody.
  s.form.ReleaseCapture();
  s.panel->ControlStyle &= ~csCaptureMouse;
  s.form.MouseDownAt(mbLeft, 15, 15, ssLeft);
  s.form.MouseUpAt(mbLeft, 35, 35, 0);
  EXPECT_EQ(clicks, 1);
}

TEST(FormInput, DisabledControlsPassPressesToTheirParentButStillHover) {
  Scene s;
  s.button->SetEnabled(false);
  s.form.MouseMoveAt(35, 35, 0);
  s.form.MouseDownAt(mbLeft, 35, 35, ssLeft);
  EXPECT_EQ(s.log, (Log{"button.enter", "panel.move", "panel.down@25,25"}));
  // A disabled parent silences its whole subtree.
  s.log.clear();
  s.button->SetEnabled(true);
  s.panel->SetEnabled(false);
  s.form.MouseUpAt(mbLeft, 35, 35, 0);
  s.form.MouseDownAt(mbLeft, 35, 35, ssLeft);
  EXPECT_TRUE(s.log.empty());
}

TEST(FormInput, DoubleClickFollowsTheSecondPress) {
  Scene s;
  s.form.MouseDownAt(mbLeft, 35, 35, ssLeft);
  s.form.MouseUpAt(mbLeft, 35, 35, 0);
  s.form.MouseDownAt(mbLeft, 35, 35, ssLeft | ssDouble);
  EXPECT_EQ(s.log.back(), "button.dblclick");
  s.button->ControlStyle &= ~csDoubleClicks;
  s.form.MouseUpAt(mbLeft, 35, 35, 0);
  s.form.MouseDownAt(mbLeft, 35, 35, ssLeft | ssDouble);
  EXPECT_EQ(s.log.back(), "button.down@5,5");
}

TEST(FormInput, FocusKeysAndTheWheel) {
  Log log;
  TForm form;
  form.SetBounds(0, 0, 100, 100);
  auto* a = form.Make<FocusProbe>(log, "a");
  auto* b = form.Make<FocusProbe>(log, "b");
  a->SetBounds(0, 0, 50, 50);
  b->SetBounds(50, 0, 50, 50);
  a->SetFocus();
  form.KeyDownIn(kVkReturn, 0);
  form.KeyPressIn(u'x');
  b->SetFocus();
  EXPECT_TRUE(b->Focused());
  b->SetVisible(false);  // a hidden control loses the focus
  EXPECT_EQ(form.ActiveControl(), nullptr);
  EXPECT_FALSE(form.SetActiveControl(b));
  EXPECT_EQ(log, (Log{"a.enter-focus", "a.key13", "a.charx", "a.exit-focus", "b.enter-focus",
                      "b.exit-focus"}));
  // The wheel goes to the focused control and up its parents until one handles it.
  log.clear();
  auto* inner = a->Make<Probe<TWinControl>>(log, "inner");
  inner->SetBounds(0, 0, 10, 10);
  form.SetActiveControl(inner);
  a->wheel_handled = true;
  form.MouseWheelAt(-120, 5, 5, 0);
  EXPECT_EQ(log, (Log{"inner.wheel-120", "a.wheel-120"}));
}

TEST(FormInput, ControlsFreedDuringTheirHandlersAreForgotten) {
  Scene s;
  s.button->OnMouseDown = nullptr;
  bool freed = false;
  struct Doomed : TControl {
    std::function<void()> on_down;
    void MouseDown(TMouseButton, TShiftState, int, int) override { on_down(); }
  };
  auto* doomed = s.panel->Make<Doomed>();
  doomed->SetBounds(70, 5, 20, 20);  // form (80, 15)
  doomed->on_down = [&] {
    freed = true;
    s.panel->Release(doomed);  // nothing of the closure is touched after this
  };
  s.form.MouseMoveAt(85, 20, 0);
  EXPECT_EQ(s.form.HoverControl(), doomed);
  s.form.MouseDownAt(mbLeft, 85, 20, ssLeft | ssDouble);
  EXPECT_TRUE(freed);
  EXPECT_EQ(s.form.CaptureControl(), nullptr);
  EXPECT_NE(s.form.HoverControl(), doomed);
  s.form.MouseUpAt(mbLeft, 85, 20, 0);  // nothing left to click
}

TEST(FormLayout, AlignAndAnchors) {
  TForm form;
  form.SetBounds(0, 0, 300, 200);
  auto* top = form.Make<TWinControl>();
  top->SetHeight(30);
  top->SetAlign(alTop);
  auto* client = form.Make<TWinControl>();
  client->SetAlign(alClient);
  auto* corner = form.Make<TControl>();
  corner->SetBounds(250, 150, 40, 40);
  corner->Anchors = akRight | akBottom;
  auto* stretch = form.Make<TControl>();
  stretch->SetBounds(10, 50, 100, 20);
  stretch->Anchors = akLeft | akTop | akRight;
  EXPECT_EQ(top->BoundsRect(), (Rect{0, 0, 300, 30}));
  EXPECT_EQ(client->BoundsRect(), (Rect{0, 30, 300, 200}));
  form.SetBounds(0, 0, 400, 250);
  EXPECT_EQ(top->BoundsRect(), (Rect{0, 0, 400, 30}));
  EXPECT_EQ(client->BoundsRect(), (Rect{0, 30, 400, 250}));
  EXPECT_EQ(corner->BoundsRect(), (Rect{350, 200, 390, 240}));
  EXPECT_EQ(stretch->BoundsRect(), (Rect{10, 50, 210, 70}));
  EXPECT_EQ(form.Screen().width(), 400);
}

}  // namespace
}  // namespace orvo
