// The wait window's animation on its layer.
#include "shell/wait_form.h"

#include <string>

#include "ui/skin_resources.h"

namespace orvo {
namespace {

constexpr int kUsedFrames = kWaitFrameCount - 1;

}  // namespace

TfrmWait::TfrmWait(TForm& owner) : owner_(owner) {
  Layered = true;
  ToolWindow = true;
  PopupParent = &owner;
  SetBounds(owner.Left() + (owner.Width() - 800) / 2, owner.Top() + (owner.Height() - 500) / 2, 800,
            500);
  mglst1.ImgWidth = kWaitFrameWidth;
  mglst1.ImgHeight = kWaitFrameHeight;
  for (int i = 0; i < kWaitFrameCount; ++i) {
    const std::string name = std::string("wait_") + (i < 10 ? "0" : "") + std::to_string(i);
    mglst1.Add(SkinPng(name));
  }
  tmr1.SetInterval(kWaitIntervalMs);
  tmr1.OnTimer = [this](TTimer&) { tmr1Timer(); };
  OnShow = [this](TForm&) { FormShow(); };
  OnHide = [this](TForm&) { FormHide(); };
}

TfrmWait::~TfrmWait() {
  OnShow = nullptr;
  OnHide = nullptr;
  tmr1.SetEnabled(false);
}

void TfrmWait::FormShow() {
  ticks_ = 0;
  tmr1Timer();
  tmr1.SetEnabled(true);
}

// FormClose and FormDestroy: the animation stops with the window.
void TfrmWait::FormHide() { tmr1.SetEnabled(false); }

void TfrmWait::Click() {
  TForm::Click();
  Close();
}

// One frame: the layer is the owner's size and lies over the owner, so the card is centred
// on the window that is busy, whatever its size.
void TfrmWait::tmr1Timer() {
  const int width = owner_.Width(), height = owner_.Height();
  if (Left() != owner_.Left() || Top() != owner_.Top()) {
    SetBounds(owner_.Left(), owner_.Top(), Width(), Height());
  }
  // A new size clears the layer; at the same size the card covers the last one exactly.
  if (!layer_.SetSize(width, height) || layer_.empty()) return;
  frame_rect_ = RectOfSize((width - kWaitFrameWidth) / 2, (height - kWaitFrameHeight) / 2,
                           kWaitFrameWidth, kWaitFrameHeight);
  if (const TLumPngImageItem* frame = mglst1.Item(ticks_ % kUsedFrames)) {
    layer_.canvas().Draw(frame_rect_.left, frame_rect_.top, frame->Png.view(), DrawMode::kOpaque);
  }
  UpdateLayered(layer_, 255);
  ++ticks_;
}

}  // namespace orvo
