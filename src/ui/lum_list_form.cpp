// The drop-down window: sizes, layout, painting and input of the combobox's list.
#include "ui/lum_list_form.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/lum_combobox.h"
#include "ui/lum_ui_drawing.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

constexpr uint32_t kCaptionFormat =
    kDtLeft | kDtVCenter | kDtSingleLine | kDtEndEllipsis | kDtNoPrefix;
constexpr int kGap = 2;  // between items
constexpr TColor kPlainBorder = MakeColor(166, 174, 186);

}  // namespace

TLumListForm::TLumListForm(TLumCombobox& box) : box_(box) {
  ToolWindow = true;
  ActivateOnClick = true;
  SetTopMost(true);
  PopupParent = box.Form();
  Layered = !box.ImgForm.empty();
  LayeredFromTree = Layered;
  Color = clWhite;
  KeyPreview = false;
  bar_ = Make<TLumScrollBar>();
  bar_->Name = "lstScroll";
  bar_->SetTransparent(true);
  bar_->SetVisible(false);
  bar_->OnScroll = [this](TLumScrollBar&, int& pos) { SetFirst(pos); };
  OnDeactivate = [this](TForm&) { Closed(true); };
}

TLumListForm::~TLumListForm() {
  OnDeactivate = nullptr;
  if (deactivate_installed_) Application().OnDeactivate = std::move(saved_deactivate_);
}

int TLumListForm::Margin() const { return Layered ? box_.AlphaWidth : 2; }

int TLumListForm::ItemHeight(TLumCboxItem& item) const {
  int h = box_.ItemFrame(1)   ? box_.ItemFrame(1)->height()
          : box_.ItemFrame(0) ? box_.ItemFrame(0)->height()
                              : 20;
  if (box_.OnItemMeasure) box_.OnItemMeasure(item, h);
  return std::max(h, 1);
}

Size TLumListForm::Measure() {
  items_.clear();
  for (int i = 0; i < box_.ItemCount(); ++i) {
    TLumCboxItem* item = box_.Items(i);
    if (item->Visible) items_.push_back(item);
  }
  const int n = std::min(static_cast<int>(items_.size()), std::max(box_.ShowitemCount, 1));
  int sum = 0;
  for (int i = 0; i < n; ++i) sum += ItemHeight(*items_[static_cast<size_t>(i)]) + kGap;
  const int height = Layered ? sum + 2 * box_.AlphaWidth + 2 : sum + 4;
  return {box_.Width(), n > 0 ? height : 0};
}

void TLumListForm::Open(Point at, int first_in_view) {
  const Size size = Measure();
  SetBounds(at.x, at.y, size.cx, size.cy);
  const int count = static_cast<int>(items_.size());
  const bool scrolls = count > box_.ShowitemCount && box_.VerScrollRes;
  bar_->SetVisible(scrolls);
  if (scrolls) {
    bar_->SetScrollRes(box_.VerScrollRes);
    const int m = Margin();
    bar_->SetBounds(size.cx - m - bar_->Width(), m, bar_->Width(), size.cy - 2 * m);
    bar_->SetParams(0, count - 1, box_.ShowitemCount);
  }
  hot_ = pressed_ = -1;
  check_hot_ = check_pressed_ = false;
  first_ = 0;
  SetFirst(std::clamp(first_in_view - box_.ShowitemCount + 1, 0, count));
  if (first_in_view < first_) SetFirst(first_in_view);
  LayOut();
  InvalidateRect(ClientRect());
  if (Layered) RepaintLayered();
  Show();
  if (Layered) RepaintLayered();
  // The list closes when the program loses the activation; the handler before comes back.
  if (!deactivate_installed_) {
    TApplication& app = Application();
    saved_deactivate_ = app.OnDeactivate;
    deactivate_installed_ = true;
    app.OnDeactivate = [this] { Closed(true); };
  }
}

void TLumListForm::CloseList() { Closed(false); }

void TLumListForm::Closed(bool by_deactivation) {
  if (deactivate_installed_) {
    deactivate_installed_ = false;
    Application().OnDeactivate = std::move(saved_deactivate_);
    saved_deactivate_ = nullptr;
  }
  if (!Shown()) return;
  Hide();
  box_.ListClosed(by_deactivation);
}

