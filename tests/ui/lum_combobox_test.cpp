// The combobox on the headless screen: its index rules, dropping the list down or (near
// the bottom of the work area) up, picking items and their events in order, check items,
// the scroll bar of a long list, the ways the list closes, and typing with CanInput.
#include <gtest/gtest.h>

#include "support/headless_screen.h"
#include "ui/form.h"
#include "ui/image_module.h"
#include "ui/lum_combobox.h"
#include "ui/lum_list_form.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

struct ComboScene {
  test::HeadlessScreen screen;  // 1024 x 768, work area to 728
  TimgModule module;
  TForm form;
  TLumCombobox* box;
  std::vector<std::string> log;
  explicit ComboScene(int form_top = 100, int items = 3) {
    form.SetBounds(100, form_top, 300, 100);
    box = form.Make<TLumCombobox>();
    box->SetBounds(10, 40, 160, 24);
    box->ImgBox = SkinPng("combo_box");
    box->Boxsplit = TLumUIPadding(9, 0, 14, 0);
    box->ImgBtn = SkinPng("combo_button");
    box->BtnStateCount = 3;
    box->ImgForm = SkinPng("combo_form");
    box->Formsplit = TLumUIPadding(10, 10, 20, 20);
    box->AlphaWidth = 4;
    box->Imgitem = SkinPng("combo_item");  // 22 high
    box->itemsplit = TLumUIPadding(4, 0, 14, 0);
    box->ItemStateCount = 1;
    box->ImgCheck = SkinPng("check");
    box->VerScrollRes = &module.lmscrlbrs;
    box->SkinChanged();
    for (int i = 0; i < items; ++i) {
      TLumCboxItem& item = box->AddItem("Item " + std::to_string(i));
      item.OnClick = [this](TLumCboxItem& it) { log.push_back("item click " + it.Caption); };
    }
    box->OnItemClick = [this](TLumCombobox&, TLumCboxItem& it) {
      log.push_back("click " + it.Caption);
    };
    box->OnChange = [this](TLumCboxItem& it) { log.push_back("change " + it.Caption); };
    form.Show();
    screen->ProcessMessages();
  }
  ~ComboScene() {
    box->CloseUp();
    form.Hide();
  }
  Point ButtonCentre() const {
    const Rect b = box->ButtonRect();
    return form.ClientToScreen({10 + (b.left + b.right) / 2, 40 + (b.top + b.bottom) / 2});
  }
  void ClickItem(int index) {
    const Rect r = box->ListForm()->ItemScreenRect(*box->Items(index));
    screen->Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
};

TEST(LumCombobox, IndexRules) {
  ComboScene s;
  s.box->SetIndex(1);
  EXPECT_EQ(s.box->index(), 1);
  EXPECT_EQ(s.box->Text(), "Item 1");
  EXPECT_EQ(s.log, std::vector<std::string>{"change Item 1"});
  s.log.clear();
  s.box->SetIndex(1);  // the same: nothing
  s.box->SetIndex(3);  // beyond the last: ignored
  EXPECT_EQ(s.box->index(), 1);
  s.box->SetIndex(-1);  // forgets the choice, keeps the text, fires nothing
  EXPECT_EQ(s.box->index(), -1);
  EXPECT_EQ(s.box->SelectedItem(), nullptr);
  EXPECT_EQ(s.box->Text(), "Item 1");
  EXPECT_TRUE(s.log.empty());
}

TEST(LumCombobox, DropsDownBelowOrUpNearTheBottomOfTheWorkArea) {
  for (const bool near_bottom : {false, true}) {
    ComboScene s(near_bottom ? 640 : 100);
    const Point b = s.ButtonCentre();
    s.screen->Click(b.x, b.y);
    ASSERT_TRUE(s.box->DroppedDown());
    const TLumListForm& list = *s.box->ListForm();
    EXPECT_EQ(list.Height(), 3 * (22 + 2) + 2 * 4 + 2);
    EXPECT_EQ(list.Width(), 160);
    const int box_top = s.form.Top() + 40;
    EXPECT_EQ(s.box->DroppedUp(), near_bottom);
    if (near_bottom) {
      EXPECT_EQ(list.Top() + list.Height(), box_top);
    } else {
      EXPECT_EQ(list.Top(), box_top + 24);
    }
  }
}

TEST(LumCombobox, PickingAnItemFiresItsEventsInOrderAndCloses) {
  ComboScene s;
  s.box->SetIndex(0);
  s.log.clear();
  s.screen->Click(s.ButtonCentre().x, s.ButtonCentre().y);
  s.ClickItem(2);
  EXPECT_EQ(s.log,
            (std::vector<std::string>{"click Item 2", "change Item 2", "item click Item 2"}));
  EXPECT_FALSE(s.box->DroppedDown());
  EXPECT_EQ(s.box->Text(), "Item 2");
  EXPECT_EQ(s.box->index(), 2);
  // The same item again: no change.
  s.log.clear();
  s.screen->Click(s.ButtonCentre().x, s.ButtonCentre().y);
  s.ClickItem(2);
  EXPECT_EQ(s.log, (std::vector<std::string>{"click Item 2", "item click Item 2"}));
}

TEST(LumCombobox, CheckBoxesToggleAndKeepTheListOpen) {
  ComboScene s;
  s.box->ShowCheckBox = true;
  std::vector<std::string> checks;
  s.box->OnItemCheck = [&](TLumCombobox&, TLumCboxItem& it) {
    checks.push_back(it.Caption + (it.Checked ? " on" : " off"));
  };
  s.screen->Click(s.ButtonCentre().x, s.ButtonCentre().y);
  const TLumListForm& list = *s.box->ListForm();
  const Rect check = s.box->Items(1)->CheckRect.Offset(list.Left(), list.Top());
  const Point p{(check.left + check.right) / 2, (check.top + check.bottom) / 2};
  s.screen->MoveMouse(p.x, p.y);
  s.screen->Click(p.x, p.y);
  EXPECT_EQ(checks, std::vector<std::string>{"Item 1 on"});
  EXPECT_TRUE(s.box->DroppedDown());
  EXPECT_EQ(s.box->index(), -1);
}

TEST(LumCombobox, LongListsScrollShowitemCountAtATime) {
  ComboScene s(100, 20);
  s.box->ShowitemCount = 5;
  s.screen->Click(s.ButtonCentre().x, s.ButtonCentre().y);
  TLumListForm& list = *s.box->ListForm();
  ASSERT_TRUE(list.ScrollBar()->Visible());
  EXPECT_EQ(list.ScrollBar()->Max(), 19);
  EXPECT_EQ(list.ScrollBar()->PageSize(), 5);
  EXPECT_EQ(list.ShownCount(), 5);
  const Rect first = list.ItemScreenRect(*s.box->Items(0));
  s.screen->MoveMouse(first.left + 10, first.top + 5);
  s.screen->Wheel(-2 * os::kWheelDelta);
  EXPECT_EQ(list.FirstShown(), 2);
  s.screen->Wheel(-100 * os::kWheelDelta);
  EXPECT_EQ(list.FirstShown(), 15);
  s.ClickItem(17);
  EXPECT_EQ(s.box->index(), 17);
}

TEST(LumCombobox, TheListClosesOnEscOnAnotherPressAndWhenTheProgramLosesFocus) {
  ComboScene s;
  const Point b = s.ButtonCentre();
  s.screen->Click(b.x, b.y);
  s.screen->PressKey(kVkEscape);
  EXPECT_FALSE(s.box->DroppedDown());
  // A press on the button while open closes the list, and does not open it again.
  s.screen->Click(b.x, b.y);
  ASSERT_TRUE(s.box->DroppedDown());
  s.screen->Click(b.x, b.y);
  EXPECT_FALSE(s.box->DroppedDown());
  s.screen->Click(b.x, b.y);
  ASSERT_TRUE(s.box->DroppedDown());
  s.screen->ActivateOtherApplication();
  EXPECT_FALSE(s.box->DroppedDown());
  EXPECT_TRUE(s.log.empty());
}

TEST(LumCombobox, KeysMoveThroughTheOpenListAndPick) {
  ComboScene s;
  s.box->Items(1)->Enabled = false;
  s.screen->Click(s.ButtonCentre().x, s.ButtonCentre().y);
  s.screen->PressKey(kVkDown);
  s.screen->PressKey(kVkDown);  // over the disabled item
  EXPECT_EQ(s.box->ListForm()->HotItem(), s.box->Items(2));
  s.screen->PressKey(kVkReturn);
  EXPECT_EQ(s.box->index(), 2);
  EXPECT_FALSE(s.box->DroppedDown());
}

TEST(LumCombobox, WithCanInputTheBoxTakesTyping) {
  ComboScene s;
  s.box->SetCanInput(true);
  ASSERT_TRUE(s.box->Editor());
  s.box->SetIndex(1);
  EXPECT_EQ(s.box->Editor()->Text(), "Item 1");
  const Point p = s.form.ClientToScreen({10 + 30, 40 + 12});
  s.screen->Click(p.x, p.y);  // on the text: the edit, not the list
  EXPECT_FALSE(s.box->DroppedDown());
  s.box->Editor()->SelectAll();
  s.screen->Type("typed");
  EXPECT_EQ(s.box->Text(), "typed");
}

}  // namespace
}  // namespace orvo

