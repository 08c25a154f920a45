// Driving the gallery into its named states with injected input.
#include "app/gallery_states.h"

#include "ui/application.h"

namespace orvo::gallery {
namespace {

void MoveTo(os::headless::HeadlessWindowSystem& screen, Point p) { screen.MoveMouse(p.x, p.y); }

Point ItemCentre(TLumPopupMenu& menu, int level, const TLumMenuItem& item) {
  const Rect r = menu.ItemScreenRect(level, item);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A modal box: capture from inside its loop, then Esc.
void WithModal(os::headless::HeadlessWindowSystem& screen, const std::function<void()>& capture,
               const std::function<void()>& open) {
  bool done = false;
  screen.on_modal_idle = [&] {
    if (done) return false;
    done = true;
    capture();
    screen.PressKey(0x1B);
    return true;
  };
  open();
  screen.on_modal_idle = nullptr;
}

}  // namespace

std::vector<std::string> StateNames() {
  return {"idle", "hover", "hint", "menu", "scrolled", "question", "notice", "maximized"};
}

bool ShowState(TGalleryWindow& gallery, os::headless::HeadlessWindowSystem& screen,
               const std::string& state, const std::function<void()>& capture) {
  if (state == "idle") {
    capture();
  } else if (state == "hover") {
    // A tab and the link label lit, the pointer resting on the fading button: fade done.
    MoveTo(screen, gallery.ScreenCentre(*gallery.FindControl("btnTabNormal")));
    MoveTo(screen, gallery.ScreenCentre(*gallery.FindControl("lblLink")));
    MoveTo(screen, gallery.ScreenCentre(*gallery.btnLive));
    screen.AdvanceTime(300);  // part of the fade
    capture();
  } else if (state == "hint") {
    // The hint of a truncated caption rests below the pointer.
    MoveTo(screen, gallery.ScreenCentre(*gallery.FindControl("lblTruncated")));
    screen.AdvanceTime(Application().HintPause + 50);
    capture();
  } else if (state == "menu") {
    gallery.OpenMenu();
    MoveTo(screen, ItemCentre(gallery.sysMenu, 0, *gallery.miLanguage));
    MoveTo(screen, ItemCentre(gallery.sysMenu, 1, *gallery.miMoreLanguages));
    MoveTo(screen, ItemCentre(gallery.sysMenu, 2, *gallery.miMoreLanguages->SubItem(2)));
    capture();
  } else if (state == "scrolled") {
    gallery.OpenMenu();
    MoveTo(screen, ItemCentre(gallery.sysMenu, 0, *gallery.miLongList));
    const Rect down = gallery.sysMenu.DownButtonRect(1);
    if (TLumMenuForm* level = gallery.sysMenu.LevelForm(1)) {
      MoveTo(screen, {level->Left() + down.left + down.width() / 2, level->Top() + down.top - 30});
      for (int i = 0; i < 5; ++i) screen.Wheel(-os::kWheelDelta);
    }
    capture();
  } else if (state == "question") {
    WithModal(screen, capture, [&] { gallery.AskQuestion(); });
  } else if (state == "notice") {
    WithModal(screen, capture, [&] { gallery.ShowNotice(); });
  } else if (state == "maximized") {
    gallery.lmfrm1->Maximize();
    capture();
  } else {
    return false;
  }
  return true;
}

}  // namespace orvo::gallery
