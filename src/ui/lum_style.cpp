// The style component: its parts know their owner, and replacing a part tells listeners.
#include "ui/lum_style.h"

namespace orvo {

TLumStyle::TLumStyle() {
  form_.owner_ = this;
  button_.owner_ = this;
  panel_.owner_ = this;
  check_box_.owner_ = this;
  edit_.owner_ = this;
  ver_scroll_.owner_ = this;
  hor_scroll_.owner_ = this;
}

void TLumStyle::Changed() {
  if (OnStyleChange) OnStyleChange(*this);
}

void TLumStyle::SetFormStyle(const TLumFormStyle& value) { form_.Assign(value), Changed(); }
void TLumStyle::SetBtnStyle(const TLumButtonStyle& value) { button_.Assign(value), Changed(); }
void TLumStyle::SetPanelStyle(const TLumPanelStyle& value) { panel_.Assign(value), Changed(); }
void TLumStyle::SetCheckBoxStyle(const TLumCheckBoxStyle& value) {
  check_box_.Assign(value), Changed();
}
void TLumStyle::SetEditStyle(const TLumEditStyle& value) { edit_.Assign(value), Changed(); }
void TLumStyle::SetVerScrollBarStyle(const TLumScrollBarStyle& value) {
  ver_scroll_.Assign(value), Changed();
}
void TLumStyle::SetHorScrollBarStyle(const TLumScrollBarStyle& value) {
  hor_scroll_.Assign(value), Changed();
}

}  // namespace orvo
