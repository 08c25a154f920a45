#pragma once
// A skinned popup menu of up to three levels. Each level open on the screen is a layered
// top-level window (TLumMenuForm) showing one picture with per-pixel alpha: the menu skin
// tiled to the level's size, the items with their highlight, mark, image, caption,
// shortcut and sub-arrow, and scroll buttons when the level is taller than the work area.
//
// Skin pictures and their frames:
//   ImgBack      nine-sliced at ImgSplit, tiled (DrawNineTiled) to the level's size
//   ImgItem      ItemStateCount frames: hot, pressed, selected; three-sliced at ItemSplit
//   ImgSubArrow  SubArrowStateCount frames: normal, hot, disabled
//   ImgCheck,    CheckRadioStateCount frames: enabled, disabled (one frame: the disabled
//   ImgRadio     look is the frame with a third of its alpha)
//   ImgBtnUpDown six frames: up normal, hot, pressed, down normal, hot, pressed
//   ImgLine      the separator, stretched across the item
//
// The first level takes the activation when it opens; the menu closes (not normally) when
// it loses it, when the application is deactivated, or on Esc; picking an item closes it
// normally and then runs the item's OnClick.
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/font.h"
#include "graphics/png_image.h"
#include "ui/form.h"
#include "ui/lum_image_list.h"
#include "ui/lum_menu_item.h"
#include "ui/lum_ui_type.h"
#include "ui/timer.h"

namespace orvo {

class TLumPopupMenu;

// One level's window: input goes to the menu.
class TLumMenuForm : public TForm {
 public:
  TLumMenuForm(TLumPopupMenu& menu, int level);
  bool ReadyShow = false;
  int MenuLevel() const { return level_; }

  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool MouseWheel(int delta, TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;

 private:
  TLumPopupMenu& menu_;
  int level_;
};

class TLumPopupMenu {
 public:
  // The owner form keeps the level windows above it.
  explicit TLumPopupMenu(TForm* owner = nullptr);
  ~TLumPopupMenu();
  TLumPopupMenu(const TLumPopupMenu&) = delete;
  TLumPopupMenu& operator=(const TLumPopupMenu&) = delete;

  TForm* Owner;
  int AssociateHandle = -1;
  int Alpha = 255;
  int AlphaWidth = 8;
  int MenuBarWidth = 16;
  Font FontNormal, FontOver, FontDown, FontDisable, FontSelect;
  PngImage ImgBack;
  TLumUIPadding ImgSplit;
  PngImage ImgItem;
  TLumUIPadding ItemSplit;
  int ItemStateCount = 4;
  PngImage ImgBtnUpDown;
  int ItemHeight = 22;
  PngImage ImgLine;
  int MinWidth = 0;
  int MarginItemX = 2;
  int MarginItemY = 2;
  int MarginText = 2;
  PngImage ImgSubArrow;
  int SubArrowStateCount = 3;
  PngImage ImgCheck, ImgRadio;
  int CheckRadioStateCount = 2;
  bool HaveBar = false;
  PngImage ImgBar, ImgBarLogo, ImgBarCaption;
  TLumImageList* ImageList = nullptr;

  std::function<void(TLumPopupMenu&)> OnPopup;
  std::function<void(TLumMenuItem&)> OnSubMenuShow, OnLastMenuShow;
  std::function<void(TLumPopupMenu&, bool& can_show)> OnBeforPopup;
  std::function<void(TLumPopupMenu&, bool normal)> OnMenuClose;
  std::function<void(TLumPopupMenu&, TLumMenuItem&)> OnMenuItemRightClick, OnSubMenuItemRightClick,
      OnLastMenuItemRightClick;

  // --- items ---
  TLumMenuItem& AddItem(std::unique_ptr<TLumMenuItem> item);
  TLumMenuItem& AddItem(const std::string& caption);
  TLumMenuItem& InsertItem(int index, std::unique_ptr<TLumMenuItem> item);
  TLumMenuItem& AddSubItem(TLumMenuItem& parent, std::unique_ptr<TLumMenuItem> item);
  // Null outside the range.
  TLumMenuItem* Items(int index) const;
  int ItemCount() const { return static_cast<int>(items_.size()); }
  // Each item's delete event (sub-items first), then frees them.
  void Clear();
  const std::vector<TLumMenuItem*>& ShortCuts() const { return shortcuts_; }
  // The enabled item with that shortcut, or null.
  TLumMenuItem* FindShortCut(TShortCut shortcut) const;

