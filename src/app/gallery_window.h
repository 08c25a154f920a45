#pragma once
// The toolkit's gallery: one skinned window holding every control of the toolkit's first
// families in every state (push buttons by status, glyph layouts, one- and three-frame
// strips, the fade, tabs; labels by font, glow, truncation, alignment; pictures plain,
// centred, stretched and stored; panels cut in three and with a colour layer), a menu
// button with a three-level menu (marks, shortcuts, separators, a disabled entry, a list
// long enough to scroll), buttons that open the message box in both kinds, and one that
// opens the second window with the lists, edits and comboboxes (gallery_lists.h). The same
// window runs on the screen and headless, for review, golden pictures and benchmarks.
#include <memory>
#include <string>

#include "app/gallery_lists.h"
#include "ui/form.h"
#include "ui/image_module.h"
#include "ui/lum_button.h"
#include "ui/lum_form.h"
#include "ui/lum_label.h"
#include "ui/lum_popup_menu.h"

namespace orvo::gallery {

inline constexpr int kWidth = 900;
inline constexpr int kHeight = 600;

class TGalleryWindow : public TForm {
 public:
  // Needs the shared image module (its message box and stored pictures).
  explicit TGalleryWindow(TimgModule& module);
  ~TGalleryWindow() override;

  TLumForm* lmfrm1 = nullptr;
  TLumPopupMenu sysMenu;
  TLumButton* btnMenu = nullptr;
  TLumButton* btnAsk = nullptr;
  TLumButton* btnNotice = nullptr;
  TLumButton* btnLive = nullptr;
  TLumButton* btnLists = nullptr;
  // The second window (lists, edits, comboboxes, the multi-line box), once opened.
  std::unique_ptr<TListsWindow> lists;
  TLumLabel* lblResult = nullptr;
  // The menu entries a script walks: "Language" opens level 1, "More languages" level 2.
  TLumMenuItem* miLanguage = nullptr;
  TLumMenuItem* miMoreLanguages = nullptr;
  TLumMenuItem* miLongList = nullptr;
  int LastAnswer() const { return last_answer_; }
  TLumMessageBox* MsgBox() const { return &module_.msgdlg; }

  // The control of that name anywhere in the window, or null.
  TControl* FindControl(const std::string& name) const;
  // The centre of a control, in screen coordinates.
  Point ScreenCentre(const TControl& control) const;
  // Opens the menu below the menu button, as a click on it does.
  void OpenMenu();
  // The two message boxes, as the buttons open them.
  int AskQuestion();
  int ShowNotice();
  // Shows the lists window on the bottom of the work area.
  void OpenLists();

 private:
  void BuildSideBar();
  void BuildButtons();
  void BuildLabels();
  void BuildPictures();
  void BuildActions();
  void BuildMenu();

  TimgModule& module_;
  int last_answer_ = 0;
};

}  // namespace orvo::gallery
