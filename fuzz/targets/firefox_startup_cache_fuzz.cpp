// Firefox's add-on startup cache (addonStartup.json.lz4): the mozLz40 framing, the LZ4
// block inside and the JSON it holds. The input's first byte picks what the rest is: the
// file's bytes as they are (a damaged or hostile file), or the JSON text, which the target
// compresses first so that the fuzzer can work on the document behind a valid frame.
// Whatever the bytes:
// - decoding gives the stated size or a refusal, never more than the cap;
// - any bytes encode and decode back to themselves;
// - a cache that parses, with an add-on's state taken out as a delete does, is written
//   as a file that decodes and parses to the same document.
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/firefox_startup_cache.h"
#include "catalogue/json_document.h"
#include "catalogue/json_writer.h"
#include "catalogue/moz_lz4.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo;
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string why;
  std::string file;
  if (data[0] & 1) {
    const auto framed = EncodeMozLz4(rest, &why);
    FUZZ_CHECK(framed.has_value());
    const auto back = DecodeMozLz4(*framed, &why);
    FUZZ_CHECK(back && *back == rest);
    file = *framed;
  } else {
    file = std::string(rest);
  }
  const auto text = DecodeMozLz4(file, &why);
  if (!text) {
    FUZZ_CHECK(!why.empty());
    return 0;
  }
  FUZZ_CHECK(text->size() <= kMozLz4MaxDecoded);
  auto cache = ParseJsonDocument(*text);
  if (!cache) return 0;
  if (cache->value.is_object()) {
    // The first add-on of the first location that has any, taken out as a delete does.
    for (auto location = cache->value.begin(); location != cache->value.end(); ++location) {
      const Json* addons = location->is_object() ? ObjectMember(*location, "addons") : nullptr;
      if (!addons || addons->empty() || !addons->is_object()) continue;
      const std::string id = addons->begin().key();
      // A state that is no object is none the catalogue reads, but a delete takes it out.
      const bool state = addons->begin()->is_object();
      FUZZ_CHECK((StartupCacheEntry(cache->value, location.key(), id) != nullptr) == state);
      FUZZ_CHECK(RemoveStartupCacheEntry(cache->value, location.key(), id));
      FUZZ_CHECK(StartupCacheEntry(cache->value, location.key(), id) == nullptr);
      break;
    }
  }
  const auto written = StartupCacheFileBytes(cache->value, &why);
  FUZZ_CHECK(written.has_value());
  const auto decoded = DecodeMozLz4(*written, &why);
  FUZZ_CHECK(decoded.has_value());
  const auto again = ParseJsonDocument(*decoded);
  FUZZ_CHECK(again && again->value == cache->value);
  return 0;
}
