// The named image list.
#include "ui/lum_image_list.h"

#include "ui/lum_ui_utils.h"

namespace orvo {

TLumPngImageItem& TLumImageList::Add() {
  TLumPngImageItem item;
  item.Name = "PngImage" + std::to_string(items_.size());
  items_.push_back(std::move(item));
  return items_.back();
}

TLumPngImageItem& TLumImageList::Add(const PngImage& png) {
  TLumPngImageItem& item = Add();
  item.Png = png;
  return item;
}

TLumPngImageItem* TLumImageList::Item(int index) {
  return index >= 0 && index < Count() ? &items_[static_cast<size_t>(index)] : nullptr;
}

const TLumPngImageItem* TLumImageList::Item(int index) const {
  return index >= 0 && index < Count() ? &items_[static_cast<size_t>(index)] : nullptr;
}

void TLumImageList::Draw(Canvas* canvas, int x, int y, int index, bool enabled) const {
  const TLumPngImageItem* item = Item(index);
  if (!canvas || !item) return;
  if (enabled) {
    canvas->DrawPng(x, y, item->Png);
    return;
  }
  PngImage grey = item->Png;
  GrayPng(grey, 255);
  canvas->DrawPng(x, y, grey);
}

}  // namespace orvo
