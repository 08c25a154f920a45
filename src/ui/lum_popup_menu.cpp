// The popup menu's items, its opening and closing, and the level windows: placing a level
// at the screen edges, submenus beside their item, the activation rules that close it.
#include "ui/lum_popup_menu.h"

#include <algorithm>

#include "platform/window_system.h"
#include "ui/application.h"
#include "ui/desktop.h"

namespace orvo {

// --- the level window ---

TLumMenuForm::TLumMenuForm(TLumPopupMenu& menu, int level) : menu_(menu), level_(level) {
  Layered = true;
  ToolWindow = true;
  ActivateOnClick = false;
  SetTopMost(true);
  PopupParent = menu.Owner;
}

void TLumMenuForm::MouseMove(TShiftState, int x, int y) { menu_.LevelMouseMove(level_, x, y); }

void TLumMenuForm::MouseDown(TMouseButton button, TShiftState, int x, int y) {
  menu_.LevelMouseDown(level_, button, x, y);
}

void TLumMenuForm::MouseUp(TMouseButton button, TShiftState, int x, int y) {
  menu_.LevelMouseUp(level_, button, x, y);
}

bool TLumMenuForm::MouseWheel(int delta, TShiftState, int, int) {
  menu_.LevelMouseWheel(level_, delta);
  return true;
}

void TLumMenuForm::MouseLeave() { menu_.LevelMouseLeave(level_); }

void TLumMenuForm::KeyDown(uint16_t& key, TShiftState) { menu_.LevelKeyDown(level_, key); }

// --- items ---

TLumPopupMenu::TLumPopupMenu(TForm* owner) : Owner(owner) {
  repeat_timer_.OnTimer = [this](TTimer&) { RepeatTick(); };
}

TLumPopupMenu::~TLumPopupMenu() {
  *alive_ = false;
  if (open_) CloseMenu(false);
  RestoreDeactivation();
  items_.clear();  // while the menu is whole: items report to it as they go
  for (Level& level : levels_) level.form.reset();
  graveyard_.clear();
}

TLumMenuItem& TLumPopupMenu::AddItem(std::unique_ptr<TLumMenuItem> item) {
  return InsertItem(ItemCount(), std::move(item));
}

TLumMenuItem& TLumPopupMenu::AddItem(const std::string& caption) {
  return AddItem(std::make_unique<TLumMenuItem>(caption));
}

TLumMenuItem& TLumPopupMenu::InsertItem(int index, std::unique_ptr<TLumMenuItem> item) {
  index = std::clamp(index, 0, ItemCount());
  TLumMenuItem& added = *item;
  items_.insert(items_.begin() + index, std::move(item));
  added.Attach(this, nullptr, 0);
  return added;
}

TLumMenuItem& TLumPopupMenu::AddSubItem(TLumMenuItem& parent, std::unique_ptr<TLumMenuItem> item) {
  return parent.AddSubItem(std::move(item));
}

TLumMenuItem* TLumPopupMenu::Items(int index) const {
  if (index < 0 || index >= ItemCount()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

void TLumPopupMenu::Clear() {
  if (open_) CloseMenu(false);
  for (auto& item : items_) {
    item->ClearSubItems();
    if (item->OnDelete) item->OnDelete(*item);
  }
  items_.clear();
}

TLumMenuItem* TLumPopupMenu::FindShortCut(TShortCut shortcut) const {
  for (TLumMenuItem* item : shortcuts_) {
    if (item->ShortCut() == shortcut && item->Enabled) return item;
  }
  return nullptr;
}

void TLumPopupMenu::ShortCutChanged(TLumMenuItem& item, bool listed) {
  std::erase(shortcuts_, &item);
  if (listed) shortcuts_.push_back(&item);
}

void TLumPopupMenu::ItemChanged(TLumMenuItem& item) {
  if (!open_) return;
  for (int depth = 0; depth < 3; ++depth) {
    Level& level = levels_[depth];
    if (!level.form) continue;
    if (std::find(level.items.begin(), level.items.end(), &item) == level.items.end()) continue;
    const Point at{level.form->Left(), level.form->Top()};
    Measure(level, at);
    level.form->SetBounds(at.x, at.y, level.size.cx, level.size.cy);
    Render(level);
  }
}

void TLumPopupMenu::ItemGone(TLumMenuItem& item) {
  std::erase(shortcuts_, &item);
  if (!open_) return;
  for (Level& level : levels_) {
    if (level.parent_item == &item ||
        std::find(level.items.begin(), level.items.end(), &item) != level.items.end()) {
      CloseMenu(false);
      return;
    }
  }
}

// --- opening and closing ---

TLumMenuForm* TLumPopupMenu::LevelForm(int level) const {
  if (level < 0 || level > 2) return nullptr;
  return levels_[level].form.get();
}

void TLumPopupMenu::Popup(int x, int y) {
  if (open_) CloseMenu(false);
  graveyard_.clear();
  bool can_show = true;
  if (OnBeforPopup) OnBeforPopup(*this, can_show);
  if (!can_show) return;
  if (OnPopup) OnPopup(*this);
  PrepareFrames();
  if (!OpenLevel(0, nullptr, {x, y})) return;
  InstallDeactivation();
}

bool TLumPopupMenu::OpenLevel(int depth, TLumMenuItem* parent_item, Point at) {
  Level& level = levels_[depth];
  level = Level{};
  level.parent_item = parent_item;
  const int count = parent_item ? parent_item->SubItemCount() : ItemCount();
  for (int i = 0; i < count; ++i) {
    TLumMenuItem* item = parent_item ? parent_item->SubItem(i) : Items(i);
    if (item->Visible) level.items.push_back(item);
  }
  if (level.items.empty()) return false;
  Measure(level, at);
  if (level.size.cx <= 0 || level.size.cy <= 0) return false;

  const Rect work = WorkAreaAt(at);
  Point pos = at;
  if (depth == 0) {
    if (pos.y + level.size.cy > work.bottom) pos.y = work.bottom - level.size.cy;
    if (pos.x + level.size.cx > work.right) pos.x = at.x - level.size.cx;
  } else {
    const Level& parent = levels_[depth - 1];
    const TForm& pf = *parent.form;
    const Rect item_rect =
        levels_[depth - 1].open_sub >= 0 ? parent.items[parent.open_sub]->ItemRect : Rect{};
    pos.y = pf.Top() + item_rect.top;
    if (pos.y + level.size.cy > work.bottom) pos.y -= level.size.cy;
    if (pos.y < work.top) pos.y = work.top + (work.height() - level.size.cy) / 2;
    pos.x = pf.Left() + pf.Width() - AlphaWidth;
    if (pos.x + level.size.cx > work.right) pos.x = pf.Left() + AlphaWidth - level.size.cx;
  }
  level.form = std::make_unique<TLumMenuForm>(*this, depth);
  level.form->SetBounds(pos.x, pos.y, level.size.cx, level.size.cy);
  level.form->OnDeactivate = [this, depth](TForm&) {
    if (open_ && depth == 0 && !right_click_) CloseMenu(false);
  };
  open_ = true;
  Render(level);
  level.form->ReadyShow = true;
  if (depth == 0)
    level.form->Show();
  else
    level.form->ShowNoActivate();
  return true;
}

void TLumPopupMenu::OpenSubmenu(int depth, int index) {
  CloseLevelsFrom(depth + 1);
  Level& level = levels_[depth];
  if (depth >= 2 || index < 0) return;
  TLumMenuItem* item = level.items[static_cast<size_t>(index)];
  if (item->SubItemCount() == 0 || !item->Enabled) return;
  level.open_sub = index;
  if (depth == 0 && OnSubMenuShow) OnSubMenuShow(*item);
  if (depth == 1 && OnLastMenuShow) OnLastMenuShow(*item);
  if (!open_) return;  // a handler closed the menu
  Render(level);
  OpenLevel(depth + 1, item, {level.form->Left(), level.form->Top()});
}

void TLumPopupMenu::CloseLevelsFrom(int depth) {
  for (int d = 2; d >= depth && d >= 0; --d) {
    Level& level = levels_[d];
    if (d > 0 && levels_[d - 1].open_sub >= 0 && level.form) levels_[d - 1].open_sub = -1;
    if (level.form) BuryForm(std::move(level.form));
    if (repeat_level_ == d) {
      repeat_timer_.SetEnabled(false);
      repeat_level_ = -1;
    }
    level = Level{};
  }
}

void TLumPopupMenu::BuryForm(std::unique_ptr<TLumMenuForm> form) {
  form->OnDeactivate = nullptr;
  form->Hide();
  graveyard_.push_back(std::move(form));
  // Freed once the handler that closed it has returned.
  if (auto dispatcher = os::CurrentUiDispatcher()) {
    std::weak_ptr<bool> alive = alive_;
    dispatcher->Post([this, alive] {
      if (auto a = alive.lock(); a && *a && !open_) graveyard_.clear();
    });
  }
}

void TLumPopupMenu::CloseMenu(bool normal) {
  if (!open_) return;
  open_ = false;
  right_click_ = false;
  repeat_timer_.SetEnabled(false);
  repeat_level_ = -1;
  for (Level& level : levels_) level.hot = level.pressed = level.open_sub = -1;
  RestoreDeactivation();
  if (OnMenuClose) OnMenuClose(*this, normal);
  CloseLevelsFrom(0);
}

void TLumPopupMenu::InstallDeactivation() {
  if (deactivation_installed_) return;
  TApplication& app = Application();
  saved_deactivate_ = app.OnDeactivate;
  deactivation_installed_ = true;
  std::weak_ptr<bool> alive = alive_;
  app.OnDeactivate = [this, alive] {
    if (auto a = alive.lock(); a && *a) CloseMenu(false);
  };
}

void TLumPopupMenu::RestoreDeactivation() {
  if (!deactivation_installed_) return;
  deactivation_installed_ = false;
  Application().OnDeactivate = std::move(saved_deactivate_);
  saved_deactivate_ = nullptr;
}

}  // namespace orvo
