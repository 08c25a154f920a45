// The smoke run's steps: each one acts, then waits until what it caused is true.
#include "app/gallery_smoke.h"

#include "ui/lum_list_form.h"

namespace orvo::gallery {
namespace {

const std::vector<SmokeStep> kSteps = {
    {"window shown", "shown"},
    {"menu open", nullptr},
    {"submenu open", nullptr},
    {"third level open", "menu"},
    {"menu closed by Esc", nullptr},
    {"message box open", "message"},
    {"answered with Enter", nullptr},
    {"lists window shown", "lists"},
    {"sort list dropped up", "dropdown"},
    {"second sort picked", nullptr},
    {"new line in the review box", "memo"},
};

Point Centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace

GallerySmoke::GallerySmoke(TGalleryWindow& gallery, std::string dir)
    : TSmokeRun("ui-gallery", std::move(dir), kSteps), gallery_(gallery) {}

bool GallerySmoke::Done(int step) {
  TLumPopupMenu& menu = gallery_.sysMenu;
  switch (step) {
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
    case 7:
      return gallery_.lists && gallery_.lists->Handle() && gallery_.lists->Handle()->IsVisible();
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
void GallerySmoke::Act(int step) {
  TLumPopupMenu& menu = gallery_.sysMenu;
  const auto click = [](Point p) { Click(p); };
  switch (step) {
    case 1:
      if (TDStdFButton* button = gallery_.lmfrm1->CaptionButton("BtnMenu")) {
        click(gallery_.ScreenCentre(*button));
      }
      return;
    case 2: {
      const Point p = Centre(menu.ItemScreenRect(0, *gallery_.miLanguage));
      MoveMouse(p);
      return;
    }
    case 3: {
      const Point p = Centre(menu.ItemScreenRect(1, *gallery_.miMoreLanguages));
      MoveMouse(p);
      return;
    }
    case 4: PressKey(0x1B); return;
    case 5: click(gallery_.ScreenCentre(*gallery_.btnAsk)); return;
    case 6: PressKey(0x0D); return;
    case 7: click(gallery_.ScreenCentre(*gallery_.btnLists)); return;
    case 8: click(gallery_.lists->ScreenCentre(*gallery_.lists->cbbSort)); return;
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
      PressKey(0x0D);
      return;
    }
    default: return;
  }
}

}  // namespace orvo::gallery
