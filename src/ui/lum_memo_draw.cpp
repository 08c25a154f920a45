// The toolkit's own multi-line box: lines wrapped at the box's width (at spaces, or inside
// a word too long for a line), the scroll position and its bar, and the painting of the
// lines, the selection and the caret. The system's box, where there is one, draws itself;
// this control then only paints its border around it.
#include <algorithm>

#include "platform/text.h"
#include "ui/lum_memo.h"

namespace orvo {
namespace {

constexpr uint32_t kLineFormat = kDtLeft | kDtTop | kDtSingleLine | kDtNoPrefix | kDtNoClip;

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

char32_t CodePointAt(const std::u16string& t, int i, int* units) {
  const char16_t c = t[static_cast<size_t>(i)];
  if (IsHigh(c) && i + 1 < static_cast<int>(t.size())) {
    *units = 2;
    return 0x10000 + ((c - 0xD800) << 10) + (t[static_cast<size_t>(i) + 1] - 0xDC00);
  }
  *units = 1;
  return c;
}

}  // namespace

void TLumMemo::LayOut() {
  widths_.SetFont(font);
  const int width =
      std::max(InnerRect().width() - (bar_ && bar_->Visible() ? bar_->Width() : 0), 1);
  if (layout_valid_ && width == laid_width_) return;
  layout_valid_ = true;
  laid_width_ = width;
  lines_.clear();
  const std::u16string& t = buffer_.text();
  const int n = static_cast<int>(t.size());
  int start = 0;
  for (;;) {
    int end = start;
    while (end < n && t[static_cast<size_t>(end)] != '\r' && t[static_cast<size_t>(end)] != '\n')
      ++end;
    int after = end;
    if (after < n)
      after += (t[static_cast<size_t>(after)] == '\r' && after + 1 < n &&
                t[static_cast<size_t>(after) + 1] == '\n')
                   ? 2
                   : 1;
    // Wrap [start, end) into lines no wider than the box.
    int ls = start;
    do {
      int x = 0, i = ls, last_space = -1;
      while (i < end) {
        int units = 1;
        const int w = widths_.Width(CodePointAt(t, i, &units));
        if (x + w > width && i > ls) break;
        x += w;
        if (t[static_cast<size_t>(i)] == ' ') last_space = i + 1;
        i += units;
      }
      if (i >= end) {
        lines_.push_back({ls, end, after});
        break;
      }
      const int brk = last_space > ls ? last_space : i;
      lines_.push_back({ls, brk, brk});
      ls = brk;
    } while (ls < end);
    if (end >= n) break;
    start = after;
    if (start >= n) {
      lines_.push_back({n, n, n});  // the empty line after a final line break
      break;
    }
  }
  if (lines_.empty()) lines_.push_back({0, 0, 0});
  UpdateBar();
}

int TLumMemo::LineOf(int pos) {
  LayOut();
  int line = 0;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].start <= pos)
      line = static_cast<int>(i);
    else
      break;
  }
  return line;
}

int TLumMemo::XOf(int line, int pos) {
  const Line& l = lines_[static_cast<size_t>(line)];
  const std::u16string& t = buffer_.text();
  int x = 0;
  for (int i = l.start; i < std::min(pos, l.end);) {
    int units = 1;
    x += widths_.Width(CodePointAt(t, i, &units));
    i += units;
  }
  return x;
}

int TLumMemo::PosAt(Point p) {
  LayOut();
  const Rect inner = InnerRect();
  const int lh = std::max(widths_.LineHeight(), 1);
  const int line = std::clamp(top_ + (p.y - inner.top) / lh - (p.y < inner.top ? 1 : 0), 0,
                              static_cast<int>(lines_.size()) - 1);
  const Line& l = lines_[static_cast<size_t>(line)];
  const std::u16string& t = buffer_.text();
  const int target = p.x - inner.left;
  int x = 0, best = l.start, best_distance = std::abs(target);
  for (int i = l.start; i < l.end;) {
    int units = 1;
    x += widths_.Width(CodePointAt(t, i, &units));
    i += units;
    // A wrapped line's trailing space belongs to it, but the caret after it is the next
    // line's start.
    if (i == l.end && l.end == l.next && line + 1 < static_cast<int>(lines_.size())) break;
    if (std::abs(target - x) < best_distance) {
      best_distance = std::abs(target - x);
      best = i;
    }
  }
  return best;
}

