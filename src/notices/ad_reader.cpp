// Reading the advert description, keeping it, and preparing the pictures.
#include "notices/ad_reader.h"

#include <cmath>
#include <limits>

#include "catalogue/json_writer.h"
#include "catalogue/shell_helpers.h"
#include "net/transfer_limits.h"
#include "notices/ad_values.h"
#include "notices/first_paint_gate.h"
#include "platform/platform.h"
#include "platform/win_constants.h"
#include "platform/integer_text.h"

namespace orvo {
namespace {

constexpr char kAdTxt[] = "Ad.txt";
constexpr char kUpdateInfoTxt[] = "UpdateInfo.txt";
constexpr int kCsidlAppData = 26;

// A member as text: a string as it is, a number as written.
bool Text(const Json& object, std::string_view name, std::string& out) {
  const Json* v = Member(object, name);
  if (!v) return false;
  if (v->is_string()) {
    out = v->get<std::string>();
  } else if (v->is_number_integer() || v->is_number_unsigned()) {
    out = v->dump();
  } else if (v->is_number_float()) {
    const double d = v->get<double>();
    out = std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15
              ? std::to_string(static_cast<long long>(d))
              : v->dump();
  } else {
    return false;
  }
  return true;
}

// A member as a 32-bit integer: a whole number, or text holding one.
bool Integer(const Json& object, std::string_view name, int& out) {
  const Json* v = Member(object, name);
  if (!v) return false;
  if (v->is_number_integer() || v->is_number_unsigned()) {
    if (v->is_number_unsigned() &&
        v->get<uint64_t>() > uint64_t(std::numeric_limits<int32_t>::max()))
      return false;
    const int64_t n =
        v->is_number_unsigned() ? static_cast<int64_t>(v->get<uint64_t>()) : v->get<int64_t>();
    if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
      return false;
    out = static_cast<int>(n);
    return true;
  }
  if (v->is_string()) {
    const auto parsed = ParseInt32(v->get<std::string>());
    if (!parsed) return false;
    out = *parsed;
    return true;
  }
  return false;
}

bool Color(const Json& object, std::string_view name, TColor& out) {
  std::string text;
  if (!Text(object, name, text)) return false;
  const auto color = ParseAdColor(text);
  if (!color) return false;
  out = *color;
  return true;
}

// Query values are percent-encoded: the language value is a file path, which holds
// blanks ("Program Files"), and may hold "&" or "#".
std::string QueryValue(std::string_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : value) {
    const auto u = static_cast<unsigned char>(c);
    const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
                       c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += kHex[u >> 4];
      out += kHex[u & 15];
    }
  }
  return out;
}

bool ReadItem(const Json& object, TagOrvoAdInfo& item) {
  const Json* rect = ObjectMember(object, "rect");
  if (!Integer(object, "align", item.align) || !Integer(object, "frame", item.frame) ||
      !Text(object, "title", item.title) || !Text(object, "tips", item.tips) ||
      !Text(object, "link", item.link)) {
    return false;
  }
  if (item.align != 5 && !Text(object, "imgsrc", item.imgsrc)) return false;
  return Color(object, "fontcolor", item.fontcolor) &&
         Color(object, "fontcolorover", item.fontcolorover) &&
         Text(object, "fontname", item.fontname) && Integer(object, "fontsize", item.fontsize) &&
         Integer(object, "interval", item.interval) && Integer(object, "life", item.life) && rect &&
         Integer(*rect, "left", item.rect.left) && Integer(*rect, "top", item.rect.top) &&
         Integer(*rect, "right", item.rect.right) && Integer(*rect, "bottom", item.rect.bottom);
}

}  // namespace

std::string AdvertFolder() {
  const std::string app_data = GetSpecialFolder(kCsidlAppData);
  if (app_data.empty()) return {};
  return AddBackslash(app_data) + "UpdateInfo\\";
}

TOrvoADReader::TOrvoADReader(AdReaderSettings settings, ItemReady ready)
    : settings_(std::move(settings)),
      ready_(std::move(ready)),
      check_url_(settings_.default_check_url) {}

TOrvoADReader::~TOrvoADReader() { FreeGroups(); }

void TOrvoADReader::Start() {
  if (!settings_.folder.empty()) os::Current().files().CreateFolders(settings_.folder);
  ReadAdTxt();
  const std::string url = RequestUrl();
  if (url.empty()) return;
  reading_ = true;
  std::weak_ptr<int> alive = alive_;
  WhenMainWindowPainted([this, alive, url] {
    if (alive.expired()) return;
    auto thread = std::make_unique<THttpReadThread>(url, kMaxDescriptionBytes);
    thread->OnTerminate = [this, alive](THttpReadThread& t) {
      WhenMainWindowPainted([this, alive, done = t.Done(), text = t.ResultText()] {
        if (alive.expired()) return;
        reading_ = false;
        if (done) ReadReply(text);
      });
    };
    TWorkerThread::Start(std::move(thread));
  });
}

