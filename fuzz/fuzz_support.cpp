// The shared pieces of the fuzz targets; see fuzz_support.h.
#include "fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "catalogue/firefox_extensions.h"
#include "catalogue/system_values.h"

namespace fs = std::filesystem;

namespace orvo::fuzz {

void Fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  std::abort();
}

std::vector<std::string_view> SplitParts(std::string_view input, size_t max_parts) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < max_parts) {
    const size_t at = input.find(kPartSeparator);
    if (at == std::string_view::npos) break;
    parts.push_back(input.substr(0, at));
    input.remove_prefix(at + kPartSeparator.size());
  }
  parts.push_back(input);
  parts.resize(max_parts);
  return parts;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

namespace {

TBrowserExtensionInfo* FindExtension(TBrowserAppBase& app, bool last) {
  TBrowserExtensionInfo* found = nullptr;
  for (int i = 0; i < app.GetCount(); ++i) {
    TBrowserExtensionInfo* item = app.GetItem(i);
    if (item->ItemKind != ikExtension) continue;
    found = item;
    if (!last) break;
  }
  return found;
}

}  // namespace

TBrowserExtensionInfo* FirstExtension(TBrowserAppBase& app) { return FindExtension(app, false); }
TBrowserExtensionInfo* LastExtension(TBrowserAppBase& app) { return FindExtension(app, true); }

std::string PlainName(std::string_view bytes, size_t max_length) {
  std::string name;
  for (char c : bytes) {
    if (name.size() == max_length) break;
    if (c < ' ' || c > '~' || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      continue;
    name += c;
  }
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  return name;
}

ThrowAwayImage::ThrowAwayImage() {
  const fs::path base =
      fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::string templ = (base / "orvo-fuzz-XXXXXX").string();
  if (!mkdtemp(templ.data())) Fail(__FILE__, __LINE__, "mkdtemp");
  folder_ = templ;
  Reset();
}

ThrowAwayImage::~ThrowAwayImage() {
  UseSystem(nullptr);
  platform_.reset();
  std::error_code ec;
  fs::remove_all(folder_, ec);
}

void ThrowAwayImage::Reset() {
  UseSystem(nullptr);
  platform_.reset();
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder_, ec)) fs::remove_all(entry.path(), ec);
  std::ofstream(folder_ / "image.ini", std::ios::binary) << "[Windows]\r\nBits=64\r\nUser=demo\r\n";
  for (const char* folder :
       {"C/Users/demo/AppData/Local", "C/Users/demo/AppData/Roaming", "C/Program Files"}) {
    fs::create_directories(folder_ / folder, ec);
  }
  std::string error;
  platform_ = os::sandbox::SandboxPlatform::Open(folder_, &error);
  if (!platform_) Fail(__FILE__, __LINE__, error.c_str());
  UseSystem(platform_);
}

fs::path ThrowAwayImage::Host(std::string_view windows_path) const {
  const auto host = platform_->image().MapPath(windows_path);
  if (!host) Fail(__FILE__, __LINE__, "a fuzz target named a path outside its image");
  return *host;
}

void ThrowAwayImage::Write(std::string_view windows_path, std::string_view bytes) {
  const fs::path host = Host(windows_path);
  std::error_code ec;
  fs::create_directories(host.parent_path(), ec);
  std::ofstream(host, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  platform_->image().ForgetResolvedFolders();
}

ThrowAwayImage::Files ThrowAwayImage::Snapshot() const {
  Files files;
  std::error_code ec;
  // The iterator's paths all begin with the image folder: cutting it off is what
  // fs::relative would give, without the canonical path look-ups that made a snapshot
  // cost more than the catalogue it checks.
  const size_t prefix = folder_.string().size() + 1;
  for (auto it = fs::recursive_directory_iterator(folder_, ec);
       it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const std::string relative = it->path().string().substr(prefix);
    if (it->is_directory(ec)) {
      files.emplace_back(relative + "/", "");
    } else {
      std::ifstream in(it->path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      files.emplace_back(relative, bytes.str());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::string> ThrowAwayImage::Changed(const Files& before, const Files& after) {
  std::vector<std::string> changed;
  auto a = before.begin();
  auto b = after.begin();
  while (a != before.end() || b != after.end()) {
    if (b == after.end() || (a != before.end() && a->first < b->first)) {
      changed.push_back((a++)->first);
    } else if (a == before.end() || b->first < a->first) {
      changed.push_back((b++)->first);
    } else {
      if (a->second != b->second) changed.push_back(a->first);
      ++a;
      ++b;
    }
  }
  return changed;
}

std::string ThrowAwayImage::Relative(std::string_view windows_folder) const {
  const auto host = platform_->image().MapPath(windows_folder);
  if (!host) return {};
  std::error_code ec;
  std::string relative = fs::relative(*host, folder_, ec).string();
  if (relative.empty() || relative.back() != '/') relative += '/';
  return relative;
}

void ResetForFirefox(ThrowAwayImage& image, bool write_profiles_ini) {
  image.Reset();
  TFireFoxExtensions::DownloadIcons = false;
  if (write_profiles_ini) {
    image.Write(std::string(kFirefoxFolder) + "profiles.ini",
                "[Profile0]\r\nName=default\r\nPath=Profiles/fuzz.default\r\n");
  }
}

void WriteExtensionFolders(ThrowAwayImage& image, std::string_view names) {
  for (int n = 0; n < 16 && !names.empty(); ++n) {
    const size_t end = names.find('\n');
    const std::string name = PlainName(names.substr(0, end), 64);
    names.remove_prefix(end == std::string_view::npos ? names.size() : end + 1);
    if (!name.empty())
      image.Write(std::string(kChromeProfile) + "Extensions\\" + name + "\\1.0_0\\manifest.json",
                  "{}");
  }
}

}  // namespace orvo::fuzz
