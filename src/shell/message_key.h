#pragma once
// Messages by key on the shared skinned message box.
#include <string>
#include <string_view>

namespace orvo {

class TForm;

// Shows the text of `key` in section "Messages" (default: the key itself) in the shared
// message box, titled with the translated "Confirm" ("Confirmation" when no file has it),
// centred on `owner`. `buttons` 3 gives Yes and No, 4 OK; icon types 0 to 3. Returns the
// modal result: 1 OK, 6 Yes, 7 No; 0 when no image module exists yet or another box is
// showing.
int ShowMessageKey(TForm* owner, std::string_view key, int buttons, int icon);
// The same for a text already translated and filled in.
int ShowMessageText(TForm* owner, const std::string& text, int buttons, int icon);

}  // namespace orvo
