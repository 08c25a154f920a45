#pragma once
// The program's main window: the browsers' tabs down the left, the selected browser's
// add-ons in a list to the right (icon, name and description, community rating, on/off
// switch, delete button), the add-on count and "Set as default browser" above the list,
// the version, the update link and four share buttons along the bottom with the advert
// picture above them. It is resizable down to 500 x 400; destroying it at the end of the
// run saves the settings.
//
//    0 5       176 178                                              795 800
//    +-----------+------------------------------------------------------+   0
//    | logo, caption                           menu  minimise  close    |
//    |  btnB1    | lbl1 "15 plug-ins were found"   lblSetasdefault      |  33
//    |  btnB2    +------------------------------------------------------+  56
//    |  btnB3    | m_lstView: rows of 70  [icon] title       Ratings:  [ON] [bin]
//    |  btnB4    |                        description      * * * * *       |
//    |  imgad    |  (column 0: width - 220 | column 1: 120 | column 2: 100)   |
//    | 170 x 100 |                                                      |  376..476
//    | lbl2 version   lbl3 "Check for Updates"          btn1 btn2 btn3 btn4 |  478
//    +------------------------------------------------------------------+  500
//
// The window holds the four browser catalogues for the run; each tab shows one. The first
// time a tab shows its add-ons, a rating chain asks the service for their average ratings
// (once per browser and run); the results come back as WM_RATINGRESULT (RatingResult).
#include <array>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "catalogue/browser_list.h"
#include "rating/rating_receivers.h"
#include "shell/base_form.h"
#include "ui/lum_button.h"
#include "ui/lum_image.h"
#include "ui/lum_image_list.h"
#include "ui/lum_label.h"
#include "ui/lum_list_view.h"
#include "ui/lum_popup_menu.h"

namespace orvo {

inline constexpr int kMainWidth = 800;
inline constexpr int kMainHeight = 500;

// The data of one list row (list client coordinates; empty rectangles where nothing was
// drawn).
struct TAddonRow : TItemData {
  Rect DeleteRect;
  Rect ToggleRect;
  Rect RatingRect;
  TBrowserExtensionInfo* Addon = nullptr;
};

class TfrmXOBMain : public TfrmBase, public TRatingResultReceiver {
 public:
  // 800 x 500, centred in the work area of the primary monitor (or at 0, 0 without a
  // window system). FormCreate (through TfrmBase::Create) reads the browsers.
  TfrmXOBMain();
  ~TfrmXOBMain() override;

  TLumPopupMenu sysMenu;
  TLumLabel* lblSetasdefault = nullptr;
  TLumLabel* lbl1 = nullptr;
  TLumLabel* lbl2 = nullptr;
  TLumLabel* lbl3 = nullptr;
  TLumImage* imgad = nullptr;
  TLumButton* btn1 = nullptr;
  TLumButton* btn2 = nullptr;
  TLumButton* btn3 = nullptr;
  TLumButton* btn4 = nullptr;
  TLumButton* btnB1 = nullptr;
  TLumButton* btnB2 = nullptr;
  TLumButton* btnB3 = nullptr;
  TLumButton* btnB4 = nullptr;
  TLumListView* m_lstView = nullptr;
  TLumImageList mglst;  // empty, 68 x 68: the room before each row's (blank) caption

  std::vector<TLumButton*> TabButtons;
  TLumButton* SelectedTab = nullptr;

  // Translation, the browsers, their tabs, and the first tab's add-ons.
  void FormCreate() override;
  // Inherited part, the main menu, the count text, hints, the message box's button
  // captions and the version text.
  void ApplyLanguage() override;
  // WM_RATINGRESULT.
  void RatingResult(const TRatingResult& result) override;