int TLumMemo::VisibleLines() {
  return std::max(InnerRect().height() / std::max(widths_.LineHeight(), 1), 1);
}

void TLumMemo::SetTop(int line) {
  LayOut();
  line = std::clamp(line, 0, std::max(static_cast<int>(lines_.size()) - VisibleLines(), 0));
  if (line == top_) return;
  top_ = line;
  if (bar_ && bar_->Visible()) bar_->SetPosition(top_);
  Changed();
}

void TLumMemo::UpdateBar() {
  if (native_ || !VerScrollRes) return;
  const int count = static_cast<int>(lines_.size());
  const bool needed = count > VisibleLines();
  if (needed && !bar_) {
    bar_ = Make<TLumScrollBar>();
    bar_->Name = Name.empty() ? "" : Name + "Bar";
    bar_->SetTransparent(true);
    bar_->SetVisible(false);
    bar_->SetScrollRes(VerScrollRes);
    bar_->SmallChange = 1;
    bar_->OnScroll = [this](TLumScrollBar&, int& pos) { SetTop(pos); };
  }
  if (!bar_) return;
  if (bar_->Visible() != needed) {
    bar_->SetVisible(needed);
    layout_valid_ = false;  // the lines get narrower or wider
  }
  if (!needed) return;
  const int b = BorderColor != clNone ? 1 : 0;
  bar_->SetBounds(Width() - b - bar_->Width(), b, bar_->Width(), Height() - 2 * b);
  bar_->SetParams(0, count - 1, VisibleLines());
  bar_->SetPosition(top_);
}

Rect TLumMemo::CaretRect() {
  LayOut();
  const int pos = std::max(buffer_.caret(), 0);
  const int line = LineOf(pos);
  const Rect inner = InnerRect();
  const int lh = widths_.LineHeight();
  const int x = inner.left + XOf(line, pos);
  const int y = inner.top + (line - top_) * lh;
  return {x, y, x + 1, y + lh};
}

void TLumMemo::DrawControl(Bitmap32& bitmap) {
  Canvas& canvas = bitmap.canvas();
  if (BorderColor != clNone) {
    canvas.brush.style = BrushStyle::kSolid;
    canvas.brush.color = focused_ ? MakeColor(22, 149, 230) : BorderColor;
    canvas.FrameRect(ClientRect());
  }
  if (native_) return;
  LayOut();
  if (!layout_valid_) LayOut();  // the scroll bar came or went
  const Rect inner = InnerRect();
  const int lh = std::max(widths_.LineHeight(), 1);
  const std::u16string& t = buffer_.text();
  canvas.Save();
  canvas.IntersectClip(inner);
  canvas.font = font;
  const int sel_min = buffer_.HasSelection() ? buffer_.SelMin() : -1;
  const int sel_max = buffer_.HasSelection() ? buffer_.SelMax() : -1;
  for (int line = top_; line < static_cast<int>(lines_.size()); ++line) {
    const int y = inner.top + (line - top_) * lh;
    if (y >= inner.bottom) break;
    const Line& l = lines_[static_cast<size_t>(line)];
    if (sel_min >= 0 && sel_min < l.next && sel_max > l.start) {
      const int from = XOf(line, std::max(sel_min, l.start));
      int to = XOf(line, std::min(sel_max, l.end));
      if (sel_max > l.end && l.next > l.end) to += widths_.Width(' ');  // the line break
      canvas.brush.style = BrushStyle::kSolid;
      canvas.brush.color = SelColor;
      canvas.FillRect({inner.left + from, y, inner.left + to, y + lh});
    }
    if (l.end > l.start) {
      canvas.brush.style = BrushStyle::kClear;
      Rect r{inner.left, y, inner.right + 200, y + lh};
      canvas.DrawText(
          Utf16ToUtf8(t.substr(static_cast<size_t>(l.start), static_cast<size_t>(l.end - l.start))),
          r, kLineFormat);
    }
  }
  canvas.Restore();
  if (CaretShown()) {
    const Rect caret = CaretRect();
    if (Intersects(caret, inner)) {
      canvas.Save();
      canvas.IntersectClip(inner);
      canvas.brush.style = BrushStyle::kSolid;
      canvas.brush.color = font.color;
      canvas.FillRect(caret);
      canvas.Restore();
    }
  }
}

}  // namespace orvo
