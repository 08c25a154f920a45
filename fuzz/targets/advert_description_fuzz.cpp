// The advert description: the JSON the advert service answers with, read as the program
// reads it at start-up (the reader without its folder, so that no picture is fetched).
// Whatever the reply holds:
// - reading it never crashes, and what it keeps is consistent: every item sits in its
//   group at its own index and points back to it; a reply that says "no adverts" keeps
//   none;
// - every picture address either gives no file name or a plain one that cannot lead out
//   of the advert folder (no separator, drive, "..", escape or device name).
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/json_document.h"
#include "fuzz_support.h"
#include "notices/ad_reader.h"
#include "notices/ad_values.h"

namespace {

bool PlainFileName(const std::string& name) {
  if (name.empty()) return true;
  if (name.find("..") != std::string::npos) return false;
  size_t characters = 0;
  for (char c : name) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    if (static_cast<unsigned char>(c) < 0x20 ||
        std::string_view("\\/:*?\"<>|%").find(c) != std::string_view::npos) {
      return false;
    }
  }
  return characters <= 100 && name.back() != '.' && name.back() != ' ';
}

// Every "imgsrc" text of the reply, wherever it sits.
void CheckPictureNames(const orvo::Json& value) {
  if (value.is_object()) {
    for (auto it = value.begin(); it != value.end(); ++it) {
      if (it.key() == "imgsrc" && it->is_string()) {
        FUZZ_CHECK(PlainFileName(orvo::AdPictureFileName(it->get<std::string>())));
      }
      CheckPictureNames(*it);
    }
  } else if (value.is_array()) {
    for (const auto& element : value) CheckPictureNames(element);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo;
  const std::string text(reinterpret_cast<const char*>(data), size);
  int ready = 0;
  TOrvoADReader reader(
      AdReaderSettings{"1.11.11", "", "C:\\Program Files\\Orvo\\Languages\\English.ini", ""},
      [&ready](const TagOrvoAdInfo&) { ++ready; });
  reader.ReadReply(text);
  FUZZ_CHECK(!reader.Busy());
  if (reader.LastMsg() == 2) FUZZ_CHECK(reader.Stopped() && reader.Groups().empty());
  for (const auto& group : reader.Groups()) {
    for (size_t i = 0; i < group->items.size(); ++i) {
      FUZZ_CHECK(group->items[i]->group == group.get());
      FUZZ_CHECK(group->items[i]->index == static_cast<int>(i));
      FUZZ_CHECK(group->items[i]->imgsrc.empty());  // no folder: no picture to show
    }
  }
  if (const auto reply = ParseJsonDocument(text)) CheckPictureNames(reply->value);
  return 0;
}