  // --- what the tabs hold ---
  // The catalogue behind a tab button (a side table: a control's Tag is an int).
  TBrowserAppBase* TabCatalogue(const TLumButton* tab) const;
  TBrowserAppBase* SelectedCatalogue() const { return TabCatalogue(SelectedTab); }
  TLumButton* TabOf(uint8_t browser_kind) const;
  // The row showing an add-on of the selected tab, or null.
  TLumLvItem* RowOf(const TBrowserExtensionInfo* addon) const;
  // False while the rating chain of that catalogue runs; true once it ended (or when
  // none was started).
  bool RatingsSettled(const TBrowserAppBase& catalogue) const;

  // --- commands (the handlers of the form's controls) ---
  void SelectTab(TLumButton& button);
  void DeleteAddon(TLumLvItem& row);
  void ToggleAddon(TLumLvItem& row);
  void OpenRatings(TLumLvItem& row);
  bool CheckBrowserClosed(TBrowserAppBase& catalogue);
  void lblSetasdefaultclick();
  void imgmailclick(TLumButton& sender);
  void lbl3click();

  void KeyDown(uint16_t& key, TShiftState shift) override;

 private:
  void Resize() override;
  void MakeControls();
  TLumLabel* MakeLabel(const char* name, Rect bounds, TAnchors anchors);
  TLumButton* MakeShareButton(const char* name, int left, int tag, const char* skin);

  // main_tabs.cpp
  void BuildTabs();
  void ShowBrowser(TBrowserAppBase& catalogue);
  void StartRatings(TBrowserAppBase& catalogue);
  void DrawTab(TLumButton& tab, Canvas& canvas);
  void UpdateCountText();
  const PngImage& TabIcon(const TBrowserAppBase& catalogue);

  // main_rows.cpp
  void SetupList();
  void SetupColumns();
  void DrawRowBand(Canvas& canvas, int index, TLumLvItem& row);
  void DrawRow(Canvas& canvas, int index, TLumLvItem& row);
  void DrawRatings(Canvas& canvas, TAddonRow& data);
  void DrawToggle(Canvas& canvas, TAddonRow& data);
  void DrawDelete(Canvas& canvas, TAddonRow& data);
  void RowMouseMove(TLumLvItem& row, int x, int y);
  void RowClick(TLumLvItem& row);
  void m_lstViewDrawBackGround(Bitmap32& bitmap, const Rect& rect);
  void m_lstViewResize();
  void NoticeOffset(int& top);
  const PngImage& AddonIcon(const TBrowserExtensionInfo& addon);
  void IconArrived(TBrowserExtensionInfo& addon);
  int ButtonFrame(const Rect& r) const;
  Point ListPointer() const;

  // main_commands.cpp
  void ShowRatingError(const char* key);
  void ShowChangeError(const char* key, const ChangeResult& result);
  // A change only the browser can make: the reason, and the offer to open the browser's
  // own page for the add-on (a page that can't be opened is told under `failure_key`).
  void OfferAddonPage(TBrowserAppBase& catalogue, const TBrowserExtensionInfo& addon,
                      const ChangeResult& result, const char* failure_key);
  Point ToastPoint(int dy) const;

  BrowserList catalogues_;
  std::array<TBrowserAppBase*, 4> tab_catalogues_{};
  // Per catalogue: the end flag of its rating chain.
  std::map<const TBrowserAppBase*, std::shared_ptr<const bool>> rating_chains_;
  // Icons decoded and fitted to 48 x 48 on first paint, by record.
  std::unordered_map<const TBrowserExtensionInfo*, PngImage> icons_;
  std::map<const TBrowserAppBase*, PngImage> tab_icons_;
  PngImage OffFrames[3], OnFrames[3], DeleteFrames[3];
  // The row whose rating, switch or delete button the pointer was over at its last
  // move (drawn back in its normal look when the pointer leaves); null for none.
  TAddonRow* hovered_ = nullptr;
  TReceiverAnchor<TRatingResultReceiver> anchor_{*this};
  // The advert presenter on imgad (shell/main_window_advert.h); null without one.
  std::shared_ptr<void> advert_;
};

}  // namespace orvo
