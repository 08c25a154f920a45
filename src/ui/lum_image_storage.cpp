// The numbered picture storage.
#include "ui/lum_image_storage.h"

namespace orvo {

void TLumImageItem::SetPicture(const Picture& picture) {
  picture_ = picture;
  if (picture_.empty()) return;
  switch (picture_.kind()) {
    case GraphicKind::kIcon: format_ = LumICON; break;
    case GraphicKind::kJpeg: format_ = LumJPG; break;
    case GraphicKind::kBitmap: format_ = LumBMP; break;
    case GraphicKind::kPng: format_ = LumPNG; break;
    default: break;
  }
}

void TLumImageItem::Assign(const TLumImageItem& other) {
  if (this == &other) return;
  SetPicture(other.picture_);
  Tag = other.Tag;
  Comment = other.Comment;
}

TLumImageItem& TLumImageStorage::Add() {
  images_.emplace_back();
  return images_.back();
}

TLumImageItem* TLumImageStorage::Item(int index) {
  return index >= 0 && index < Count() ? &images_[static_cast<size_t>(index)] : nullptr;
}

const TLumImageItem* TLumImageStorage::Item(int index) const {
  return index >= 0 && index < Count() ? &images_[static_cast<size_t>(index)] : nullptr;
}

const PngImage& TLumImageStorage::Png(int index) const {
  static const PngImage kEmpty;
  const TLumImageItem* item = Item(index);
  return item ? item->Png() : kEmpty;
}

}  // namespace orvo
