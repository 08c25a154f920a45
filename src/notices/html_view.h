#pragma once
// The page area of the news window: shows one HTML page with the toolkit's own text and
// picture drawing, in place of a web browser control. Navigating downloads the page and
// parses it on a worker thread; the page's pictures (PNG, from the page's own site only)
// follow on picture threads and are laid in as they arrive. A page taller than the
// area scrolls with the toolkit's scroll bar (and the wheel); a click on a link opens it
// in the user's browser when it is a web page or a mail address. Nothing of the page can
// run: html_document.h drops scripts, frames and objects before anything is laid out.
#include <functional>
#include <memory>
#include <string>

#include "notices/html_document.h"
#include "notices/html_layout.h"
#include "ui/lum_scroll_bar.h"
#include "ui/lum_ui_core.h"

namespace orvo {

class THtmlView : public TLumUIParentControl {
 public:
  THtmlView();
  ~THtmlView() override;

  // Downloads the page (at most 1 MiB; a failure reads as a page without a body) and
  // parses it on a worker thread; OnNavigateComplete runs on the UI thread when it is
  // done. A navigation started meanwhile replaces this one, whose result is dropped.
  void Navigate(const std::string& url);
  std::function<void(THtmlView&)> OnNavigateComplete;
  bool Navigating() const { return navigating_; }
  const std::string& Url() const { return url_; }

  // Shows a parsed page (what Navigate ends with) and starts fetching its pictures.
  void SetDocument(HtmlDocument document, const std::string& base_url);
  const HtmlDocument& Document() const { return *document_; }
  bool HasBody() const { return document_->body != nullptr; }
  // The window's preparation of the body: margin 0, no border (the default).
  void SetPlainBody(bool plain);

  // Pictures still on their way.
  bool PicturesPending() const { return pictures_pending_ > 0; }
  const HtmlPictures& Pictures() const { return pictures_; }
  const HtmlLayout& Layout() const { return layout_; }

  int ScrollTop() const { return scroll_top_; }
  void ScrollTo(int top);
  // The vertical bar, shown only while the page is taller than the area.
  TLumScrollBar* VerticalBar() const { return bar_; }

  // A click on a link; by default OpenNetworkAddress for web pages and mail addresses.
  std::function<void(const std::string& href)> OnLinkClick;
  // The link under a point of the control, if any.
  std::string LinkAt(Point p) const;

  void DrawControl(Bitmap32& bitmap) override;
  void Resize() override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  bool MouseWheel(int delta, TShiftState shift, int x, int y) override;

 private:
  void Relayout();
  void FetchPictures();
  int PageWidth() const;
  int BarWidth() const;

  std::shared_ptr<HtmlDocument> document_;
  std::string url_;
  std::string base_url_;
  HtmlLayout layout_;
  HtmlPictures pictures_;
  HtmlLayoutOptions options_;
  int pictures_pending_ = 0;
  int scroll_top_ = 0;
  bool navigating_ = false;
  std::string pressed_link_;
  TLumScrollBar* bar_ = nullptr;
  // Work started for a page reports back only while the page is still the one shown.
  std::shared_ptr<int> generation_ = std::make_shared<int>(0);
};

}  // namespace orvo
