#include "catalogue/data_file.h"

#include "platform/platform.h"

namespace orvo {

std::optional<std::string> ReadStoreBytes(const std::string& path, size_t max_bytes,
                                          std::string* error) {
  error->clear();
  os::FileSystem& files = os::Current().files();
  const uint32_t attributes = files.GetAttributes(path);
  if (attributes == os::kInvalidFileAttributes) return std::nullopt;
  if (attributes & os::kFileAttributeDirectory) {
    *error = path + ": a folder stands where the file should be";
    return std::nullopt;
  }
  auto bytes = files.ReadFile(path, max_bytes);
  if (!bytes) {
    *error = path + ": cannot be read (access denied, in use, or larger than " +
             std::to_string(max_bytes >> 20) + " MB)";
  }
  return bytes;
}

std::unique_ptr<JsonDocument> ReadDataFile(const std::string& path, size_t max_bytes,
                                           std::string* error) {
  const auto text = ReadStoreBytes(path, max_bytes, error);
  if (!text) return nullptr;
  std::string why;
  auto document = ParseJsonDocument(*text, &why);
  if (!document) *error = path + ": " + why;
  return document;
}

}  // namespace orvo
