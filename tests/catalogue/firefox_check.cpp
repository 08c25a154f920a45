#include "firefox_check.h"

#include <cstdint>

#include "catalogue/shell_helpers.h"
#include "catalogue_fixture.h"

namespace orvo::test {
namespace {

// LZ4 block format: sequences of a token (high nibble literal count, low nibble match
// length - 4, 15 meaning "more bytes follow, each added, until one below 255"), the
// literals, then a 16-bit little-endian offset back into what was decoded; the last
// sequence has literals only.
std::string DecodeBlock(std::string_view in, size_t size) {
  std::string out;
  size_t i = 0;
  const auto byte = [&]() -> size_t {
    if (i >= in.size()) throw std::runtime_error("block ends inside a sequence");
    return static_cast<unsigned char>(in[i++]);
  };
  const auto extended = [&](size_t n) {
    if (n != 15) return n;
    for (size_t b = 255; b == 255;) n += (b = byte());
    return n;
  };
  while (i < in.size()) {
    const size_t token = byte();
    const size_t literals = extended(token >> 4);
    if (literals > in.size() - i) throw std::runtime_error("literals run past the block");
    out.append(in.substr(i, literals));
    i += literals;
    if (i == in.size()) break;
    const size_t low = byte();
    const size_t offset = low | byte() << 8;
    const size_t length = extended(token & 15) + 4;
    if (offset == 0 || offset > out.size())
      throw std::runtime_error("match reaches before the start");
    for (size_t k = 0; k < length; ++k) out += out[out.size() - offset];
  }
  if (out.size() != size) throw std::runtime_error("decoded size differs from the header");
  return out;
}

bool Enabled(const Json& state) {
  return state.is_object() && state.contains("enabled") && state["enabled"] == true;
}

}  // namespace

std::string DecodeMozLz4ByHand(std::string_view file) {
  if (file.size() < 12 || file.substr(0, 8) != std::string_view("mozLz40\0", 8))
    throw std::runtime_error("no magic");
  size_t size = 0;
  for (int k = 3; k >= 0; --k)
    size = size << 8 | static_cast<unsigned char>(file[8 + static_cast<size_t>(k)]);
  return DecodeBlock(file.substr(12), size);
}

Json ReadStartupCacheByHand(const std::string& windows_path) {
  try {
    auto doc = ParseJsonDocument(DecodeMozLz4ByHand(ReadText(windows_path)));
    return doc ? doc->value : Json();
  } catch (const std::exception&) {
    return Json();
  }
}

::testing::AssertionResult ProfileAgrees(const std::string& profile_dir) {
  const Json doc = ReadJson(profile_dir + "extensions.json");
  const Json cache = ReadStartupCacheByHand(profile_dir + "addonStartup.json.lz4");
  if (!doc.is_object() || !cache.is_object())
    return ::testing::AssertionFailure() << "a file does not read";
  size_t listed = 0;
  std::string theme_on;
  for (const Json& e : doc["addons"]) {
    const std::string id = e["id"], location = e["location"];
    const bool disabled = e["userDisabled"] == true || e["appDisabled"] == true ||
                          e["softDisabled"] == true || e["embedderDisabled"] == true;
    if (e["active"] != !disabled)
      return ::testing::AssertionFailure() << id << ": active is " << e["active"];
    if (e["visible"] == false) continue;
    ++listed;
    if (!cache.contains(location) || !cache[location]["addons"].contains(id)) {
      return ::testing::AssertionFailure()
             << id << " is not in the startup cache under " << location;
    }
    if (Enabled(cache[location]["addons"][id]) == disabled) {
      return ::testing::AssertionFailure()
             << id << ": the cache says enabled=" << !disabled << " is not so";
    }
    if (e["path"].is_string() && !PathExistsEx(e["path"].get<std::string>())) {
      return ::testing::AssertionFailure() << id << ": its file " << e["path"] << " is missing";
    }
    if (e["type"] == "theme" && !disabled) {
      if (!theme_on.empty())
        return ::testing::AssertionFailure() << "two themes are on: " << theme_on << ", " << id;
      theme_on = id;
    }
  }
  size_t states = 0;
  for (const auto& [location, place] : cache.items()) states += place["addons"].size();
  if (states != listed)
    return ::testing::AssertionFailure()
           << states << " states in the cache, " << listed << " add-ons";
  const std::string prefs = ReadText(profile_dir + "prefs.js");
  const std::string active_theme = "user_pref(\"extensions.activeThemeID\", \"" + theme_on + "\");";
  if (!theme_on.empty() && prefs.find(active_theme) == std::string::npos) {
    return ::testing::AssertionFailure()
           << "prefs.js does not name " << theme_on << " as the active theme";
  }
  return ::testing::AssertionSuccess();
}

}  // namespace orvo::test
