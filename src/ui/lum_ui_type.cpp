// The split record's setters.
#include "ui/lum_ui_type.h"

namespace orvo {

void TLumUIPadding::Assign(const TLumUIPadding& other) {
  if (this == &other) return;
  const bool changed = !(*this == other);
  Left = other.Left;
  Top = other.Top;
  Right = other.Right;
  Bottom = other.Bottom;
  if (changed && OnChange) OnChange();
}

void TLumUIPadding::SetValue(int index, int32_t value) {
  int32_t* slot = index == 0   ? &Left
                  : index == 1 ? &Top
                  : index == 2 ? &Right
                  : index == 3 ? &Bottom
                               : nullptr;
  if (!slot || *slot == value) return;
  *slot = value;
  if (OnChange) OnChange();
}

int32_t TLumUIPadding::GetValue(int index) const {
  switch (index) {
    case 0: return Left;
    case 1: return Top;
    case 2: return Right;
    case 3: return Bottom;
    default: return 0;
  }
}

}  // namespace orvo
