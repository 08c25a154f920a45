#include "catalogue/icon_helpers.h"

#include "platform/platform.h"

namespace orvo {
namespace {

constexpr int kIconCanvas = 48;
// Icons are small; anything this large is not an icon worth keeping.
constexpr size_t kMaxPngFile = size_t(4) << 20;

std::unique_ptr<TPngImage> Icon(std::string_view file_name, int index, bool associated) {
  if (file_name.empty()) return nullptr;
  const auto pixels = os::Current().shell().FileIcon(file_name, index, associated, kIconCanvas);
  return pixels ? TPngImage::FromPixels(*pixels) : nullptr;
}

}  // namespace

std::unique_ptr<TPngImage> IconFileToPng(std::string_view file_name, int icon_index) {
  return Icon(file_name, icon_index, false);
}

std::unique_ptr<TPngImage> AssociatedIconToPng(std::string_view file_name, int icon_index) {
  return Icon(file_name, icon_index, true);
}

std::unique_ptr<TPngImage> LoadPngFile(std::string_view file_name) {
  auto bytes = os::Current().files().ReadFile(file_name, kMaxPngFile);
  auto image = bytes ? TPngImage::FromBytes(std::move(*bytes)) : nullptr;
  // The header alone says little: a cut-off or damaged body is found only by decoding it.
  // The pixels are not kept; icons stay compressed until they are drawn.
  if (!image || !image->Decode()) return nullptr;
  return image;
}

}  // namespace orvo
