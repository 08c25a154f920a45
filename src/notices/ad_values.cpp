// Advert colours and picture file names.
#include "notices/ad_values.h"

#include <array>

namespace orvo {
namespace {

constexpr size_t kMaxNameChars = 100;

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool IsDeviceName(std::string_view name) {
  // The part before the first dot, without trailing blanks, is what Windows compares.
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  const std::string s = Upper(stem);
  static constexpr std::array<std::string_view, 6> kFixed = {"CON", "PRN",    "AUX",
                                                             "NUL", "CONIN$", "CONOUT$"};
  for (std::string_view d : kFixed) {
    if (s == d) return true;
  }
  if (s.size() < 4 || (s.compare(0, 3, "COM") != 0 && s.compare(0, 3, "LPT") != 0)) return false;
  const std::string_view number = std::string_view(s).substr(3);
  if (number.size() == 1) return number[0] >= '0' && number[0] <= '9';
  // Windows reserves the superscript digits one to three as well.
  return number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3";
}

size_t CodePoints(std::string_view s) {
  size_t n = 0;
  for (char c : s) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

}  // namespace

std::optional<TColor> ParseAdColor(std::string_view text) {
  if (text.empty()) return clBlack;
  if (text.size() < 7) return std::nullopt;
  int v[6];
  for (int i = 0; i < 6; ++i) {
    v[i] = Hex(text[1 + static_cast<size_t>(i)]);
    if (v[i] < 0) return std::nullopt;
  }
  return MakeColor(v[0] * 16 + v[1], v[2] * 16 + v[3], v[4] * 16 + v[5]);
}

std::string AdPictureFileName(std::string_view imgsrc) {
  const size_t slash = imgsrc.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? imgsrc : imgsrc.substr(slash + 1);
  if (name.empty() || CodePoints(name) > kMaxNameChars) return {};
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return {};
    if (std::string_view("<>:\"/\\|?*%").find(c) != std::string_view::npos) return {};
  }
  if (name.find("..") != std::string_view::npos) return {};
  if (name.back() == '.' || name.back() == ' ') return {};
  if (IsDeviceName(name)) return {};
  return std::string(name);
}

}  // namespace orvo