void TOrvoADReader::ReadAdTxt() {
  adver_ = "0";
  if (settings_.folder.empty()) return;
  const auto bytes =
      os::Current().files().ReadFile(settings_.folder + kAdTxt, kMaxDescriptionBytes);
  if (!bytes) return;
  const auto document = ParseJsonDocument(*bytes);
  std::string adver;
  if (!document || !Text(document->value, "adver", adver)) return;
  adver_ = adver;
  std::string check_url;
  if (Text(document->value, "adcheckurl", check_url) && !check_url.empty()) check_url_ = check_url;
}

std::string TOrvoADReader::RequestUrl() const {
  if (settings_.version_text.empty() || settings_.language.empty() || adver_.empty()) return {};
  return check_url_ + "?name=xob&ver=" + QueryValue(settings_.version_text) +
         "&lang=" + QueryValue(settings_.language) + "&adver=" + QueryValue(adver_);
}

void TOrvoADReader::ReadReply(const std::string& text) {
  if (text.empty()) return;
  reply_ = text;
  const auto reply = ParseJsonDocument(text);
  int msg = 0;
  if (!reply || !Integer(reply->value, "msg", msg)) return;
  msg_ = msg;
  if (msg == 2) {
    stopped_ = true;
    FreeGroups();
    return;
  }
  std::unique_ptr<JsonDocument> kept;
  const Json* description = &reply->value;
  if (msg == 0) {
    if (settings_.folder.empty()) return;
    const auto bytes =
        os::Current().files().ReadFile(settings_.folder + kUpdateInfoTxt, kMaxDescriptionBytes);
    if (!bytes || !(kept = ParseJsonDocument(*bytes))) return;
    description = &kept->value;
  }
  if (!ReadDescription(*description)) return;
  if ((msg == 1 || msg == 3) && !settings_.folder.empty()) {
    os::Current().files().WriteFileAtomic(settings_.folder + kUpdateInfoTxt,
                                          WriteCompactJson(reply->value));
  }
}

bool TOrvoADReader::ReadDescription(const Json& d) {
  const Json* groups = ArrayMember(d, "adgroup");
  if (!Text(d, "adcheckurl", check_url_) || !Text(d, "adid", adid_) ||
      !Text(d, "adlang", adlang_) || !Text(d, "adver", adver_) ||
      !Integer(d, "adrefresh", refresh_) || !groups) {
    return false;
  }
  FreeGroups();
  const int count = static_cast<int>(groups->size());
  for (int g = 0; g < count; ++g) {
    const Json& source = (*groups)[static_cast<size_t>(g)];
    auto group = std::make_unique<TagOrvoAd>();
    group->index = g;
    group->count = count;
    const Json* items = source.is_object() ? ArrayMember(source, "adinfo") : nullptr;
    if (!items || !Integer(source, "kind", group->kind) || !Integer(source, "page", group->page))
      return false;
    TagOrvoAd& held = *group;
    groups_.push_back(std::move(group));
    for (size_t i = 0; i < items->size(); ++i) {
      const Json& object = (*items)[i];
      auto item = std::make_shared<TagOrvoAdInfo>();
      item->index = static_cast<int>(i);
      item->page = held.page;
      item->kind = held.kind;
      item->group = &held;
      if (!object.is_object() || !ReadItem(object, *item)) return false;
      if (i == 0) {
        held.current = 0;
        held.life = item->life;
        held.elapsed = 0;
      }
      held.items.push_back(item);
      PreparePicture(item);
    }
  }
  return true;
}

void TOrvoADReader::PreparePicture(const std::shared_ptr<TagOrvoAdInfo>& item) {
  const std::string name = item->imgsrc.empty() ? std::string() : AdPictureFileName(item->imgsrc);
  // An address without a plain file name at its end gives the item no picture: nothing
  // is written outside the advert folder.
  if (name.empty() || settings_.folder.empty()) {
    item->imgsrc.clear();
    ReportReady(*item);
    return;
  }
  item->local_path = settings_.folder + name;
  item->picture = PngImage();
  os::FileSystem& files = os::Current().files();
  if (files.GetAttributes(item->local_path) != os::kInvalidFileAttributes) {
    if (auto bytes = files.ReadFile(item->local_path, kMaxPictureBytes)) {
      // A kept file that is no picture shows as an item without one.
      auto kept = PngImage::FromPngFile(std::move(*bytes), os::kMaxDownloadedPictureSide);
      if (kept) item->picture = std::move(*kept);
    }
    ReportReady(*item);
    return;
  }
  ++pictures_pending_;
  std::weak_ptr<int> alive = alive_;
  auto thread = std::make_unique<TDownLoadImgThread>(item, kMaxPictureBytes);
  thread->OnTerminate = [this, alive, item](TDownLoadImgThread& t) {
    WhenMainWindowPainted([this, alive, item, done = t.Done()] {
      if (alive.expired()) return;
      --pictures_pending_;
      if (done) ReportReady(*item);
    });
  };
  TWorkerThread::Start(std::move(thread));
}

void TOrvoADReader::ReportReady(const TagOrvoAdInfo& item) {
  if (!item.group) return;
  if (item.group->kind == 1 && item.index != 0) return;
  if (ready_) ready_(item);
}

void TOrvoADReader::FreeGroups() {
  for (auto& group : groups_) {
    for (auto& item : group->items) item->group = nullptr;
  }
  groups_.clear();
}

}  // namespace orvo
