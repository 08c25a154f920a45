// The scroll bar's skin frames, its geometry (buttons, track, thumb, page areas) for the
// current value, and its painting: track, then buttons, then thumb with its grip.
#include <algorithm>

#include "ui/desktop.h"
#include "ui/lum_scroll_bar.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

enum { kNormal = 0, kOver = 1, kDown = 2, kDisabled = 3 };

}  // namespace

const PngImage* TLumScrollBar::Strip::Frame(int index) const {
  if (index < 0 || index >= 4 || !frames[static_cast<size_t>(index)]) return nullptr;
  return &*frames[static_cast<size_t>(index)];
}

int TLumScrollBar::Strip::FrameWidth() const { return frames[0] ? frames[0]->width() : 0; }
int TLumScrollBar::Strip::FrameHeight() const { return frames[0] ? frames[0]->height() : 0; }

void TLumScrollBar::SetScrollRes(TLumScrollBarRes* res) {
  res_ = res;
  SkinChanged();
  Changed();
}

void TLumScrollBar::SkinChanged() {
  if (res_) static_cast<TLumScrollBarRes&>(*this) = *res_;
  auto cut = [this](PngImage strip, int count, Strip& out) {
    out = Strip{};
    if (strip.empty() || count < 1) return;
    out.count = std::min(count, 4);
    for (int i = 0; i < out.count; ++i) {
      out.frames[static_cast<size_t>(i)] =
          SplitMode == SmHor ? StateFrameHorz(strip, count, i) : StateFrameVert(strip, count, i);
    }
  };
  cut(ImgBack, BackStateCount, back_);
  cut(ImgSlider, SliderStateCount, slider_);
  cut(ImgBtnLT, BtnStateCount, first_);
  cut(ImgBtnRB, BtnStateCount, second_);
  cut(ImgCenter, CenterStateCount, center_);
  for (auto& c : thumb_cache_) c = {-1, PngImage()};
  for (auto& c : track_cache_) c = {-1, PngImage()};
}

// --- geometry ---

Rect TLumScrollBar::Oriented(int along_start, int along_end, int across_start,
                             int across_end) const {
  if (kind_ == skVer) return {across_start, along_start, across_end, along_end};
  return {along_start, across_start, along_end, across_end};
}

int TLumScrollBar::RangeSpan() const { return max_ - min_ - page_ + (page_ > 0 ? 1 : 0); }

TLumScrollBar::Geometry TLumScrollBar::Measure() const {
  Geometry g;
  const bool vertical = kind_ == skVer;
  g.length = vertical ? Height() : Width();
  g.across = vertical ? Width() : Height();
  // A button's size along and across the bar is its frame's (a horizontal bar's frames
  // lie on their side already).
  auto along_of = [vertical](const Strip& s) {
    return vertical ? s.FrameHeight() : s.FrameWidth();
  };
  auto across_of = [vertical](const Strip& s) {
    return vertical ? s.FrameWidth() : s.FrameHeight();
  };
  auto centred = [&](const Strip& s, int start, int end) {
    const int size = across_of(s) > 0 ? std::min(across_of(s), g.across) : g.across;
    const int left = (g.across - size) / 2;
    return Oriented(start, end, left, left + size);
  };
  g.track_start = 0;
  g.track_end = g.length;
  if (ShowButton) {
    const int a = along_of(first_), b = along_of(second_);
    if (JoinButton) {
      g.second = centred(second_, g.length - b, g.length);
      g.first = centred(first_, g.length - b - a, g.length - b);
      g.track_end = g.length - a - b + BtnoffSet;
    } else {
      g.first = centred(first_, 0, a);
      g.second = centred(second_, g.length - b, g.length);
      g.track_start = a - BtnoffSet;
      g.track_end = g.length - (b - BtnoffSet);
    }
    g.track_start = std::clamp(g.track_start, 0, g.length);
    g.track_end = std::clamp(g.track_end, g.track_start, g.length);
  }
  const int track = g.track_end - g.track_start;
  const int system = SystemThumbLength();
  int thumb = system;
  const int span = max_ - min_ + 1;
  if (page_ > 0 && span > 0) {
    thumb = std::max(Rnd(static_cast<double>(track) * page_ / span), system * 3 / 2);
  }
  if (thumb >= track) thumb = 0;
  g.thumb_length = thumb;
  const int r = RangeSpan();
  if (r <= 0 || thumb == 0) {
    g.thumb_start = g.track_start;
  } else if (position_ > max_ - page_ + 1) {
    g.thumb_start = g.track_end - thumb;
  } else {
    g.thumb_start =
        Rnd(static_cast<double>(position_ - min_) * (track - thumb) / r) + g.track_start;
  }
  return g;
}

int TLumScrollBar::ThumbLength() const { return Measure().thumb_length; }

int TLumScrollBar::PositionFromPixel(int p) const {
  const Geometry g = Measure();
  const int track = g.track_end - g.track_start;
  const int r = RangeSpan();
  if (track == g.thumb_length || g.thumb_length == 0 || r <= 0) return 0;
  const int pos =
      Rnd(static_cast<double>(r) * (p - g.track_start) / (track - g.thumb_length) + min_);
  return std::clamp(pos, min_, std::max(min_, max_ - page_ + 1));
}