namespace orvo {
namespace {

TEST(LumCombobox, TheExtraButtonsHintStandsInOnlyWhileThePointerIsOverIt) {
  ComboScene s;
  s.box->ImgExtraBtn = SkinPng("combo_button");
  s.box->ExtraBtn = true;
  s.box->ExtraBtnHint = "Clear";
  s.box->Hint = "Pick a language";
  s.box->ShowHint = false;
  s.box->SkinChanged();
  s.screen->ProcessMessages();
  const Rect extra = s.box->ExtraButtonRect();
  const Point over = s.form.ClientToScreen({10 + (extra.left + extra.right) / 2, 40 + 12});
  const Point box = s.form.ClientToScreen({10 + 4, 40 + 12});
  ASSERT_FALSE(s.box->ExtraButtonRect().Contains({4, 12}));
  for (int round = 0; round < 2; ++round) {
    s.screen->MoveMouse(over.x, over.y);
    EXPECT_EQ(s.box->Hint, "Clear");
    EXPECT_TRUE(s.box->ShowHint);
    if (round == 0) {
      s.screen->MoveMouse(box.x, box.y);  // on to the box
    } else {
      s.screen->MoveMouse(5, 5);  // off the control
    }
    EXPECT_EQ(s.box->Hint, "Pick a language") << round;
    EXPECT_FALSE(s.box->ShowHint) << round;
  }
}

}  // namespace
}  // namespace orvo
