#pragma once
// A hint a control shows for a while in place of its own: the whole text of a caption cut
// with an ellipsis, a list row's text, the extra button's hint. The control's own Hint and
// ShowHint are kept aside when the first stand-in comes and given back when the last goes,
// so a hint the program set is never lost to one the control made up.
#include <optional>
#include <string>

#include "ui/control.h"

namespace orvo {

class StandInHint {
 public:
  // Shows `text` as the control's hint; false when it already was the hint shown.
  bool Show(TControl& control, const std::string& text) {
    if (!own_) own_ = Own{control.Hint, control.ShowHint};
    if (control.Hint == text && control.ShowHint) return false;
    control.Hint = text;
    control.ShowHint = true;
    return true;
  }

  // Gives the control its own hint back; false when no stand-in was showing.
  bool Restore(TControl& control) {
    if (!own_) return false;
    control.Hint = std::move(own_->hint);
    control.ShowHint = own_->show;
    own_.reset();
    return true;
  }

  bool showing() const { return own_.has_value(); }

 private:
  struct Own {
    std::string hint;
    bool show = false;
  };
  std::optional<Own> own_;
};

}  // namespace orvo
