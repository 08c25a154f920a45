#pragma once
// The skinned message box: a modal, borderless, layered window with a title, an icon, a
// word-wrapped message and either OK or Yes and No, returning 1 (OK or Esc), 6 (Yes) or
// 7 (No, and every other way of closing). The whole window is one picture with per-pixel
// alpha, so the skin's rounded, shadowed edges blend with the desktop:
//
//   AW = AlphaWidth (the skin's transparent margin)
//   +-------------------------------------------------------+
//   | AW                                                    |
//   |  [logo] title .........................    [ close ]  |  CaptionHeight
//   |  [icon]  message, word-wrapped on MsgRowCount rows    |
//   |          ...                                          |
//   |                  [ Yes ]  [ No ]   (or [ Ok ])        |  10 above the bottom margin
//   +-------------------------------------------------------+
//
// The box keeps the skin's size for short messages and grows by a third of a long
// message's one-line width (the skin tiled by nine-slice). One box shows at a time.
#include <memory>
#include <string>

#include "graphics/bitmap.h"
#include "graphics/font.h"
#include "graphics/picture.h"
#include "graphics/png_image.h"
#include "ui/form.h"
#include "ui/lum_ui_type.h"

namespace orvo {

class TLumMessageBox;

// Button kinds and results.
inline constexpr int kMsgYesNo = 3;
inline constexpr int kMsgOk = 4;
inline constexpr int kMsgResultOk = 1;
inline constexpr int kMsgResultYes = 6;
inline constexpr int kMsgResultNo = 7;

// The box's window: its pointer, keys and closing go to the box.
class TLumUIMessageForm : public TForm {
 public:
  explicit TLumUIMessageForm(TLumMessageBox& box);
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;

 private:
  TLumMessageBox& box_;
};

class TLumMessageBox {
 public:
  TLumMessageBox();
  ~TLumMessageBox();
  TLumMessageBox(const TLumMessageBox&) = delete;
  TLumMessageBox& operator=(const TLumMessageBox&) = delete;

  int Alpha = 255;
  int AlphaWidth = 8;
  int MsgRowCount = 3;
  int CaptionHeight = 30;
  int BtnCloseLeft = 4;
  int RoundValue = 1;  // stored only
  Font FontTitle, FontMsg, FontBtn;
  PngImage ImgForm;
  TLumUIPadding FormSplit;
  PngImage ImgClose;  // 3 frames: normal, over, down
  PngImage ImgLogo;
  PngImage ImgBtn;     // 4 frames: normal, over, down, focused
  PngImage ImgMsg;     // 4 icons: types 0 to 3
  PngImage ImgCustom;  // icon type 4
  std::string BtnCloseHint = "Close";
  std::string BtnCaptionYes = "Yes";
  std::string BtnCaptionNo = "No";
  std::string BtnCaptionOk = "Ok";
  TColor SkinColor = clNone;
  Picture Pic;
  int CaptionLeftFix = 0;
  // The component's owner: the box centres on it when no other form is given.
  TForm* Owner = nullptr;

  // Shows the box modally and returns 1, 6 or 7. Kind 3 gives Yes and No, any kind with
  // bit 4 OK. Icon types 0..3 pick an ImgMsg frame, 4 ImgCustom. Centred in the work area
  // with `center` or without any owner form, else on the owner record's form, the given
  // form or the component's owner, the first that is set. While a box is showing, another
  // request returns 0 at once and shows nothing.
  int ShowMessageBox(const std::string& title, const std::string& message, TForm* owner_record,
                     bool center, TForm* owner_form, int kind, int icon);
  bool Busy() const { return busy_; }
  // The window while (and after) one showed; null before the first use.
  TLumUIMessageForm* Form() const { return form_.get(); }

  // --- the box's state, for its window and for tests ---
  const Bitmap32& Composed() const { return box_; }
  const Rect& CloseRect() const { return close_rect_; }
  const Rect& FirstButtonRect() const { return first_rect_; }
  const Rect& SecondButtonRect() const { return second_rect_; }
  const Rect& MessageRect() const { return message_rect_; }
  const Rect& TitleRect() const { return title_rect_; }
  bool FirstFocused() const { return first_focused_; }
  bool SecondFocused() const { return second_focused_; }
  void PointerMoved(int x, int y);
  void PointerPressed(TMouseButton button, int x, int y);
  void PointerReleased(TMouseButton button, int x, int y);
  void KeyPressed(uint16_t key);
  void Finish(int result);

 private:
  void PrepareFrames();
  void Compose(const std::string& title, const std::string& message, int icon);
  void PrepareButtons();
  Bitmap32 CaptionedFrame(const PngImage& frame, const std::string& caption) const;
  void Render();
  void Centre(TForm* owner);

  std::unique_ptr<TLumUIMessageForm> form_;
  Bitmap32 box_;
  Bitmap32 picture_;
  PngImage icon_frames_[4];
  PngImage close_frames_[3];
  PngImage button_frames_[4];
  Bitmap32 first_frames_[4];
  Bitmap32 second_frames_[4];
  Rect close_rect_, first_rect_, second_rect_, title_rect_, message_rect_, icon_rect_;
  int kind_ = kMsgOk;
  int result_ = kMsgResultNo;
  bool busy_ = false;
  bool close_hot_ = false, first_hot_ = false, second_hot_ = false;
  bool close_pressed_ = false, first_pressed_ = false, second_pressed_ = false;
  bool first_focused_ = false, second_focused_ = false;
  bool has_second_ = false;
};

}  // namespace orvo
