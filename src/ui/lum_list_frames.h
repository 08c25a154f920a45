#pragma once
// The list view's cut skins and what they were cut from, shared by its layout and drawing
// files: the frames are cut again as soon as a source, a count or the row width differs.
#include <optional>

#include "ui/lum_list_view.h"

namespace orvo {

struct TLumListView::Frames {
  // What the frames were cut from.
  PngImage item_source;
  TLumUIPadding split;
  int state_count = -1;
  int width = -1;
  PngImage check_source;
  int check_count = -1;
  PngImage header_source;
  int header_count = -1;
  PngImage header_split_source;
  int header_split_count = -1;
  PngImage arrow_source;
  // Row frames: normal, hot, selected, disabled.
  std::optional<PngImage> row[4];
  // Check frames: unchecked, checked, unchecked hot, checked hot.
  std::optional<PngImage> check[4];
  std::optional<PngImage> header[4];  // normal, hot, down, disabled
  std::optional<PngImage> header_split[4];
  std::optional<PngImage> arrow[2];  // the two sort directions
};

}  // namespace orvo
