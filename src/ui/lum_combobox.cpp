// The combobox's items and choice, the in-place edit, its input, and dropping the list
// down (and up, near the screen's bottom). Painting is in lum_combobox_draw.cpp.
#include "ui/lum_combobox.h"

#include <algorithm>

#include "platform/ui_dispatcher.h"
#include "ui/application.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/lum_list_form.h"

namespace orvo {

TLumCombobox::TLumCombobox() {
  SetBounds(0, 0, 145, 24);
  TabStop = true;
  Color = clWhite;
}

TLumCombobox::~TLumCombobox() {
  *alive_ = false;
  if (list_form_) list_form_->CloseList();
  list_form_.reset();
}

// --- items ---

TLumCboxItem& TLumCombobox::AddItem() {
  items_.push_back(std::make_unique<TLumCboxItem>());
  return *items_.back();
}

TLumCboxItem& TLumCombobox::AddItem(const std::string& caption) {
  TLumCboxItem& item = AddItem();
  item.Caption = caption;
  return item;
}

TLumCboxItem* TLumCombobox::Items(int index) const {
  if (index < 0 || index >= ItemCount()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

void TLumCombobox::Clear() {
  CloseUp();
  selected_ = nullptr;
  items_.clear();
  Changed();
}

int TLumCombobox::index() const {
  for (int i = 0; i < ItemCount(); ++i) {
    if (items_[static_cast<size_t>(i)].get() == selected_) return i;
  }
  return -1;
}

void TLumCombobox::SetIndex(int value) {
  if (value == -1) {
    selected_ = nullptr;
    return;
  }
  TLumCboxItem* item = Items(value);
  if (!item || item == selected_) return;
  selected_ = item;
  SetText(item->Caption);
  Changed();
  if (OnChange) OnChange(*item);
}

void TLumCombobox::SetText(const std::string& text) {
  text_ = text;
  if (editor_) editor_->SetText(text);
  Changed();
}

// --- the in-place edit ---

void TLumCombobox::SetCanInput(bool value) {
  if (value == can_input_) return;
  can_input_ = value;
  if (can_input_ && !editor_) {
    editor_ = Make<TLumEdit>();
    editor_->Name = Name.empty() ? "" : Name + "Edit";
    editor_->SetTransparent(true);
    editor_->OnChange = [this](TLumEdit& e) {
      text_ = e.Text();
      Changed();
    };
    editor_->OnKeyDown = [this](TControl&, uint16_t& key, TShiftState shift) {
      if (OnEditkeyDown) OnEditkeyDown(*this, key, shift);
    };
    editor_->OnKeyUp = [this](TControl&, uint16_t& key, TShiftState shift) {
      if (OnEditkeyUp) OnEditkeyUp(*this, key, shift);
    };
    editor_->OnkeyPress = [this](TLumEdit&, char16_t& key) {
      if (OnKeyPress) OnKeyPress(*this, key);
    };
    editor_->OnGetFocus = [this](TLumEdit&) {
      if (OnGetFocus) OnGetFocus(*this);
    };
    editor_->OnLostFocus = [this](TLumEdit&) {
      if (OnLostFocus) OnLostFocus(*this);
    };
  }
  if (editor_) {
    editor_->SetVisible(can_input_);
    PlaceEditor();
  }
  Changed();
}

void TLumCombobox::PlaceEditor() {
  if (!editor_) return;
  editor_->ImgInput = ImgEditInput;
  editor_->SelColor = EditSelColor;
  editor_->font = font;
  editor_->font.color = FontColorNormal;
  editor_->OutWidth = OutWidth;
  editor_->MarginText = 0;
  const Rect r = TextRect();
  editor_->SetBounds(r.left, OutWidth, r.width(), Height() - 2 * OutWidth);
  editor_->SetText(text_);
}

void TLumCombobox::Resize() {
  TLumUIParentControl::Resize();
  sliced_width_ = -1;
  PlaceEditor();
}

// --- pointer and keys ---

TLumCombobox::Part TLumCombobox::PartAt(Point p) const {
  if (!ClientRect().Contains(p)) return kNoPart;
  if (ButtonRect().Contains(p)) return kButton;
  if (ExtraBtn && ExtraButtonRect().Contains(p)) return kExtra;
  return kBox;
}

void TLumCombobox::MouseMove(TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseMove(shift, x, y);
  const Part now = PartAt({x, y});
  if (now == hot_) return;
  if (now == kExtra && !ExtraBtnHint.empty()) {
    extra_hint_.Show(*this, ExtraBtnHint);
  } else if (hot_ == kExtra) {
    extra_hint_.Restore(*this);
  }
  hot_ = now;
  Changed();
}

void TLumCombobox::MouseLeave() {
  TLumUIParentControl::MouseLeave();
  extra_hint_.Restore(*this);
  hot_ = kNoPart;
  Changed();
}

void TLumCombobox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseDown(button, shift, x, y);
  if (CanFocus() && !Focused() && !(editor_ && editor_->Focused())) SetFocus();
  if (button != mbLeft) return;
  pressed_ = PartAt({x, y});
  Changed();
  if (pressed_ == kButton || (pressed_ == kBox && !can_input_)) {
    // The press that closed the list by taking the activation does not open it again.
    if (just_closed_) {
      just_closed_ = false;
      return;
    }
    DropDown();
  }
}

void TLumCombobox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseUp(button, shift, x, y);
  if (button != mbLeft) return;
  const Part was = pressed_;
  pressed_ = kNoPart;
  Changed();
  const Part now = PartAt({x, y});
  const std::weak_ptr<bool> alive = alive_;
  if (was == kButton && now == kButton && OnbtnClick) OnbtnClick(*this);
  if (alive.expired()) return;
  if (was == kExtra && now == kExtra && OnExtraBtnClick) OnExtraBtnClick(*this);
}

void TLumCombobox::KeyDown(uint16_t& key, TShiftState shift) {
  TLumUIParentControl::KeyDown(key, shift);
  if (key == 0x73 /* F4 */ || ((shift & ssAlt) && (key == kVkDown || key == kVkUp))) {
    DroppedDown() ? CloseUp() : DropDown();
  } else if (key == kVkDown && !DroppedDown()) {
    SetIndex(std::min(index() + 1, ItemCount() - 1));
  } else if (key == kVkUp && !DroppedDown() && index() > 0) {
    SetIndex(index() - 1);
  }
}

void TLumCombobox::KeyPress(char16_t& key) {
  if (OnKeyPress) OnKeyPress(*this, key);
}

void TLumCombobox::DoEnter() {
  focused_ = true;
  Changed();
  TLumUIParentControl::DoEnter();
  if (can_input_ && editor_) {
    editor_->SetFocus();
    return;
  }
  if (OnGetFocus) OnGetFocus(*this);
}

void TLumCombobox::DoExit() {
  focused_ = false;
  Changed();
  TLumUIParentControl::DoExit();
  if (!(can_input_ && editor_) && OnLostFocus) OnLostFocus(*this);
}

// --- the drop-down ---

bool TLumCombobox::DroppedDown() const { return list_form_ && list_form_->Shown(); }

void TLumCombobox::DropDown() {
  if (items_.empty()) return;
  if (DroppedDown()) {
    CloseUp();
    return;
  }
  if (!list_form_) list_form_ = std::make_unique<TLumListForm>(*this);
  const Size size = list_form_->Measure();
  if (size.cx <= 0 || size.cy <= 0) return;
  TForm* form = Form();
  const Point origin = FormOrigin();
  const Point top_left = form ? form->ClientToScreen(origin) : origin;
  const Rect work = WorkAreaAt({top_left.x, top_left.y + Height()});
  Point at{top_left.x, top_left.y + Height()};
  dropped_up_ = at.y + size.cy > work.bottom;
  if (dropped_up_) at.y = top_left.y - size.cy;
  list_form_->Open(at, std::max(index(), 0));
  Changed();
}

void TLumCombobox::CloseUp() {
  if (list_form_ && list_form_->Shown()) list_form_->CloseList();
}

void TLumCombobox::ListClosed(bool by_deactivation) {
  pressed_ = kNoPart;
  Changed();
  if (!by_deactivation) return;
  // The activation went elsewhere: when it went to a press on this box, that press must
  // not open the list again. The mark lasts until the queue has handled the press.
  just_closed_ = true;
  if (auto dispatcher = os::CurrentUiDispatcher()) {
    std::weak_ptr<bool> alive = alive_;
    dispatcher->Post([this, alive] {
      if (auto a = alive.lock(); a && *a) just_closed_ = false;
    });
  }
}

void TLumCombobox::ItemReleased(TLumCboxItem& item, bool on_check_box) {
  const std::weak_ptr<bool> alive = alive_;
  if (on_check_box) {
    item.Checked = !item.Checked;
    if (OnItemCheck) OnItemCheck(*this, item);
    if (!alive.expired() && list_form_) list_form_->Refresh();
    return;
  }
  Choose(item);
}

void TLumCombobox::Choose(TLumCboxItem& item) {
  const std::weak_ptr<bool> alive = alive_;
  auto gone = [&] { return alive.expired() || !*alive.lock(); };
  const auto click = item.OnClick;
  SetText(item.Caption);
  if (OnItemClick) OnItemClick(*this, item);
  if (gone()) return;
  if (&item != selected_) {
    selected_ = &item;
    if (OnChange) OnChange(item);
    if (gone()) return;
  }
  // The handlers may have cleared the items.
  const bool still_there =
      std::any_of(items_.begin(), items_.end(), [&](const auto& i) { return i.get() == &item; });
  if (still_there && click) click(item);
  if (gone()) return;
  CloseUp();
}

}  // namespace orvo
