// The message box's showing, placing, rendering and interaction. Composing the picture is
// in lum_message_compose.cpp.
#include "ui/lum_message_box.h"

#include "ui/desktop.h"

namespace orvo {

// --- the window ---

TLumUIMessageForm::TLumUIMessageForm(TLumMessageBox& box) : box_(box) {
  Layered = true;
  ToolWindow = true;
  KeyPreview = true;
  SetTopMost(true);
  OnClose = [this](TForm&, TCloseAction&) {
    // Closing by any other way than the box's own buttons and keys.
    if (box_.Busy() && ModalResult == mrNone) ModalResult = kMsgResultNo;
  };
}

void TLumUIMessageForm::MouseMove(TShiftState, int x, int y) { box_.PointerMoved(x, y); }

void TLumUIMessageForm::MouseDown(TMouseButton button, TShiftState, int x, int y) {
  box_.PointerPressed(button, x, y);
}

void TLumUIMessageForm::MouseUp(TMouseButton button, TShiftState, int x, int y) {
  box_.PointerReleased(button, x, y);
}

void TLumUIMessageForm::KeyDown(uint16_t& key, TShiftState) { box_.KeyPressed(key); }

// --- the box ---

TLumMessageBox::TLumMessageBox() = default;
TLumMessageBox::~TLumMessageBox() = default;

int TLumMessageBox::ShowMessageBox(const std::string& title, const std::string& message,
                                   TForm* owner_record, bool center, TForm* owner_form, int kind,
                                   int icon) {
  if (busy_) return 0;
  busy_ = true;
  kind_ = kind;
  result_ = kMsgResultNo;
  PrepareFrames();
  Compose(title, message, icon);
  PrepareButtons();
  if (!form_) form_ = std::make_unique<TLumUIMessageForm>(*this);
  if (!box_.empty()) form_->SetBounds(form_->Left(), form_->Top(), box_.width(), box_.height());
  TForm* owner = owner_record ? owner_record : owner_form ? owner_form : Owner;
  Centre(center ? nullptr : owner);
  close_hot_ = first_hot_ = second_hot_ = false;
  close_pressed_ = first_pressed_ = second_pressed_ = false;
  Render();
  const TModalResult modal = form_->ShowModal();
  int result = modal;
  if (result != kMsgResultOk && result != kMsgResultYes) result = kMsgResultNo;
  busy_ = false;
  return result;
}

void TLumMessageBox::Centre(TForm* owner) {
  const int w = form_->Width(), h = form_->Height();
  if (!owner) {
    const Rect work = WorkAreaAt({PrimaryScreenRect().left, PrimaryScreenRect().top});
    form_->SetBounds(work.left + (work.width() - w) / 2, work.top + (work.height() - h) / 2, w, h);
    return;
  }
  form_->SetBounds(owner->Left() + (owner->Width() - w) / 2,
                   owner->Top() + (owner->Height() - h) / 2, w, h);
}

void TLumMessageBox::Render() {
  if (!form_ || box_.empty()) return;
  picture_ = box_;
  Canvas& canvas = picture_.canvas();
  canvas.ResetState();
  const PngImage& close = close_frames_[close_pressed_ ? 2 : close_hot_ ? 1 : 0];
  if (!close.empty()) canvas.DrawPng(close_rect_.left, close_rect_.top, close);
  auto frame = [](bool pressed, bool hot, bool focused) {
    return pressed ? 2 : hot ? 1 : focused ? 3 : 0;
  };
  const Bitmap32& first = first_frames_[frame(first_pressed_, first_hot_, first_focused_)];
  if (!first.empty()) {
    canvas.Draw(first_rect_.left, first_rect_.top, first.view(), DrawMode::kBlend,
                CombineMode::kMerge);
  }
  if (has_second_) {
    const Bitmap32& second = second_frames_[frame(second_pressed_, second_hot_, second_focused_)];
    if (!second.empty()) {
      canvas.Draw(second_rect_.left, second_rect_.top, second.view(), DrawMode::kBlend,
                  CombineMode::kMerge);
    }
  }
  form_->UpdateLayered(picture_, static_cast<uint8_t>(std::clamp(Alpha, 0, 255)));
}

void TLumMessageBox::Finish(int result) {
  result_ = result;
  if (form_) form_->ModalResult = result;
}

void TLumMessageBox::PointerMoved(int x, int y) {
  const Point p{x, y};
  const bool close = close_rect_.Contains(p);
  const bool first = first_rect_.Contains(p);
  const bool second = has_second_ && second_rect_.Contains(p);
  if (close != close_hot_ || first != first_hot_ || second != second_hot_) {
    close_hot_ = close;
    first_hot_ = first;
    second_hot_ = second;
    Render();
  }
  // Dragged from any point outside its buttons.
  const bool hovered = close_hot_ || first_hot_ || second_hot_;
  const bool pressed = close_pressed_ || first_pressed_ || second_pressed_;
  if (!hovered && !pressed && form_) form_->BeginSystemMove();
}

void TLumMessageBox::PointerPressed(TMouseButton button, int x, int y) {
  if (button != mbLeft) return;
  const Point p{x, y};
  if (close_rect_.Contains(p)) {
    close_pressed_ = true;
  } else if (first_rect_.Contains(p)) {
    first_pressed_ = true;
    first_focused_ = true;
    second_focused_ = false;
  } else if (has_second_ && second_rect_.Contains(p)) {
    second_pressed_ = true;
    second_focused_ = true;
    first_focused_ = false;
  } else {
    return;
  }
  Render();
}

void TLumMessageBox::PointerReleased(TMouseButton button, int x, int y) {
  if (button != mbLeft) return;
  const Point p{x, y};
  const int first_result = kind_ == kMsgYesNo ? kMsgResultNo : kMsgResultOk;
  int result = 0;
  // The close box answers as the first button does: No, or OK.
  if ((close_pressed_ && close_rect_.Contains(p)) || (first_pressed_ && first_rect_.Contains(p)))
    result = first_result;
  else if (second_pressed_ && has_second_ && second_rect_.Contains(p))
    result = kMsgResultYes;
  close_pressed_ = first_pressed_ = second_pressed_ = false;
  Render();
  if (result != 0) Finish(result);
}

void TLumMessageBox::KeyPressed(uint16_t key) {
  switch (key) {
    case kVkEscape: Finish(kMsgResultOk); return;
    case kVkReturn: Finish(first_focused_ ? kMsgResultNo : kMsgResultYes); return;
    case kVkLeft:
    case kVkUp:
    case kVkRight:
    case kVkDown:
      if (kind_ != kMsgYesNo) return;
      std::swap(first_focused_, second_focused_);
      Render();
      return;
    default: return;
  }
}

}  // namespace orvo
