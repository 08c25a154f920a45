// The page view: navigation, pictures, layout, scrolling and links.
#include "notices/html_view.h"

#include <algorithm>

#include "net/download_threads.h"
#include "net/http_downloads.h"
#include "net/transfer_limits.h"
#include "notices/web_address.h"
#include "ui/image_module.h"

namespace orvo {
namespace {

// At most this many pictures are fetched for one page.
constexpr size_t kMaxPictures = 32;
constexpr int kWheelStep = 48;

// Downloads and parses one page.
class THtmlPageThread : public TWorkerThread {
 public:
  explicit THtmlPageThread(std::string url)
      : TWorkerThread(Priority::kNormal), url_(std::move(url)) {}
  std::function<void(THtmlPageThread&)> OnTerminate;
  HtmlDocument& Document() { return document_; }
  const std::string& Url() const { return url_; }

 protected:
  void Execute() override {
    const auto bytes = HttpGetBytes(url_, kMaxDescriptionBytes);
    if (bytes) document_ = ParseHtmlDocument(*bytes, url_);
  }
  void DoTerminate() override {
    if (OnTerminate) OnTerminate(*this);
  }

 private:
  const std::string url_;
  HtmlDocument document_;
};

// The page's own bitmap is opaque everywhere; text output may have left alpha bytes at 0
// (GDI clears them), which a layered window would show as holes.
void MakeOpaque(Bitmap32& bitmap) {
  const size_t count = static_cast<size_t>(bitmap.width()) * bitmap.height();
  Argb* p = bitmap.pixels();
  for (size_t i = 0; i < count; ++i) p[i] |= 0xFF000000u;
}

}  // namespace

THtmlView::THtmlView() : document_(std::make_shared<HtmlDocument>()) {
  OnLinkClick = [](const std::string& href) { OpenNetworkAddress(href, AddressUse::kPageOrMail); };
  bar_ = Make<TLumScrollBar>();
  bar_->Name = "wb1VerBar";
  bar_->SetVisible(false);
  bar_->SetKind(skVer);
  if (imgModule) bar_->SetScrollRes(&imgModule->lmscrlbrs);
  bar_->OnScroll = [this](TLumScrollBar&, int& pos) {
    ScrollTo(pos);
    pos = scroll_top_;
  };
  SetBounds(0, 0, 200, 150);
}

THtmlView::~THtmlView() = default;

void THtmlView::Navigate(const std::string& url) {
  url_ = url;
  navigating_ = true;
  const int generation = ++*generation_;
  std::weak_ptr<int> alive = generation_;
  auto thread = std::make_unique<THtmlPageThread>(url);
  thread->OnTerminate = [this, alive, generation](THtmlPageThread& t) {
    const auto current = alive.lock();
    if (!current || *current != generation) return;
    navigating_ = false;
    SetDocument(std::move(t.Document()), t.Url());
    if (OnNavigateComplete) OnNavigateComplete(*this);
  };
  TWorkerThread::Start(std::move(thread));
}

void THtmlView::SetDocument(HtmlDocument document, const std::string& base_url) {
  ++*generation_;
  document_ = std::make_shared<HtmlDocument>(std::move(document));
  base_url_ = base_url;
  options_.base_url = base_url;
  pictures_.clear();
  pictures_pending_ = 0;
  scroll_top_ = 0;
  bar_->SetPosition(0);
  Relayout();
  FetchPictures();
}

void THtmlView::SetPlainBody(bool plain) {
  if (options_.plain_body == plain) return;
  options_.plain_body = plain;
  Relayout();
}

void THtmlView::FetchPictures() {
  std::vector<std::string> addresses = HtmlPictureAddresses(*document_, base_url_);
  if (addresses.size() > kMaxPictures) addresses.resize(kMaxPictures);
  const int generation = *generation_;
  std::weak_ptr<int> alive = generation_;
  for (const std::string& address : addresses) {
    pictures_[address] = PngImage();
    auto item = std::make_shared<TPictureItem>();
    item->imgsrc = address;
    auto thread = std::make_unique<TDownLoadImgThread>(item, kMaxPictureBytes);
    thread->OnTerminate = [this, alive, generation](TDownLoadImgThread& t) {
      const auto current = alive.lock();
      if (!current || *current != generation) return;
      --pictures_pending_;
      if (!t.Done()) return;
      pictures_[t.Item().imgsrc] = std::move(t.Item().picture);
      Relayout();
    };
    ++pictures_pending_;
    TWorkerThread::Start(std::move(thread));
  }
}

int THtmlView::BarWidth() const { return bar_->Width(); }

int THtmlView::PageWidth() const {
  return std::max(0, Width() - (bar_->Visible() ? BarWidth() : 0));
}

// Laid out at the full width first; when the page is taller than the area the bar comes
// and the page is laid out again beside it.
void THtmlView::Relayout() {
  bar_->SetVisible(false);
  layout_ = LayoutHtml(*document_, PageWidth(), pictures_, options_);
  if (layout_.height > Height() && Width() > BarWidth()) {
    bar_->SetVisible(true);
    layout_ = LayoutHtml(*document_, PageWidth(), pictures_, options_);
    bar_->SetBounds(Width() - BarWidth(), 0, BarWidth(), Height());
    bar_->SmallChange = 20;
    bar_->LargeChange = std::max(Height() - 20, 20);
    bar_->SetParams(0, layout_.height, Height());
  }
  ScrollTo(scroll_top_);
  Changed();
}

void THtmlView::ScrollTo(int top) {
  const int lowest = std::max(0, layout_.height - Height());
  top = std::clamp(top, 0, lowest);
  if (top == scroll_top_ && (!bar_->Visible() || bar_->Position() == top)) return;
  scroll_top_ = top;
  if (bar_->Visible()) bar_->SetPosition(top);
  Changed();
}

std::string THtmlView::LinkAt(Point p) const {
  if (p.x < 0 || p.y < 0 || p.x >= PageWidth() || p.y >= Height()) return {};
  return layout_.LinkAt({p.x, p.y + scroll_top_});
}

void THtmlView::DrawControl(Bitmap32& bitmap) {
  Canvas& canvas = bitmap.canvas();
  canvas.Save();
  canvas.IntersectClip(RectOfSize(0, 0, PageWidth(), Height()));
  PaintHtml(layout_, pictures_, canvas, {0, -scroll_top_});
  canvas.Restore();
  MakeOpaque(bitmap);
}

void THtmlView::Resize() {
  TLumUIParentControl::Resize();
  Relayout();
}

void THtmlView::MouseMove(TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseMove(shift, x, y);
  Cursor = LinkAt({x, y}).empty() ? crDefault : crHandPoint;
}

void THtmlView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseDown(button, shift, x, y);
  if (button == mbLeft) pressed_link_ = LinkAt({x, y});
}

// A link opens when the button goes down and up on it, as in a browser.
void THtmlView::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseUp(button, shift, x, y);
  if (button != mbLeft) return;
  const std::string pressed = std::move(pressed_link_);
  pressed_link_.clear();
  const std::string link = LinkAt({x, y});
  if (!link.empty() && link == pressed && OnLinkClick) OnLinkClick(link);
}

void THtmlView::MouseLeave() {
  TLumUIParentControl::MouseLeave();
  Cursor = crDefault;
}

bool THtmlView::MouseWheel(int delta, TShiftState, int, int) {
  if (!bar_->Visible()) return false;
  ScrollTo(scroll_top_ - delta * kWheelStep / 120);
  return true;
}

}  // namespace orvo
