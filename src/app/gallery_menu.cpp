// The gallery's menu: the main window's menu look (the stored values of its menu) with
// three levels, marks, shortcuts, separators, a disabled entry and a list long enough to
// scroll.
#include "app/gallery_window.h"
#include "ui/product_look.h"
#include "ui/skin_resources.h"

namespace orvo::gallery {

void TGalleryWindow::BuildMenu() {
  TLumPopupMenu& m = sysMenu;
  SetMainMenuLook(m);

  auto say = [this](const std::string& what) {
    if (auto* status = dynamic_cast<TLumLabel*>(FindControl("lblStatus"))) {
      status->SetCaption(what);
      Update();
    }
  };
  m.AddItem("Open the add-on folder").SetShortCut(scCtrl | 'O');
  TLumMenuItem& updates = m.AddItem("Check for updates");
  updates.AutoCheck = true;
  updates.SetChecked(true);
  m.AddItem("Show news").AutoCheck = true;
  m.AddItem("-");
  miLanguage = &m.AddItem("Language");
  const char* languages[] = {"English", "Deutsch", "Fran\u00E7ais", "Espa\u00F1ol"};
  for (const char* name : languages) {
    TLumMenuItem& item = miLanguage->AddSubItem(name);
    item.RadioItem = true;
    item.AutoCheck = true;
    item.GroupIndex = 1;
    item.OnClick = [say](TLumMenuItem& picked) { say("Language: " + picked.Caption()); };
  }
  miLanguage->SubItem(0)->SetChecked(true);
  miLanguage->AddSubItem("-");
  miMoreLanguages = &miLanguage->AddSubItem("More languages");
  for (const char* name :
       {"Italiano", "Nederlands", "Polski", "Portugu\u00EAs", "Svenska", "T\u00FCrk\u00E7e"}) {
    TLumMenuItem& item = miMoreLanguages->AddSubItem(name);
    item.RadioItem = true;
    item.AutoCheck = true;
    item.GroupIndex = 1;
    item.OnClick = [say](TLumMenuItem& picked) { say("Language: " + picked.Caption()); };
  }
  miLongList = &m.AddItem("A long list");
  for (int i = 1; i <= 60; ++i) miLongList->AddSubItem("Entry " + std::to_string(i));
  m.AddItem("Disabled entry").Enabled = false;
  m.AddItem("-");
  m.AddItem("About Orvo UI Gallery").SetShortCut(0x70);
  TLumMenuItem& exit = m.AddItem("Exit");
  exit.SetShortCut(scAlt | 0x73);
  exit.OnClick = [this](TLumMenuItem&) { lmfrm1->CloseForm(); };
  for (int i = 0; i < m.ItemCount(); ++i) {
    TLumMenuItem* item = m.Items(i);
    if (!item->OnClick && item->SubItemCount() == 0) {
      item->OnClick = [say](TLumMenuItem& picked) { say("Picked: " + picked.Caption()); };
    }
  }
}

}  // namespace orvo::gallery
