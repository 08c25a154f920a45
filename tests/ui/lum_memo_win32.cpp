// The multi-line box on the real window system: the control hosts the system's EDIT box
// inside its form's window, over its inner area, and every operation reaches it; typing
// into the box reports a change; the box follows the control's visibility; a press on the
// form takes the focus back; and the box goes quietly with its form.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/window_system.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/lum_edit.h"
#include "ui/lum_memo.h"

namespace orvo {
namespace {

class RealMemo : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    auto system = os::OpenWindowSystem(&error);
    ASSERT_TRUE(system) << error;
    scope_ = std::make_unique<os::WindowSystemScope>(std::move(system));
    form_ = std::make_unique<TForm>();
    form_->SetBounds(60, 60, 360, 240);
    memo_ = form_->Make<TLumMemo>();
    memo_->SetBounds(20, 30, 220, 120);
    memo_->OnChange = [this](TLumMemo&) { ++changes_; };
    edit_ = form_->Make<TLumEdit>();
    edit_->SetBounds(20, 170, 120, 24);
    form_->Show();
    Pump();
  }
  void TearDown() override {
    form_.reset();
    scope_.reset();
  }
  void Pump() {
    for (int i = 0; i < 8; ++i) {
      Application().ProcessMessages();
      Sleep(10);
    }
  }
  HWND Box() const {
    return memo_->IsNative() ? FindWindowExW(FormHwnd(), nullptr, L"Edit", nullptr) : nullptr;
  }
  HWND FormHwnd() const { return static_cast<HWND>(form_->Handle()->NativeHandle()); }

  std::unique_ptr<os::WindowSystemScope> scope_;
  std::unique_ptr<TForm> form_;
  TLumMemo* memo_ = nullptr;
  TLumEdit* edit_ = nullptr;
  int changes_ = 0;
};

TEST_F(RealMemo, TheSystemsBoxSitsOverTheInnerArea) {
  ASSERT_TRUE(memo_->IsNative());
  HWND box = Box();
  ASSERT_TRUE(box);
  EXPECT_TRUE(IsWindowVisible(box));
  EXPECT_TRUE(GetWindowLongW(box, GWL_STYLE) & ES_MULTILINE);
  RECT r;
  GetWindowRect(box, &r);
  MapWindowPoints(HWND_DESKTOP, FormHwnd(), reinterpret_cast<POINT*>(&r), 2);
  const Rect inner = memo_->InnerRect().Offset(20, 30);
  EXPECT_EQ(r.left, inner.left);
  EXPECT_EQ(r.top, inner.top);
  EXPECT_EQ(r.right, inner.right);
  EXPECT_EQ(r.bottom, inner.bottom);
  // It moves with the control.
  memo_->SetLeft(40);
  Pump();
  GetWindowRect(box, &r);
  MapWindowPoints(HWND_DESKTOP, FormHwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, memo_->InnerRect().left + 40);
}

TEST_F(RealMemo, OperationsReachTheBox) {
  ASSERT_TRUE(memo_->IsNative());
  memo_->SetText("first\nsecond");
  EXPECT_EQ(memo_->Text(), "first\r\nsecond");
  EXPECT_EQ(memo_->LineCount(), 2);
  EXPECT_EQ(changes_, 0);
  memo_->SetSelection(0, 5);
  EXPECT_EQ(memo_->SelText(), "first");
  memo_->CopyToClipboard();
  Pump();
  EXPECT_EQ(os::CurrentWindowSystem()->ClipboardText(), "first");
  memo_->SetSelText("1st");
  EXPECT_EQ(memo_->Text(), "1st\r\nsecond");
  EXPECT_GT(changes_, 0);
  memo_->SetSelection(static_cast<int>(memo_->Text().size()), 0);
  memo_->PasteFromClipboard();
  EXPECT_EQ(memo_->Text(), "1st\r\nsecondfirst");
  memo_->SetReadOnly(true);
  EXPECT_TRUE(GetWindowLongW(Box(), GWL_STYLE) & ES_READONLY);
}

TEST_F(RealMemo, TypingIntoTheBoxIsAChange) {
  ASSERT_TRUE(memo_->IsNative());
  memo_->SetFocus();
  Pump();
  EXPECT_EQ(GetFocus(), Box());
  EXPECT_EQ(form_->ActiveControl(), memo_);
  SendMessageW(Box(), WM_CHAR, 'h', 0);
  SendMessageW(Box(), WM_CHAR, 'i', 0);
  EXPECT_EQ(memo_->Text(), "hi");
  EXPECT_EQ(changes_, 2);
  // A press elsewhere on the form takes the focus back to the form's controls.
  SendMessageW(FormHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 180));
  SendMessageW(FormHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(60, 180));
  Pump();
  EXPECT_NE(GetFocus(), Box());
  EXPECT_EQ(form_->ActiveControl(), edit_);
}

TEST_F(RealMemo, TheBoxFollowsTheControlsVisibilityAndGoesWithItsForm) {
  ASSERT_TRUE(memo_->IsNative());
  HWND box = Box();
  memo_->SetVisible(false);
  Pump();
  EXPECT_FALSE(IsWindowVisible(box));
  memo_->SetVisible(true);
  Pump();
  EXPECT_TRUE(IsWindowVisible(box));
  form_.reset();  // the form's window takes the box with it; the control then goes quietly
  EXPECT_FALSE(IsWindow(box));
}

}  // namespace
}  // namespace orvo
