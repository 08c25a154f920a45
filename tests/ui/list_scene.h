#pragma once
// A list view on a shown form of a headless screen, with rows 20 pixels high, no gap and
// no header, a border of one pixel (rows start at y 1), the shared scroll bar skin, and a
// log of the events the tests look at. Shown and painted unless `shown` is false.
#include <string>
#include <vector>

#include "support/headless_screen.h"
#include "ui/form.h"
#include "ui/hint_window.h"
#include "ui/image_module.h"
#include "ui/lum_list_view.h"

namespace orvo::test {

struct ListScene {
  HeadlessScreen screen;
  TimgModule module;
  TForm form;
  TLumListView* list = nullptr;
  std::vector<std::string> log;

  explicit ListScene(int rows, int height = 102, bool shown = true) {
    form.SetBounds(100, 100, 400, 400);
    list = form.Make<TLumListView>();
    list->Name = "list";
    list->SetBounds(10, 10, 200, height);
    list->ViewStyle = WvsReport;
    list->HeaderHeight = 0;
    list->Itemheight = 20;
    list->MarginItem = 0;
    list->VerScrollRes = &module.lmscrlbrs;
    for (int i = 0; i < rows; ++i) list->AddItem().SetCaption("Row " + std::to_string(i));
    list->OnItemClick = [this](TLumListView&, TLumLvItem& r) {
      log.push_back("click " + r.Caption());
    };
    list->OnItemSelectChange = [this](TLumListView&, TLumLvItem& r) {
      log.push_back((r.Selected() ? "select " : "unselect ") + r.Caption());
    };
    if (!shown) return;
    form.Show();
    Paint();
  }
  ~ListScene() { form.Hide(); }

  void Paint() {
    list->Changed();
    screen->ProcessMessages();
  }
  // After fields set directly (a row's Visible, a skin, an event): laid out again, not
  // painted.
  void Relayout() {
    list->InvalidateLayout();
    list->EnsureLayout();
  }
  // Screen point inside a row (its left part, on the caption).
  Point At(const TLumLvItem& row, int dx = 20) const {
    const Point o = form.ClientToScreen(list->FormOrigin());
    return {o.x + row.ItemRect.left + dx, o.y + (row.ItemRect.top + row.ItemRect.bottom) / 2};
  }
  Point At(int index, int dx = 20) const { return At(*list->Items(index), dx); }
  void Click(int index, os::InputFlags modifiers = 0) {
    const Point p = At(index);
    screen->SetModifiers(modifiers);
    screen->Click(p.x, p.y);
    screen->SetModifiers(0);
  }
  // The list's own coordinates as screen coordinates.
  Point Screen(Point p) const {
    const Point o = form.ClientToScreen(list->FormOrigin());
    return {o.x + p.x, o.y + p.y};
  }
};

}  // namespace orvo::test
