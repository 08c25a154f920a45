#pragma once
// A scroll bar skin that several scroll bars share (every list view's bars use the image
// module's one). Strips are cut by SplitMode: frames side by side (SmHor) or stacked
// (SmVer); thumb and track are three-sliced along the bar at SliderSplit and BackSplit.
#include "graphics/png_image.h"
#include "ui/lum_style.h"
#include "ui/lum_ui_type.h"

namespace orvo {

class TLumScrollBarRes {
 public:
  PngImage ImgBack;    // track: BackStateCount frames (normal, hover)
  PngImage ImgSlider;  // thumb: SliderStateCount frames (normal, over, down, disabled)
  PngImage ImgBtnLT;   // first button (up / left): BtnStateCount frames
  PngImage ImgBtnRB;   // second button (down / right)
  PngImage ImgCenter;  // grip drawn on the thumb: CenterStateCount frames
  int SliderStateCount = 4;
  TLumUIPadding SliderSplit;
  int BtnoffSet = 0;
  int BtnStateCount = 4;
  int BackStateCount = 2;
  TLumUIPadding BackSplit;
  int CenterStateCount = 4;
  bool ShowButton = true;
  bool JoinButton = false;
  TSplitMode SplitMode = SmHor;
};

}  // namespace orvo