  // --- showing (screen coordinates) ---
  void Popup(int x, int y);
  void CloseMenu(bool normal);
  bool IsOpen() const { return open_; }
  // The window of an open level (0..2), or null.
  TLumMenuForm* LevelForm(int level) const;
  // Screen rectangle of an item in an open level (empty when it is not shown there).
  Rect ItemScreenRect(int level, const TLumMenuItem& item) const;
  // The hot item of an open level, or null.
  TLumMenuItem* HotItem(int level) const;
  // First shown item index of a level (scrolling) and whether it scrolls.
  int FirstShown(int level) const { return levels_[level].first; }
  bool Scrolling(int level) const { return levels_[level].scrolling; }
  Rect UpButtonRect(int level) const { return levels_[level].up; }
  Rect DownButtonRect(int level) const { return levels_[level].down; }

  // --- called by items and level windows ---
  void ItemChanged(TLumMenuItem& item);
  void ItemGone(TLumMenuItem& item);
  void ShortCutChanged(TLumMenuItem& item, bool listed);
  void LevelMouseMove(int level, int x, int y);
  void LevelMouseDown(int level, TMouseButton button, int x, int y);
  void LevelMouseUp(int level, TMouseButton button, int x, int y);
  void LevelMouseWheel(int level, int delta);
  void LevelMouseLeave(int level);
  void LevelKeyDown(int level, uint16_t key);

 private:
  struct Level {
    TLumMenuItem* parent_item = nullptr;
    std::vector<TLumMenuItem*> items;  // the visible items
    std::unique_ptr<TLumMenuForm> form;
    Bitmap32 picture;
    Bitmap32 background;
    std::array<PngImage, 3> item_frames;  // hot, pressed, selected, sliced to the item width
    int frames_width = -1;
    Size size;
    bool scrolling = false;
    Rect up, down;
    bool up_hot = false, down_hot = false, up_pressed = false, down_pressed = false;
    int first = 0;
    int shown = 0;
    int hot = -1;
    int pressed = -1;
    int open_sub = -1;
  };

  // lum_menu_level.cpp: measuring, layout and the picture.
  void PrepareFrames();
  int MarkColumn() const;
  int ItemHeightOf(const TLumMenuItem& item) const;
  const Font& ItemFont(const Level& level, int index) const;
  void Measure(Level& level, Point at);
  void LayOut(Level& level);
  void Render(Level& level);
  void DrawItem(Level& level, Canvas& canvas, int index);
  void DrawScrollButtons(Level& level, Canvas& canvas);
  void SliceItemFrames(Level& level, int width);

  // lum_popup_menu.cpp: opening and closing levels.
  bool OpenLevel(int depth, TLumMenuItem* parent_item, Point at);
  void CloseLevelsFrom(int depth);
  void OpenSubmenu(int depth, int index);
  void BuryForm(std::unique_ptr<TLumMenuForm> form);
  void InstallDeactivation();
  void RestoreDeactivation();

  // lum_menu_input.cpp
  int ItemAt(const Level& level, Point p) const;
  void SetHot(int depth, int index);
  void Scroll(int depth, int step);
  void RepeatTick();
  void Activate(int depth, int index);

  std::vector<std::unique_ptr<TLumMenuItem>> items_;
  std::vector<TLumMenuItem*> shortcuts_;
  std::array<Level, 3> levels_;
  bool open_ = false;
  bool right_click_ = false;
  bool deactivation_installed_ = false;
  std::function<void()> saved_deactivate_;
  TTimer repeat_timer_;
  int repeat_level_ = -1;
  int repeat_step_ = 0;
  // Level windows closed from inside their own handlers are freed later.
  std::vector<std::unique_ptr<TLumMenuForm>> graveyard_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

  // Frames cut from the skins.
  std::vector<PngImage> item_frames_;
  PngImage arrow_frames_[3];
  PngImage check_frames_[2];
  PngImage radio_frames_[2];
  PngImage updown_frames_[6];
};

}  // namespace orvo
