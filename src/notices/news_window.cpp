// The news window's layout, slide, stay and fade.
#include "notices/news_window.h"

#include <algorithm>
#include <memory>

#include "notices/html_view.h"
#include "platform/window_system.h"
#include "shell/base_form.h"
#include "shell/language.h"
#include "shell/language_fonts.h"
#include "ui/product_look.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

std::unique_ptr<TFrmNews>& Instance() {
  static std::unique_ptr<TFrmNews> window;
  return window;
}

Rect WorkArea() {
  if (os::WindowSystem* system = os::CurrentWindowSystem()) return system->WorkAreaAt({0, 0});
  return {0, 0, 1024, 768};
}

}  // namespace

TFrmNews::TFrmNews() {
  Layered = true;
  LayeredFromTree = true;
  ToolWindow = true;
  SetBounds(0, 0, kDefaultWidth, kDefaultHeight);
  font.name = "Tahoma";
  font.set_size(8);
  lmfrm1 = Make<TLumForm>(this);
  lmfrm1->Name = "lmfrm1";
  lmfrm1->ImgForm = SkinPng("news_form");
  lmfrm1->FormSplit = TLumUIPadding(10, 26, 290, 190);
  lmfrm1->CaptionHeight = kCaptionHeight;
  lmfrm1->CutMode = CmRound;
  lmfrm1->CutRound = 5;
  lmfrm1->CanMove = true;
  lmfrm1->SupportReSize = false;
  lmfrm1->FormBtns = 0;
  lmfrm1->UseSkin = true;
  lmfrm1->CaptionFont.color = clWhite;
  lmfrm1->CaptionFont.style = fsBold;
  lmfrm1->TitleLeftFix = 4;
  lmfrm1->BtnRightFix = 4;
  SetCaptionButtonLook(*lmfrm1);
  lmfrm1->Loaded();
  wb1 = lmfrm1->Make<THtmlView>();
  wb1->Name = "wb1";
  wb1->OnNavigateComplete = [this](THtmlView&) { wb1NavigateComplete2(); };
  timer1.SetInterval(kSlideInterval);
  timer1.OnTimer = [this](TTimer&) { timer1Timer(); };
  timer2.SetInterval(kStayMs);
  timer2.OnTimer = [this](TTimer&) { timer2Timer(); };
  OnClose = [this](TForm&, TCloseAction& action) {
    action = caHide;
    timer1.SetEnabled(false);
    timer2.SetEnabled(false);
    phase_ = Phase::kHidden;
  };
}

TFrmNews::~TFrmNews() {
  timer1.SetEnabled(false);
  timer2.SetEnabled(false);
}

void TFrmNews::ShowNews(const std::string& page_url, int width, int height) {
  const Rect work = WorkArea();
  int w = kDefaultWidth, h = kDefaultHeight;
  if (width > 0 && height > 0) {
    // The page's own size, but never more than the screen can show.
    w = std::min(width, work.width());
    h = std::min(height, work.height());
  }
  PageWidth = width;
  PageHeight = height;
  PageUrl = page_url;
  SetBounds(work.right - w - 10, work.bottom + h, w, h);
  Prepare();
}

void TFrmNews::Prepare() {
  timer1.SetEnabled(false);
  timer2.SetEnabled(false);
  font.charset = GetLangCharset();
  font.name = GetLangFontName();
  font.set_size(GetLangFontSize());
  CopyFontMetrics(lmfrm1->font, font);
  CopyFontMetrics(lmfrm1->CaptionFont, font);
  const std::string caption = GetLangString("Message", "Newsletter", "Newsletter");
  SetCaption(caption);
  lmfrm1->SetCaption(caption);
  phase_ = Phase::kLoading;
  wb1->Navigate(PageUrl);
  LayeredOpacity = 255;
  timer2.SetInterval(kStayMs);
}

void TFrmNews::wb1NavigateComplete2() {
  if (phase_ != Phase::kLoading) return;
  if (!wb1->HasBody()) {
    Finish();
    return;
  }
  // The body shows without its own scroll bars, border or margin: the toolkit's bar
  // scrolls a long page.
  wb1->SetPlainBody(true);
  wb1->SetBounds(1, kCaptionHeight, Width() - 2, Height() - kCaptionHeight - 1);
  phase_ = Phase::kSliding;
  ShowNoActivate();
  RepaintLayered();
  timer1.SetEnabled(true);
}

void TFrmNews::timer1Timer() {
  const int settled_top = WorkArea().bottom - Height();
  int top = Top() - kSlideStep;
  if (top <= settled_top) {
    top = settled_top;
    timer1.SetEnabled(false);
    phase_ = Phase::kShown;
    timer2.SetEnabled(true);
  }
  SetBounds(Left(), top, Width(), Height());
}

void TFrmNews::timer2Timer() {
  if (phase_ != Phase::kFading) {
    phase_ = Phase::kFading;
    timer2.SetInterval(kFadeInterval);
  }
  LayeredOpacity = static_cast<uint8_t>(std::max(LayeredOpacity - kFadeStep, 0));
  RepaintLayered();
  if (LayeredOpacity <= kFadeEnd) Finish();
}

void TFrmNews::Finish() {
  timer1.SetEnabled(false);
  timer2.SetEnabled(false);
  phase_ = Phase::kHidden;
  Close();
}

bool TFrmNews::Settled() const {
  return phase_ == Phase::kShown && !wb1->Navigating() && !wb1->PicturesPending();
}

TFrmNews& NewsWindow() {
  auto& window = Instance();
  if (!window) window = std::make_unique<TFrmNews>();
  return *window;
}

TFrmNews* ExistingNewsWindow() { return Instance().get(); }

void FreeNewsWindow() { Instance().reset(); }

}  // namespace orvo
