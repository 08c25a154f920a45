// The pointer on a menu level: hot items and submenus, presses and picks, right clicks,
// the scroll buttons with auto-repeat, the wheel, and Esc.
#include <algorithm>

#include "platform/ui_dispatcher.h"
#include "ui/lum_popup_menu.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

bool ContainsItem(const TLumPopupMenu& menu, const TLumMenuItem* wanted) {
  std::vector<const TLumMenuItem*> stack;
  stack.reserve(static_cast<size_t>(menu.ItemCount()));
  for (int i = 0; i < menu.ItemCount(); ++i) stack.push_back(menu.Items(i));
  while (!stack.empty()) {
    const TLumMenuItem* item = stack.back();
    stack.pop_back();
    if (item == wanted) return true;
    for (int i = 0; i < item->SubItemCount(); ++i) stack.push_back(item->SubItem(i));
  }
  return false;
}

}  // namespace

int TLumPopupMenu::ItemAt(const Level& level, Point p) const {
  for (int i = level.first; i < level.first + level.shown; ++i) {
    const TLumMenuItem& item = *level.items[static_cast<size_t>(i)];
    if (item.ItemRect.Contains(p)) {
      return item.Enabled && !item.IsSeparator() ? i : -1;
    }
  }
  return -1;
}

void TLumPopupMenu::SetHot(int depth, int index) {
  Level& level = levels_[depth];
  if (index == level.hot) return;
  level.hot = index;
  if (level.pressed >= 0 && level.pressed != index) level.pressed = -1;
  if (index >= 0 && level.open_sub >= 0 && level.open_sub != index) CloseLevelsFrom(depth + 1);
  if (index >= 0 && depth < 2 && level.open_sub != index &&
      level.items[static_cast<size_t>(index)]->SubItemCount() > 0) {
    OpenSubmenu(depth, index);
    return;
  }
  Render(level);
}

void TLumPopupMenu::LevelMouseMove(int depth, int x, int y) {
  Level& level = levels_[depth];
  if (!open_ || !level.form) return;
  if (level.scrolling) {
    const bool up = level.up.Contains({x, y}), down = level.down.Contains({x, y});
    if (up != level.up_hot || down != level.down_hot) {
      level.up_hot = up;
      level.down_hot = down;
      Render(level);
    }
    if (up || down) return;
  }
  SetHot(depth, ItemAt(level, {x, y}));
}

void TLumPopupMenu::LevelMouseLeave(int depth) {
  Level& level = levels_[depth];
  if (!open_ || !level.form) return;
  const bool hot_stays = level.hot < 0 || level.hot == level.open_sub;
  if (hot_stays && !level.up_hot && !level.down_hot) return;
  if (!hot_stays) level.hot = -1;
  level.up_hot = level.down_hot = false;
  Render(level);
}

void TLumPopupMenu::LevelMouseDown(int depth, TMouseButton button, int x, int y) {
  Level& level = levels_[depth];
  if (!open_ || !level.form) return;
  if (level.scrolling && button == mbLeft) {
    const bool up = level.up.Contains({x, y}), down = level.down.Contains({x, y});
    if (up || down) {
      level.up_pressed = up;
      level.down_pressed = down;
      repeat_level_ = depth;
      repeat_step_ = up ? -1 : 1;
      Scroll(depth, repeat_step_);
      repeat_timer_.SetInterval(KeyboardRepeatDelay());
      repeat_timer_.Restart();
      repeat_timer_.SetEnabled(true);
      return;
    }
  }
  SetHot(depth, ItemAt(level, {x, y}));
  if (!open_ || !level.form || level.hot < 0) return;
  level.pressed = level.hot;
  Render(level);
}

void TLumPopupMenu::LevelMouseUp(int depth, TMouseButton button, int x, int y) {
  Level& level = levels_[depth];
  if (!open_ || !level.form) return;
  if (button == mbLeft && (level.up_pressed || level.down_pressed)) {
    level.up_pressed = level.down_pressed = false;
    repeat_timer_.SetEnabled(false);
    repeat_level_ = -1;
    Render(level);
    return;
  }
  const int pressed = level.pressed;
  level.pressed = -1;
  const int under = ItemAt(level, {x, y});
  if (pressed < 0 || pressed != under || pressed != level.hot) {
    if (pressed >= 0) Render(level);
    return;
  }
  TLumMenuItem& item = *level.items[static_cast<size_t>(pressed)];
  if (button == mbLeft) {
    Activate(depth, pressed);
    return;
  }
  if (button != mbRight) return;
  const auto& handler = depth == 0   ? OnMenuItemRightClick
                        : depth == 1 ? OnSubMenuItemRightClick
                                     : OnLastMenuItemRightClick;
  const auto call = handler;  // the handler may replace itself
  const std::weak_ptr<bool> alive = alive_;
  right_click_ = true;
  if (call) call(*this, item);
  if (alive.expired() || !*alive.lock()) return;
  right_click_ = false;
  if (open_ && level.form) Render(level);
}

void TLumPopupMenu::Activate(int depth, int index) {
  Level& level = levels_[depth];
  TLumMenuItem* item = level.items[static_cast<size_t>(index)];
  if (item->SubItemCount() > 0 || !item->Enabled) {
    Render(level);
    return;
  }
  if (item->AutoCheck) item->SetChecked(!item->Checked());
  if (item->RadioItem && item->Checked()) {
    for (TLumMenuItem* other : level.items) {
      if (other != item && other->RadioItem && other->GroupIndex == item->GroupIndex) {
        other->SetChecked(false);
      }
    }
  }
  const auto click = item->OnClick;
  const std::weak_ptr<bool> alive = alive_;
  CloseMenu(true);
  // OnMenuClose may have cleared the items (or freed the menu), and so may the click.
  const auto run = [this, alive, item, click] {
    if (alive.expired() || !*alive.lock() || !ContainsItem(*this, item)) return;
    if (click) click(*item);
  };
  // The click runs once the input that chose it has been handled, as a menu command
  // arrives on Windows: a handler that runs a modal loop (a dialog) would otherwise free
  // the closed menu's window while that window is still handling the press.
  if (auto dispatcher = os::CurrentUiDispatcher(); dispatcher && click) {
    dispatcher->Post(run);
  } else {
    run();
  }
}

void TLumPopupMenu::Scroll(int depth, int step) {
  Level& level = levels_[depth];
  const int count = static_cast<int>(level.items.size());
  const int first = std::clamp(level.first + step, 0, std::max(count - level.shown, 0));
  if (first == level.first) return;
  level.first = first;
  if (level.open_sub >= 0) CloseLevelsFrom(depth + 1);
  level.hot = level.pressed = -1;
  Render(level);
}

void TLumPopupMenu::RepeatTick() {
  if (repeat_level_ < 0 || !open_) {
    repeat_timer_.SetEnabled(false);
    return;
  }
  repeat_timer_.SetInterval(KeyboardRepeatInterval());
  Scroll(repeat_level_, repeat_step_);
}

void TLumPopupMenu::LevelMouseWheel(int depth, int delta) {
  Level& level = levels_[depth];
  if (!open_ || !level.form || !level.scrolling || delta == 0) return;
  int notches = delta / os::kWheelDelta;
  if (notches == 0) notches = delta > 0 ? 1 : -1;
  Scroll(depth, -notches);
}

void TLumPopupMenu::LevelKeyDown(int, uint16_t key) {
  if (key == kVkEscape) CloseMenu(false);
}

}  // namespace orvo
