// The "My Review" tab's rules: the nickname's length and sending the review.
#include <algorithm>
#include <iterator>

#include "platform/text.h"
#include "shell/message_key.h"
#include "shell/ratings_form.h"

namespace orvo {

// At the limit only the editing keys get through: select all, copy, Backspace, Enter,
// paste, cut, undo and Escape. The edit itself cuts a paste to what fits (MaxLength), since
// the service refuses longer names.
void TfrmXOBRate::lmdtnkkeyPress(char16_t& key) {
  static constexpr char16_t kPassing[] = {1, 3, 8, 13, 22, 24, 26, 27};
  // Counted in UTF-16 units, as the edit and the service count.
  if (static_cast<int>(Utf8ToUtf16(lmdtnk->Text()).size()) < kNicknameLimit) return;
  if (std::find(std::begin(kPassing), std::end(kPassing), key) == std::end(kPassing)) key = 0;
}

void TfrmXOBRate::btn1Click() {
  if (Score == 0) {
    ShowMessageKey(this, "InputScores", 4, 3);
    return;
  }
  // One review at a time: a second click while it is on its way would only earn a
  // "you have already reviewed".
  if (SubmitRunning()) return;
  submit_ =
      StartAddComment(plug_, ServicePlugId, lmdtnk->Text(), redt1->Text(), Score, anchor_.Link());
}

}  // namespace orvo
