#include "catalogue/firefox_startup_cache.h"

#include "catalogue/data_file.h"
#include "catalogue/json_writer.h"
#include "catalogue/moz_lz4.h"

namespace orvo {

std::unique_ptr<JsonDocument> ReadStartupCache(const std::string& path, std::string* error) {
  // The compressed file is a fraction of what it holds.
  const auto bytes = ReadStoreBytes(path, kMozLz4MaxDecoded, error);
  if (!bytes || bytes->empty()) return nullptr;
  std::string why;
  const auto text = DecodeMozLz4(*bytes, &why);
  if (!text) {
    *error = path + ": " + why;
    return nullptr;
  }
  auto document = ParseJsonDocument(*text, &why);
  if (!document) *error = path + ": " + why;
  return document;
}

Json* StartupCacheEntry(Json& cache, std::string_view location, std::string_view id) {
  Json* place = ObjectMember(cache, location);
  Json* addons = place ? ObjectMember(*place, "addons") : nullptr;
  return addons ? ObjectMember(*addons, id) : nullptr;
}

bool RemoveStartupCacheEntry(Json& cache, std::string_view location, std::string_view id) {
  Json* place = ObjectMember(cache, location);
  Json* addons = place ? ObjectMember(*place, "addons") : nullptr;
  return addons && addons->erase(std::string(id)) > 0;
}

std::optional<std::string> StartupCacheFileBytes(const Json& cache, std::string* why) {
  return EncodeMozLz4(WriteCompactJson(cache), why);
}

}  // namespace orvo
