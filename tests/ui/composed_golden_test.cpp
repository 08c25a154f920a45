// Composed skinned controls, pixel-exact against the goldens in tests/golden/: a message box
// skin tiled to a new size with transparent labels (one glowing), pictures and a
// half-opaque overlay, painted by the headless form.
#include <gtest/gtest.h>

#include "support/pixels.h"
#include "support/sample_controls.h"
#include "ui/form.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

using test::PictureBox;
using test::TextLabel;

PngImage Frame(std::string_view skin, int count, int index) {
  PngImage strip = SkinPng(skin);
  auto frame = StateFrameHorz(strip, count, index);
  return frame ? *frame : PngImage();
}

TEST(ComposedGolden, DialogWithTransparentChildren) {
  TForm form;
  form.SetBounds(0, 0, 340, 190);
  form.Color = MakeColor(220, 227, 235);
  auto* panel = form.Make<test::SkinPanel>();
  panel->SetAlign(alClient);
  panel->SetTransparent(true);
  panel->skin = SkinPng("msg_form");
  panel->split = TLumUIPadding(5, 30, 25, 35);

  auto* title = panel->Make<TextLabel>();
  title->Name = "lblTitle";
  title->SetTransparent(true);
  title->SetBounds(12, 9, 200, 20);
  title->caption = "Orvo Plugin Manager";
  title->font.color = clWhite;
  title->font.style = fsBold;

  auto* glow = panel->Make<TextLabel>();
  glow->Name = "lblGlow";
  glow->SetTransparent(true);
  glow->SetBounds(60, 45, 220, 24);
  glow->caption = "Glowing caption over the skin";
  glow->glow = MakeColor(255, 200, 40);
  glow->font.color = MakeColor(40, 40, 40);

  auto* icon = panel->Make<PictureBox>();
  icon->Name = "imgIcon";
  icon->SetTransparent(true);
  icon->SetBounds(14, 40, 35, 35);
  icon->picture = Frame("msg_icons", 4, 3);

  auto* toggle = panel->Make<PictureBox>();
  toggle->Name = "imgSwitch";
  toggle->SetTransparent(true);
  toggle->SetBounds(60, 80, 45, 18);
  toggle->picture = Frame("switch_on", 3, 0);

  // Half opaque, over the switch and the text: both show through, darkened.
  auto* overlay = panel->Make<TextLabel>();
  overlay->Name = "lblOverlay";
  overlay->SetBounds(90, 70, 120, 40);
  overlay->SetAlpha(140);
  overlay->caption = "overlay";
  overlay->font.color = clWhite;
  overlay->format = kDtCenter | kDtVCenter | kDtSingleLine;

  form.PaintAll();
  EXPECT_TRUE(test::MatchesGolden(form.Screen(), "composed_dialog"));
}

TEST(ComposedGolden, MainWindowSkinStretchedWithTabs) {
  TForm form;
  form.SetBounds(0, 0, 420, 220);
  auto* panel = form.Make<test::SkinPanel>();
  panel->SetAlign(alClient);
  panel->skin = SkinPng("tab_button");
  panel->Color = MakeColor(24, 44, 72);
  panel->split = TLumUIPadding(6, 6, 165, 44);
  for (int k = 0; k < 3; ++k) {
    auto* tab = panel->Make<PictureBox>();
    tab->Name = "btnB" + std::to_string(k + 1);
    tab->SetTransparent(true);
    tab->SetBounds(5, 10 + 55 * k, 171, 50);
    tab->picture = Frame("tab_button", 3, k);
    auto* label = panel->Make<TextLabel>();
    label->Name = "lblTab" + std::to_string(k + 1);
    label->SetTransparent(true);
    label->SetBounds(55, 10 + 55 * k, 120, 50);
    label->caption = k == 0 ? "Google Chrome" : k == 1 ? "Internet Explorer" : "Opera";
    label->font.color = clWhite;
  }
  form.PaintAll();
  EXPECT_TRUE(test::MatchesGolden(form.Screen(), "composed_tabs"));
}

}  // namespace
}  // namespace orvo
