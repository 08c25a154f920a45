// The smoke run's steps: each one acts, then waits until what it caused is true.
#include "app/gallery_smoke.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/window_system.h"
#include "ui/application.h"
#include "ui/lum_list_form.h"

namespace orvo::gallery {
namespace {

constexpr int kTickMs = 100;
constexpr int kStepTimeoutMs = 10000;
constexpr int kAckTimeoutMs = 20000;

struct Step {
  const char* name;
  const char* publish;  // the state a screenshot is taken of, or null
};

const Step kSteps[] = {
    {"window shown", "shown"},         {"menu open", nullptr},
    {"submenu open", nullptr},         {"third level open", "menu"},
    {"menu closed by Esc", nullptr},   {"message box open", "message"},
    {"answered with Enter", nullptr},  {"lists window shown", "lists"},
    {"sort list dropped up", "dropdown"}, {"second sort picked", nullptr},
    {"new line in the review box", "memo"},
};
constexpr int kStepCount = static_cast<int>(sizeof kSteps / sizeof kSteps[0]);

Point Centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace

GallerySmoke::GallerySmoke(TGalleryWindow& gallery, std::string dir)
    : gallery_(gallery), dir_(std::move(dir)) {
  timer_.OnTimer = [this](TTimer&) { Tick(); };
}

void GallerySmoke::Start() {
  step_ = 0;
  waited_ms_ = 0;
  timer_.SetInterval(kTickMs);
  timer_.SetEnabled(true);
}

bool GallerySmoke::Done() const {
  TLumPopupMenu& menu = gallery_.sysMenu;
  switch (step_) {
    case 0: return gallery_.Handle() && gallery_.Handle()->IsVisible() && gallery_.Active();
    case 1: return menu.IsOpen() && menu.LevelForm(0);
    case 2: return menu.LevelForm(1) != nullptr;
    case 3: return menu.LevelForm(2) != nullptr;
    case 4: return !menu.IsOpen();
    case 5: {
      const TLumMessageBox& box = *gallery_.MsgBox();
      return box.Busy() && box.Form() && box.Form()->Shown();
    }
    case 6: return !gallery_.MsgBox()->Busy() && gallery_.LastAnswer() == 6;
    case 7: return gallery_.lists && gallery_.lists->Handle() && gallery_.lists->Handle()->IsVisible();
    case 8: return gallery_.lists->cbbSort->DroppedDown() && gallery_.lists->cbbSort->DroppedUp();
    case 9: return !gallery_.lists->cbbSort->DroppedDown() && gallery_.lists->cbbSort->index() == 1;
    case 10: {
      // On Windows the text goes through the system's own box.
      const TLumMemo& memo = *gallery_.lists->memContent;
#ifdef _WIN32
      if (!memo.IsNative()) return false;
#endif
      return memo.Text().size() == memo_length_ + 2;
    }
    default: return true;
  }
}

// What the step does before its condition is awaited.
void GallerySmoke::Act() {
  os::WindowSystem* system = os::CurrentWindowSystem();
  if (!system) return;
  os::InputInjector& input = system->Injector();
  TLumPopupMenu& menu = gallery_.sysMenu;
  auto click = [&](Point p) {
    input.MoveMouse(p.x, p.y);
    input.PressMouse(os::MouseButton::kLeft);
    input.ReleaseMouse(os::MouseButton::kLeft);
  };
  switch (step_) {
    case 1:
      if (TDStdFButton* button = gallery_.lmfrm1->CaptionButton("BtnMenu")) {
        click(gallery_.ScreenCentre(*button));
      }
      return;
    case 2: {
      const Point p = Centre(menu.ItemScreenRect(0, *gallery_.miLanguage));
      input.MoveMouse(p.x, p.y);
      return;
    }
    case 3: {
      const Point p = Centre(menu.ItemScreenRect(1, *gallery_.miMoreLanguages));
      input.MoveMouse(p.x, p.y);
      return;
    }
    case 4:
      input.PressKey(0x1B);
      return;
    case 5:
      click(gallery_.ScreenCentre(*gallery_.btnAsk));
      return;
    case 6:
      input.PressKey(0x0D);
      return;
    case 7:
      click(gallery_.ScreenCentre(*gallery_.btnLists));
      return;
    case 8:
      click(gallery_.lists->ScreenCentre(*gallery_.lists->cbbSort));
      return;
    case 9:
      if (TLumListForm* list = gallery_.lists->cbbSort->ListForm()) {
        click(Centre(list->ItemScreenRect(*gallery_.lists->cbbSort->Items(1))));
      }
      return;
    case 10: {
      // Enter in the review box starts a new line (two more characters).
      memo_length_ = gallery_.lists->memContent->Text().size();
      const Point p = gallery_.lists->ScreenCentre(*gallery_.lists->memContent);
      click({p.x, p.y + 50});
      input.PressKey(0x0D);
      return;
    }
    default:
      return;
  }
}

void GallerySmoke::Tick() {
  if (!waiting_for_ack_.empty()) {
    waited_ms_ += kTickMs;
    if (Acknowledged(waiting_for_ack_) || waited_ms_ >= kAckTimeoutMs) {
      waiting_for_ack_.clear();
      waited_ms_ = 0;
      ++step_;
      acting_ = false;
    }
    return;
  }
  if (step_ >= kStepCount) {
    Finish(0, "");
    return;
  }
  if (!acting_) {
    acting_ = true;
    waited_ms_ = 0;
    Act();  // may run a modal loop in which later ticks arrive: the flag keeps them out
    return;
  }
  if (Done()) {
    const Step& step = kSteps[step_];
    if (step.publish && !dir_.empty()) {
      Publish(step.publish);
      waiting_for_ack_ = step.publish;
      waited_ms_ = 0;
      return;
    }
    ++step_;
    acting_ = false;
    return;
  }
  waited_ms_ += kTickMs;
  if (waited_ms_ >= kStepTimeoutMs) Finish(1, kSteps[step_].name);
}

void GallerySmoke::Publish(const std::string& state) {
  const std::filesystem::path dir(dir_);
  const std::filesystem::path temp = dir / "state.part";
  {
    std::ofstream out(temp, std::ios::trunc);
    out << state << "\n";
  }
  std::error_code error;
  std::filesystem::rename(temp, dir / "state", error);
}

bool GallerySmoke::Acknowledged(const std::string& state) const {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::path(dir_) / ("ack-" + state), error);
}

void GallerySmoke::Finish(int code, const std::string& why) {
  timer_.SetEnabled(false);
  exit_code_ = code;
  failure_ = why;
  if (!dir_.empty()) Publish(code == 0 ? "done" : "failed " + why);
  if (code != 0) std::fprintf(stderr, "ui-gallery: smoke run failed at: %s\n", why.c_str());
  Application().Terminate();
}

}  // namespace orvo::gallery
