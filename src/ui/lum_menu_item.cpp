// Menu items: sub-items, radio groups, shortcuts.
#include "ui/lum_menu_item.h"

#include "ui/lum_popup_menu.h"

namespace orvo {
namespace {

std::string KeyName(uint8_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x70 + 1);
  switch (key) {
    case 0x08: return "BkSp";
    case 0x09: return "Tab";
    case 0x0D: return "Enter";
    case 0x1B: return "Esc";
    case 0x20: return "Space";
    case 0x21: return "PgUp";
    case 0x22: return "PgDn";
    case 0x23: return "End";
    case 0x24: return "Home";
    case 0x25: return "Left";
    case 0x26: return "Up";
    case 0x27: return "Right";
    case 0x28: return "Down";
    case 0x2D: return "Ins";
    case 0x2E: return "Del";
    default: return {};
  }
}

}  // namespace

std::string ShortCutToText(TShortCut shortcut) {
  const std::string key = KeyName(static_cast<uint8_t>(shortcut & 0xFF));
  if (key.empty()) return {};
  std::string text;
  if (shortcut & scShift) text += "Shift+";
  if (shortcut & scCtrl) text += "Ctrl+";
  if (shortcut & scAlt) text += "Alt+";
  return text + key;
}

TLumMenuItem::~TLumMenuItem() {
  if (menu_ && shortcut_ != scNone) menu_->ShortCutChanged(*this, false);
  if (menu_) menu_->ItemGone(*this);
}

void TLumMenuItem::Attach(TLumPopupMenu* menu, TLumMenuItem* parent, int level) {
  const bool listed = menu_ && shortcut_ != scNone;
  if (listed) menu_->ShortCutChanged(*this, false);
  menu_ = menu;
  parent_ = parent;
  level_ = level;
  if (menu_ && shortcut_ != scNone) menu_->ShortCutChanged(*this, true);
  for (auto& sub : sub_items_) sub->Attach(menu, this, level + 1);
}

void TLumMenuItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  if (menu_) menu_->ItemChanged(*this);
}

TLumMenuItem& TLumMenuItem::AddSubItem(std::unique_ptr<TLumMenuItem> item) {
  TLumMenuItem& added = *item;
  sub_items_.push_back(std::move(item));
  added.Attach(menu_, this, level_ + 1);
  return added;
}

TLumMenuItem& TLumMenuItem::AddSubItem(const std::string& caption) {
  return AddSubItem(std::make_unique<TLumMenuItem>(caption));
}

TLumMenuItem* TLumMenuItem::SubItem(int index) const {
  if (index < 0 || index >= SubItemCount()) return nullptr;
  return sub_items_[static_cast<size_t>(index)].get();
}

void TLumMenuItem::ClearSubItems() {
  for (auto& sub : sub_items_) {
    sub->ClearSubItems();
    if (sub->OnDelete) sub->OnDelete(*sub);
  }
  sub_items_.clear();
}

std::vector<TLumMenuItem*> TLumMenuItem::Siblings() const {
  std::vector<TLumMenuItem*> out;
  if (parent_) {
    for (auto& sub : parent_->sub_items_) out.push_back(sub.get());
  } else if (menu_) {
    for (int i = 0; i < menu_->ItemCount(); ++i) out.push_back(menu_->Items(i));
  }
  return out;
}

void TLumMenuItem::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (checked_ && RadioItem) {
    for (TLumMenuItem* other : Siblings()) {
      if (other != this && other->RadioItem && other->GroupIndex == GroupIndex) {
        other->checked_ = false;
      }
    }
  }
  if (menu_) menu_->ItemChanged(*this);
}

void TLumMenuItem::SetShortCut(TShortCut shortcut) {
  if (shortcut == shortcut_) return;
  if (menu_ && shortcut_ != scNone) menu_->ShortCutChanged(*this, false);
  shortcut_ = shortcut;
  if (menu_ && shortcut_ != scNone) menu_->ShortCutChanged(*this, true);
  if (menu_) menu_->ItemChanged(*this);
}

}  // namespace orvo
