// Painting a laid-out page: the body's background over the whole clip, then the items
// that meet the clip, in order.
#include "notices/html_layout.h"

#include "platform/text_format.h"

namespace orvo {

void PaintHtml(const HtmlLayout& layout, const HtmlPictures& pictures, Canvas& canvas,
               Point origin) {
  const Rect clip = canvas.ClipRect();
  canvas.brush.style = BrushStyle::kSolid;
  canvas.brush.color = layout.background;
  canvas.FillRect(clip);
  for (const HtmlPaintItem& item : layout.items) {
    const Rect r = item.rect.Offset(origin.x, origin.y);
    if (!Intersects(r, clip)) continue;
    switch (item.kind) {
      case HtmlPaintItem::Kind::kFill:
        canvas.brush.style = BrushStyle::kSolid;
        canvas.brush.color = item.color;
        canvas.FillRect(r);
        break;
      case HtmlPaintItem::Kind::kText: {
        canvas.font = layout.fonts[static_cast<size_t>(item.font)];
        canvas.brush.style = BrushStyle::kClear;
        Rect box = r;
        canvas.DrawText(item.text, box, kDtLeft | kDtTop | kDtSingleLine | kDtNoPrefix | kDtNoClip);
        break;
      }
      case HtmlPaintItem::Kind::kPicture: {
        const auto found = pictures.find(item.picture);
        if (found != pictures.end() && !found->second.empty())
          canvas.StretchDrawPng(r, found->second);
        break;
      }
    }
  }
}

}  // namespace orvo
