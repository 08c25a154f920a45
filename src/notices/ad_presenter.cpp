// Drawing and handling the advert.
#include "notices/ad_presenter.h"

#include <cstdlib>

#include "graphics/canvas.h"
#include "notices/web_address.h"
#include "platform/text_format.h"
#include "shell/language.h"
#include "shell/site_pages.h"
#include "shell/version_text.h"
#include "ui/lum_image.h"
#include "ui/lum_ui_drawing.h"

namespace orvo {
namespace {

constexpr uint32_t kTitleFormat = kDtLeft | kDtSingleLine | kDtEndEllipsis | kDtNoPrefix;

}  // namespace

AdReaderSettings ProgramAdSettings() {
  AdReaderSettings settings;
  settings.version_text = VersionText();
  settings.folder = AdvertFolder();
  settings.language = LanguageFile();
  settings.default_check_url = SitePage(kAdvertPath);
  return settings;
}

TOrvoAd::TOrvoAd(TLumImage& image, AdReaderSettings settings) : image_(image) {
  image_.OnAfterDrawPaint = [this](TControl&, Canvas& canvas) { Draw(canvas); };
  image_.OnClick = [this](TControl&) {
    if (shown_) OpenNetworkAddress(shown_->link, AddressUse::kPage);
  };
  image_.OnMouseEnter = [this](TControl&) {
    hover_ = true;
    image_.Invalidate();
  };
  image_.OnMouseLeave = [this](TControl&) {
    hover_ = false;
    image_.Invalidate();
  };
  reader_ = std::make_unique<TOrvoADReader>(std::move(settings),
                                            [this](const TagOrvoAdInfo& item) { ItemReady(item); });
  reader_->Start();
}

TOrvoAd::~TOrvoAd() {
  image_.OnAfterDrawPaint = nullptr;
  image_.OnClick = nullptr;
  image_.OnMouseEnter = nullptr;
  image_.OnMouseLeave = nullptr;
}

void TOrvoAd::ItemReady(const TagOrvoAdInfo& item) {
  shown_ = item;
  shown_->group = nullptr;
  shown_->picture = PngImage();
  if (shown_->align >= 0 && shown_->align <= 4) {
    picture_ = item.picture;
    // Without a picture the title takes the whole box (from this paint on, not the next).
    if (picture_.empty() && shown_->align <= 3) shown_->align = 5;
  } else {
    picture_ = PngImage();
  }
  image_.Invalidate();
}

void TOrvoAd::Draw(Canvas& canvas) {
  title_box_ = {};
  if (!shown_) return;
  const TagOrvoAdInfo& ad = *shown_;
  const Rect clip = canvas.ClipRect();
  const int L = clip.left + ad.rect.left;
  const int T = clip.top + ad.rect.top;
  const int W = ad.rect.width();
  const int H = ad.rect.height();
  const int w = picture_.width();
  const int h = picture_.height();
  Font font;
  font.name = ad.fontname;
  font.set_size(ad.fontsize);
  font.color = hover_ ? ad.fontcolorover : ad.fontcolor;
  canvas.font = font;
  const int t = canvas.TextHeight("a");
  const int v = std::abs(h - t) / 2;
  const Point origin = canvas.origin();
  const auto title = [&](Rect r) {
    title_box_ = r;
    DrawTextKeepAlpha(canvas.target(), font, r.Offset(origin.x, origin.y), kTitleFormat, ad.title);
  };
  switch (ad.align) {
    case 0:
      canvas.DrawPng(L, T, picture_);
      title({L + w, T + v, L + w + W, T + H});
      break;
    case 1:
      canvas.DrawPng(L, T, picture_);
      title({L, T + h, L + W, T + H});
      break;
    case 2: {
      const int text_width = canvas.TextWidth(ad.title);
      title({L, T + v, L + W, T + H});
      canvas.DrawPng(L + text_width, T, picture_);
      break;
    }
    case 3: {
      const int text_height = canvas.TextHeight(ad.title);
      title({L, T, L + W, T + H});
      canvas.DrawPng(L, T + text_height, picture_);
      break;
    }
    case 4: canvas.DrawPng(0, 0, picture_); break;
    case 5: title({L, T, L + W, T + H}); break;
    default: break;
  }
}

}  // namespace orvo