void TLumListForm::SetFirst(int first) {
  const int count = static_cast<int>(items_.size());
  first = std::clamp(first, 0, std::max(count - box_.ShowitemCount, 0));
  if (first == first_ && shown_ > 0) return;
  first_ = first;
  if (bar_->Visible() && bar_->Position() != first_) bar_->SetPosition(first_);
  hot_ = pressed_ = -1;
  LayOut();
  Refresh();
}

void TLumListForm::LayOut() {
  const int m = Margin();
  const int right = Width() - m - (bar_->Visible() ? bar_->Width() : 0);
  int y = m + (Layered ? 1 : 0);
  const int limit = Height() - m;
  for (TLumCboxItem* item : items_) item->ItemRect = item->CheckRect = {-1, -1, -1, -1};
  shown_ = 0;
  for (size_t i = static_cast<size_t>(first_); i < items_.size(); ++i) {
    TLumCboxItem& item = *items_[i];
    const int h = ItemHeight(item);
    if (y + h > limit) break;
    item.ItemRect = {m, y, right, y + h};
    if (box_.ShowCheckBox) {
      if (const PngImage* check = box_.CheckFrame(false, false)) {
        const int top = y + (h - check->height()) / 2;
        item.CheckRect = RectOfSize(m + 2, top, check->width(), check->height());
      }
    }
    ++shown_;
    y += h + kGap;
  }
}

void TLumListForm::Refresh() {
  InvalidateRect(ClientRect());
  if (!Layered) Update();
}

TLumCboxItem* TLumListForm::HotItem() const {
  return hot_ >= 0 ? items_[static_cast<size_t>(hot_)] : nullptr;
}

Rect TLumListForm::ItemScreenRect(const TLumCboxItem& item) const {
  if (!Shown() || item.ItemRect.left < 0) return {};
  return item.ItemRect.Offset(Left(), Top());
}

// --- painting ---

const PngImage* TLumListForm::SlicedFrame(int state, int width) {
  if (width != sliced_width_) {
    sliced_width_ = width;
    for (int i = 0; i < 4; ++i) {
      sliced_[i] = PngImage();
      const PngImage* frame = box_.ItemFrame(i);
      if (!frame) continue;
      PngImage source = *frame;
      std::optional<PngImage> s;
      if (box_.itemsplit.ValidColumns() && box_.itemsplit.Left > 0) {
        s = SlicePngHorz(source, box_.itemsplit.Left, box_.itemsplit.Right, 255, clNone, width);
      }
      sliced_[i] = s ? std::move(*s) : std::move(source);
    }
  }
  return sliced_[state].empty() ? nullptr : &sliced_[state];
}

void TLumListForm::Paint(Canvas& canvas) {
  const int w = Width(), h = Height();
  if (Layered) {
    if (background_.width() != w || background_.height() != h) {
      NinePng pieces;
      PngImage skin = box_.ImgForm;
      const TLumUIPadding& s = box_.Formsplit;
      if (s.ValidNine() &&
          CutNinePng(skin, {s.Left, s.Top}, {s.Right, s.Bottom}, 255, clNone, pieces)) {
        DrawNineTiled(background_, w, h, pieces);
      } else {
        background_.SetSize(w, h);
        background_.Clear(0);
        background_.canvas().StretchDrawPng(background_.bounds(), skin);
      }
    }
    canvas.Draw(0, 0, background_.view(), DrawMode::kOpaque);
  } else {
    canvas.brush.style = BrushStyle::kSolid;
    canvas.brush.color = Color;
    canvas.FillRect(ClientRect());
    canvas.brush.color = kPlainBorder;
    canvas.FrameRect(ClientRect());
  }
  for (int i = first_; i < first_ + shown_; ++i) DrawItem(canvas, i);
}

