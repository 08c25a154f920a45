// Driving the gallery into its named states with injected input.
#include "app/gallery_states.h"

#include "ui/application.h"
#include "ui/lum_list_form.h"

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

// Clicks the middle of a control of the lists window.
void ClickOn(os::headless::HeadlessWindowSystem& screen, TListsWindow& w, const TControl& c) {
  const Point p = w.ScreenCentre(c);
  screen.Click(p.x, p.y);
}

bool ShowListsState(TGalleryWindow& gallery, os::headless::HeadlessWindowSystem& screen,
                    const std::string& state, const std::function<void()>& capture) {
  gallery.OpenLists();
  screen.ProcessMessages();  // laid out and painted
  TListsWindow& w = *gallery.lists;
  if (state == "lists") {
    // A row picked, the list a notch further down, the pointer on a row's switch (its hint
    // comes at once).
    TLumListView& l = *w.lstAddons;
    const Point o = w.ClientToScreen(l.FormOrigin());
    screen.Click(o.x + 120, o.y + 100);
    screen.Wheel(-os::kWheelDelta);
    TLumLvItem* row = l.ItemAt({120, 180});
    if (row) MoveTo(screen, w.ToggleCentre(*row));
    capture();
  } else if (state == "editing") {
    ClickOn(screen, w, *w.edtNumber);
    screen.Type("12a.5");
    ClickOn(screen, w, *w.edtPassword);
    screen.Type("secret");
    const Point memo = w.ScreenCentre(*w.memContent);
    screen.Click(memo.x, memo.y);
    screen.SetModifiers(os::kInCtrl);
    screen.PressKey(kVkEnd);
    screen.SetModifiers(0);
    screen.Type(" More.");
    ClickOn(screen, w, *w.edtNick);
    screen.Type("Happy reader");
    screen.SetModifiers(os::kInShift);
    for (int i = 0; i < 6; ++i) screen.PressKey(kVkLeft);
    screen.SetModifiers(0);
    capture();
  } else if (state == "dropdown") {
    ClickOn(screen, w, *w.cbbSort);
    if (TLumListForm* list = w.cbbSort->ListForm()) {
      const Rect item = list->ItemScreenRect(*w.cbbSort->Items(2));
      MoveTo(screen, {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    }
    capture();
  } else if (state == "columns") {
    // A description cut by its column, whole in the hint.
    TLumListView& l = *w.lstColumns;
    const TLumLvSubItem* cell = l.Items(1)->SubItem(1);
    const Point o = w.ClientToScreen(l.FormOrigin());
    MoveTo(screen, {o.x + cell->CellRect.left + 40, o.y + cell->CellRect.top + 10});
    screen.AdvanceTime(Application().HintPause + 50);
    capture();
  } else {
    return false;
  }
  return true;
}

bool IsListsState(const std::string& state) {
  return state == "lists" || state == "editing" || state == "dropdown" || state == "columns";
}

}  // namespace

std::vector<std::string> StateNames() {
  return {"idle",   "hover",     "hint",  "menu",    "scrolled", "question",
          "notice", "maximized", "lists", "editing", "dropdown", "columns"};
}

bool ShowState(TGalleryWindow& gallery, os::headless::HeadlessWindowSystem& screen,
               const std::string& state, const std::function<void()>& capture) {
  if (IsListsState(state)) return ShowListsState(gallery, screen, state, capture);
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
