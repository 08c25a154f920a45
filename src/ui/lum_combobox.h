#pragma once
// A skinned drop-down list (the ratings window's sort choice). The box:
//
//   +-[extra]-[icon] text text text ..........[extra] [v]-+   ImgBox: BoxStateCount frames
//   |                                                     |   (normal, hot, pressed,
//   +-----------------------------------------------------+   disabled), three-sliced to
//                                                  BtnOffSet  the width at Boxsplit
//
// ImgBtn (the drop button) and ImgExtraBtn have BtnStateCount frames (normal, hot, pressed,
// disabled; an extra-button strip that does not divide by it is cut in square frames). A
// press on the button (or, without CanInput, on the box) drops the list down in its own
// top-level window, TLumListForm, below the box or, without room down to the work area's
// bottom, above it. With CanInput a TLumEdit over the text area takes typing.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/png_image.h"
#include "ui/item_data.h"
#include "ui/lum_edit.h"
#include "ui/lum_image_list.h"
#include "ui/lum_scroll_bar_res.h"
#include "ui/lum_ui_core.h"
#include "ui/stand_in_hint.h"

namespace orvo {

class TLumCombobox;
class TLumListForm;

class TLumCboxItem {
 public:
  std::string Caption;
  std::string SecondText;
  int ImageIndex = -1;
  bool Enabled = true;
  bool Visible = true;
  bool Checked = false;
  Rect ItemRect{-1, -1, -1, -1};  // in the drop-down window, from its last layout
  Rect CheckRect{-1, -1, -1, -1};
  std::unique_ptr<TItemData> Data;  // the application's, freed with the item
  template <typename T>
  T* DataAs() const {
    return ItemDataAs<T>(Data);
  }
  std::function<void(TLumCboxItem&)> OnClick;
};

class TLumCombobox : public TLumUIParentControl {
 public:
  TLumCombobox();
  ~TLumCombobox() override;

  // --- items and choice ---
  // A new item at the end (no refresh).
  TLumCboxItem& AddItem();
  TLumCboxItem& AddItem(const std::string& caption);
  int ItemCount() const { return static_cast<int>(items_.size()); }
  // Null outside the range.
  TLumCboxItem* Items(int index) const;
  void Clear();
  // The selected item's position, -1 when none.
  int index() const;
  // A valid, different index selects that item, takes its caption as the text, refreshes
  // and fires OnChange; -1 only forgets the choice; other values are ignored.
  void SetIndex(int index);
  TLumCboxItem* SelectedItem() const { return selected_; }
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);

  // --- look ---
  int AlphaWidth = 8;
  TColor FontColorNormal = clBlack, FontColorOver = clBlue, FontColorDown = clNavy,
         FontColorDisable = clGray;
  TColor FontItemColorNormal = clBlack, FontItemColorOver = clBlack, FontItemColorDown = clNavy,
         FontItemColorDisable = clGray;
  bool ShowCheckBox = false;
  int ShowitemCount = 8;
  PngImage ImgBox, ImgForm, ImgEditInput, ImgBtn, ImgExtraBtn, Imgitem, ImgCheck;
  TColor EditSelColor = 0x00FFFF;
  int OutWidth = 2;
  int BtnOffSet = 2;
  TLumUIPadding Boxsplit, Formsplit, itemsplit;
  int BoxStateCount = 4;
  int BtnStateCount = 4;
  int ItemStateCount = 1;
  int CheckStateCount = 4;
  bool ExtraBtn = false;
  bool ExtraBtnLeft = false;
  std::string ExtraBtnHint;
  int ImgIndex = -1;
  TLumImageList* Imagelist = nullptr;
  TLumScrollBarRes* VerScrollRes = nullptr;
  bool CanInput() const { return can_input_; }
  void SetCanInput(bool value);
  // Cuts the frames again after the skin properties changed.
  void SkinChanged();

  // --- events ---
  std::function<void(TLumCombobox&)> OnbtnClick, OnExtraBtnClick, OnGetFocus, OnLostFocus;
  std::function<void(TLumCombobox&, TLumCboxItem&)> OnItemClick, OnItemCheck;
  std::function<void(Canvas&, TLumCboxItem&, bool& default_draw)> OnItemDraw;
  std::function<void(TLumCboxItem&, int& item_height)> OnItemMeasure;
  // Sender: the newly selected item.
  std::function<void(TLumCboxItem&)> OnChange;
  std::function<void(TLumCombobox&, uint16_t&, TShiftState)> OnEditkeyUp, OnEditkeyDown;
  std::function<void(TLumCombobox&, char16_t&)> OnKeyPress;

  // --- the drop-down ---
  void DropDown();
  void CloseUp();
  bool DroppedDown() const;
  bool DroppedUp() const { return dropped_up_; }
  TLumListForm* ListForm() const { return list_form_.get(); }
  TLumEdit* Editor() const { return editor_; }
  Rect ButtonRect() const;
  Rect ExtraButtonRect() const;
  Rect TextRect() const;

  void DrawControl(Bitmap32& bitmap) override;
  void StyleChanged() override { SkinChanged(); }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char16_t& key) override;
  void DoEnter() override;
  void DoExit() override;
  void Resize() override;

  // --- called by the drop-down window ---
  // A release on an item (or on its check box, pressed before).
  void ItemReleased(TLumCboxItem& item, bool on_check_box);
  void ListClosed(bool by_deactivation);
  const PngImage* ItemFrame(int state) const;  // 0 normal, 1 hot, 2 down, 3 disabled
  const PngImage* CheckFrame(bool checked, bool hot) const;

 private:
  enum Part { kNoPart, kBox, kButton, kExtra };
  Part PartAt(Point p) const;
  void PlaceEditor();
  void Choose(TLumCboxItem& item);

  std::vector<std::unique_ptr<TLumCboxItem>> items_;
  TLumCboxItem* selected_ = nullptr;
  std::string text_;
  bool can_input_ = false;
  TLumEdit* editor_ = nullptr;
  std::unique_ptr<TLumListForm> list_form_;
  bool dropped_up_ = false;
  bool just_closed_ = false;
  Part hot_ = kNoPart;
  Part pressed_ = kNoPart;
  bool focused_ = false;
  StandInHint extra_hint_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

  PngImage box_frames_[4], button_frames_[4], extra_frames_[4];
  PngImage item_frames_[4];
  bool has_item_frame_[4] = {false, false, false, false};
  PngImage check_frames_[4];
  int sliced_width_ = -1;
  PngImage sliced_box_[4];
};

}  // namespace orvo