void TLumListForm::DrawItem(Canvas& canvas, int index) {
  TLumCboxItem& item = *items_[static_cast<size_t>(index)];
  const Rect r = item.ItemRect;
  bool default_draw = true;
  if (box_.OnItemDraw) box_.OnItemDraw(canvas, item, default_draw);
  if (!default_draw) return;
  int state = 0;
  TColor color = box_.FontItemColorNormal;
  if (!item.Enabled) {
    state = 3;
    color = box_.FontItemColorDisable;
  } else if (index == pressed_) {
    state = 2;
    color = box_.FontItemColorDown;
  } else if (index == hot_) {
    state = 1;
    color = box_.FontItemColorOver;
  } else if (&item == box_.SelectedItem()) {
    color = box_.FontItemColorDown;
  }
  if (const PngImage* frame = SlicedFrame(state, r.width())) {
    if (frame->width() == r.width() && frame->height() == r.height()) {
      canvas.DrawPng(r.left, r.top, *frame);
    } else {
      canvas.StretchDrawPng(r, *frame);
    }
  }
  int x = r.left + 4;
  if (box_.ShowCheckBox && item.CheckRect.left >= 0) {
    const bool hot = index == hot_ && check_hot_;
    if (const PngImage* check = box_.CheckFrame(item.Checked, hot)) {
      canvas.DrawPng(item.CheckRect.left, item.CheckRect.top, *check);
    }
    x = item.CheckRect.right + 4;
  }
  if (TLumImageList* images = box_.Imagelist) {
    if (item.ImageIndex >= 0 && item.ImageIndex < images->Count()) {
      images->Draw(&canvas, x, r.top + (r.height() - images->ImgHeight) / 2, item.ImageIndex,
                   item.Enabled);
    }
    x += images->ImgWidth + 4;
  }
  Font f = box_.font;
  f.color = color;
  const Point o = canvas.origin();
  const Rect text{x + o.x, r.top + o.y, r.right - 4 + o.x, r.bottom + o.y};
  DrawTextKeepAlpha(canvas.target(), f, Intersect(text, canvas.DeviceClip()), kCaptionFormat,
                    item.Caption);
}

// --- input ---

int TLumListForm::ItemAt(Point p) const {
  for (int i = first_; i < first_ + shown_; ++i) {
    const TLumCboxItem& item = *items_[static_cast<size_t>(i)];
    if (item.ItemRect.Contains(p)) return item.Enabled ? i : -1;
  }
  return -1;
}

void TLumListForm::SetHot(int index, bool check_hot) {
  if (index == hot_ && check_hot == check_hot_) return;
  hot_ = index;
  check_hot_ = check_hot;
  if (pressed_ >= 0 && pressed_ != index) pressed_ = -1;
  Refresh();
}

void TLumListForm::MouseMove(TShiftState, int x, int y) {
  const int index = ItemAt({x, y});
  const bool on_check =
      index >= 0 && items_[static_cast<size_t>(index)]->CheckRect.Contains({x, y});
  SetHot(index, on_check);
}

void TLumListForm::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button != mbLeft) return;
  MouseMove(shift, x, y);
  pressed_ = hot_;
  check_pressed_ = hot_ >= 0 && check_hot_;
  Refresh();
}

void TLumListForm::MouseUp(TMouseButton button, TShiftState, int x, int y) {
  if (button != mbLeft) return;
  const int pressed = pressed_;
  const bool check = check_pressed_;
  pressed_ = -1;
  check_pressed_ = false;
  const int under = ItemAt({x, y});
  if (pressed < 0 || under != pressed) {
    Refresh();
    return;
  }
  TLumCboxItem& item = *items_[static_cast<size_t>(under)];
  box_.ItemReleased(item, check && item.CheckRect.Contains({x, y}));
}

bool TLumListForm::MouseWheel(int delta, TShiftState, int, int) {
  int notches = delta / os::kWheelDelta;
  if (notches == 0) notches = delta > 0 ? 1 : -1;
  SetFirst(first_ - notches);
  return true;
}

void TLumListForm::MouseLeave() {
  if (hot_ >= 0) SetHot(-1, false);
}

void TLumListForm::KeyDown(uint16_t& key, TShiftState) {
  const int count = static_cast<int>(items_.size());
  switch (key) {
    case kVkEscape: CloseList(); return;
    case kVkReturn:
      if (hot_ >= 0) box_.ItemReleased(*items_[static_cast<size_t>(hot_)], false);
      return;
    case kVkDown:
    case kVkUp: {
      int i = hot_;
      const int step = key == kVkDown ? 1 : -1;
      do {
        i += step;
      } while (i >= 0 && i < count && !items_[static_cast<size_t>(i)]->Enabled);
      if (i < 0 || i >= count) return;
      if (i < first_) SetFirst(i);
      if (i >= first_ + shown_) SetFirst(i - shown_ + 1);
      SetHot(i, false);
      return;
    }
    default: return;
  }
}

}  // namespace orvo
