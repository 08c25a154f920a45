// The installed back end and small shared helpers of the seam.
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

#include "platform/text.h"

namespace orvo::os {
namespace {
Platform* g_platform = nullptr;
}

void Install(Platform* platform) { g_platform = platform; }

Platform& Current() {
  if (!g_platform) {
    std::fputs("orvo: no platform back end installed\n", stderr);
    std::abort();
  }
  return *g_platform;
}

bool IsInstalled() { return g_platform != nullptr; }

std::vector<uint8_t> RegStringData(std::string_view utf8) {
  const std::string bytes = Utf8ToUtf16LeBytes(utf8, true);
  return {bytes.begin(), bytes.end()};
}

std::vector<uint8_t> RegDwordData(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

std::vector<uint8_t> RegMultiStringData(const std::vector<std::string>& items) {
  std::vector<uint8_t> out;
  for (const auto& item : items) {
    const auto one = RegStringData(item);
    out.insert(out.end(), one.begin(), one.end());
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

}  // namespace orvo::os
