#include "catalogue/firefox_startup_cache.h"

#include "catalogue/json_writer.h"
#include "catalogue/moz_lz4.h"
#include "platform/platform.h"

namespace orvo {

std::unique_ptr<JsonDocument> ReadStartupCache(const std::string& path, std::string* error) {
  error->clear();
  os::FileSystem& files = os::Current().files();
  const uint32_t attributes = files.GetAttributes(path);
  if (attributes == os::kInvalidFileAttributes) return nullptr;
  if (attributes & os::kFileAttributeDirectory) {
    *error = path + ": a folder stands where the file should be";
    return nullptr;
  }
  // The compressed file is a fraction of what it holds.
  const auto bytes = files.ReadFile(path, kMozLz4MaxDecoded);
  if (!bytes) {
    *error = path + ": cannot be read (access denied, in use, or too large)";
    return nullptr;
  }
  if (bytes->empty()) return nullptr;
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
