#pragma once
// The advert reader: asks the maker's advert service for the advert description (JSON),
// keeps it and its pictures in the advert folder of the user's profile, and reports each
// advert item to the presenter as its picture becomes ready. One request per run.
//
//   Ad.txt          read when present (never written): adcheckurl and adver
//   UpdateInfo.txt  the last new description (msg 1 or 3), compact ASCII JSON; used again
//                   when the service answers msg 0 ("unchanged")
//   <name>.png      each picture, under the last segment of its address; a picture in
//                   the folder is never fetched again (a new picture needs a new name)
//
// Replies: msg 0 use the kept description, 1 and 3 a new one (kept), 2 no adverts (the
// reader stops), anything else a description used as it is. Reading stops at the first
// key that is missing or of the wrong form: items prepared before it stay, nothing is
// kept. Everything here runs on the UI thread; only the downloads run on worker threads.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/json_document.h"
#include "graphics/color.h"
#include "platform/geometry.h"
#include "net/download_threads.h"

namespace orvo {

struct TagOrvoAd;

// One advert item; a picture item of the picture thread (imgsrc, picture, local path).
struct TagOrvoAdInfo : TPictureItem {
  int index = 0;  // in its group
  int align = 0;
  int frame = 0;
  int interval = 0;
  int life = 0;
  std::string link;
  std::string title;
  std::string tips;
  Rect rect;  // the title's box, relative to the advert area
  int page = 0;
  int kind = 0;
  std::string fontname;
  int fontsize = 0;
  TColor fontcolor = clBlack;
  TColor fontcolorover = clBlack;
  // Not for copies: the item's group while the reader holds it; null once the reader
  // has let go of its groups (a picture arriving then is not reported).
  TagOrvoAd* group = nullptr;
};

// One group of adverts; kind 1 shows only its first item.
struct TagOrvoAd {
  int index = 0;
  int kind = 0;
  int page = 0;
  int count = 0;  // groups in the description
  int current = 0;
  int life = 0;
  int elapsed = 0;
  std::vector<std::shared_ptr<TagOrvoAdInfo>> items;
};

// "<roaming application data>\UpdateInfo\"; empty when the system names no such folder.
std::string AdvertFolder();

struct AdReaderSettings {
  std::string version_text;       // the program's version text (1.11.11)
  std::string folder;             // the advert folder, ending in "\"
  std::string language;           // the active language file's full path
  std::string default_check_url;  // the service's address when Ad.txt names none
};

class TOrvoADReader {
 public:
  using ItemReady = std::function<void(const TagOrvoAdInfo&)>;

  TOrvoADReader(AdReaderSettings settings, ItemReady ready);
  ~TOrvoADReader();
  TOrvoADReader(const TOrvoADReader&) = delete;
  TOrvoADReader& operator=(const TOrvoADReader&) = delete;

  // Creates the folder, reads Ad.txt, and starts the description download when the
  // request URL is not empty.
  void Start();
  // The check URL with name=xob, ver, lang and adver (each value percent-encoded); empty
  // when the version text, the language or the advert version is empty.
  std::string RequestUrl() const;
  // What the download brought (UI thread).
  void ReadReply(const std::string& text);

  int LastMsg() const { return msg_; }
  const std::string& AdVer() const { return adver_; }
  const std::string& CheckUrl() const { return check_url_; }
  const std::string& AdId() const { return adid_; }
  const std::string& AdLang() const { return adlang_; }
  int Refresh() const { return refresh_; }
  bool Stopped() const { return stopped_; }
  const std::vector<std::unique_ptr<TagOrvoAd>>& Groups() const { return groups_; }
  const std::string& LastReply() const { return reply_; }
  // The description or a picture is still on its way.
  bool Busy() const { return reading_ || pictures_pending_ > 0; }

 private:
  void ReadAdTxt();
  bool ReadDescription(const Json& description);
  void PreparePicture(const std::shared_ptr<TagOrvoAdInfo>& item);
  void ReportReady(const TagOrvoAdInfo& item);
  void FreeGroups();

  AdReaderSettings settings_;
  ItemReady ready_;
  std::string check_url_;
  std::string adver_;
  std::string adid_;
  std::string adlang_;
  std::string reply_;
  int msg_ = -1;
  int refresh_ = 86400;
  bool stopped_ = false;
  bool reading_ = false;
  int pictures_pending_ = 0;
  std::vector<std::unique_ptr<TagOrvoAd>> groups_;
  // Threads' callbacks reach the reader only while it exists.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace orvo