Rect TLumScrollBar::PartRect(Part part) const {
  const Geometry g = Measure();
  switch (part) {
    case kFirstButton: return ShowButton ? g.first : Rect{};
    case kSecondButton: return ShowButton ? g.second : Rect{};
    case kThumb: {
      if (g.thumb_length <= 0) return {};
      const int w = slider_.frames[0]
                        ? (kind_ == skVer ? slider_.FrameWidth() : slider_.FrameHeight())
                        : g.across;
      const int size = std::min(w, g.across);
      const int left = (g.across - size) / 2;
      return Oriented(g.thumb_start, g.thumb_start + g.thumb_length, left, left + size);
    }
    case kPageBefore:
      if (g.thumb_length <= 0) return {};
      return Oriented(g.track_start, g.thumb_start, 0, g.across);
    case kPageAfter:
      if (g.thumb_length <= 0) return {};
      return Oriented(g.thumb_start + g.thumb_length, g.track_end, 0, g.across);
    case kNone: break;
  }
  return {};
}

TLumScrollBar::Part TLumScrollBar::PartAt(Point p) const {
  if (!ClientRect().Contains(p)) return kNone;
  for (Part part : {kFirstButton, kSecondButton, kThumb, kPageBefore, kPageAfter}) {
    if (PartRect(part).Contains(p)) return part;
  }
  // Beside a slim thumb, across the bar, still counts as the thumb.
  const Geometry g = Measure();
  const int along = Along(p);
  if (g.thumb_length > 0 && along >= g.thumb_start && along < g.thumb_start + g.thumb_length) {
    return kThumb;
  }
  return kNone;
}

// --- painting ---

const PngImage& TLumScrollBar::SlicedAlong(const Strip& strip, int frame,
                                           const TLumUIPadding& split, int length,
                                           std::array<std::pair<int, PngImage>, 4>& cache) const {
  auto& slot = cache[static_cast<size_t>(frame)];
  if (slot.first == length) return slot.second;
  slot.first = length;
  PngImage source = *strip.Frame(frame);
  std::optional<PngImage> sliced;
  if (kind_ == skVer && split.ValidRows() && split.Top > 0) {
    sliced = SlicePngVert(source, split.Top, split.Bottom, 255, clNone, length);
  } else if (kind_ == skHor && split.ValidColumns() && split.Left > 0) {
    sliced = SlicePngHorz(source, split.Left, split.Right, 255, clNone, length);
  }
  // Without a valid split the frame is stretched when drawn.
  slot.second = sliced ? std::move(*sliced) : std::move(source);
  return slot.second;
}

void TLumScrollBar::DrawAlong(Canvas& canvas, const PngImage& picture, const Rect& r) const {
  if (picture.width() == r.width() && picture.height() == r.height()) {
    canvas.DrawPng(r.left, r.top, picture);
  } else {
    canvas.StretchDrawPng(r, picture);
  }
}

void TLumScrollBar::DrawControl(Bitmap32& bitmap) {
  Canvas& canvas = bitmap.canvas();
  const Geometry g = Measure();
  const bool enabled = EffectivelyEnabled();
  const bool pressing = pressed_ != kNone;

  // Track.
  int track_frame = kNormal;
  if (!enabled && back_.Frame(kDisabled))
    track_frame = kDisabled;
  else if (enabled && pressing && back_.Frame(kDown))
    track_frame = kDown;
  else if (enabled && (over_bar_ || pressing) && back_.Frame(kOver))
    track_frame = kOver;
  if (back_.Frame(track_frame) && g.track_end > g.track_start) {
    const PngImage& track =
        SlicedAlong(back_, track_frame, BackSplit, g.track_end - g.track_start, track_cache_);
    DrawAlong(canvas, track, Oriented(g.track_start, g.track_end, 0, g.across));
  }

  // Buttons.
  if (ShowButton) {
    auto button = [&](const Strip& s, Part part, const Rect& r) {
      int f = kNormal;
      if (!enabled)
        f = kDisabled;
      else if (pressed_ == part)
        f = kDown;
      else if (hover_ == part)
        f = kOver;
      const PngImage* frame = s.Frame(f) ? s.Frame(f) : s.Frame(kNormal);
      if (frame && !r.empty()) DrawAlong(canvas, *frame, r);
    };
    button(first_, kFirstButton, g.first);
    button(second_, kSecondButton, g.second);
  }

  // Thumb and its grip.
  const Rect thumb = PartRect(kThumb);
  if (thumb.empty()) return;
  int f = kNormal;
  if (!enabled)
    f = kDisabled;
  else if (Dragging())
    f = kDown;
  else if (hover_ == kThumb)
    f = kOver;
  if (!slider_.Frame(f)) f = kNormal;
  if (slider_.Frame(f)) {
    DrawAlong(canvas, SlicedAlong(slider_, f, SliderSplit, g.thumb_length, thumb_cache_), thumb);
  }
  const PngImage* grip = center_.Frame(f) ? center_.Frame(f) : center_.Frame(kNormal);
  if (grip && grip->width() <= thumb.width() && grip->height() <= thumb.height()) {
    canvas.DrawPng(thumb.left + (thumb.width() - grip->width()) / 2,
                   thumb.top + (thumb.height() - grip->height()) / 2, *grip);
  }
}

}  // namespace orvo
