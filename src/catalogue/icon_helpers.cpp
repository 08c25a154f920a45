#include "catalogue/icon_helpers.h"

#include "platform/platform.h"

namespace orvo {
namespace {

constexpr int kIconCanvas = 48;
// Icons are small; anything this large is not an icon worth keeping.
constexpr size_t kMaxPngFile = size_t(4) << 20;

std::unique_ptr<TPngImage> Icon(std::string_view file_name, int index, bool associated) {
  if (file_name.empty()) return nullptr;
  auto pixels = os::Current().shell().FileIcon(file_name, index, associated, kIconCanvas);
  if (!pixels) return nullptr;
  auto icon = std::make_unique<TPngImage>(pixels->width, pixels->height, std::move(pixels->argb),
                                          PngColorType::kRgba);
  if (icon->empty()) return nullptr;
  icon->Pack();
  return icon;
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
  if (!bytes) return nullptr;
  // Decoded whole once: a cut-off or damaged body behind a good header is no icon.
  auto image = TPngImage::FromPngFile(std::move(*bytes));
  if (!image) return nullptr;
  // Icons stay compressed until they are drawn.
  image->Pack();
  return std::make_unique<TPngImage>(std::move(*image));
}

}  // namespace orvo
