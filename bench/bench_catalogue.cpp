// bench_catalogue: how the browser catalogues cope with a heavy profile. Builds a
// synthetic Chrome profile (500 extensions, a 2 MB Preferences) in a scratch image and
// prints, as "name: value unit" lines:
//   chrome_construct_ms  median time to build the Chrome catalogue
//   chrome_toggle_ms     median time of one ToggleItem (full atomic write-back)
//   chrome_parse_ms      median time to only read and parse Preferences with the JSON library
//   construct_vs_parse, toggle_vs_parse, memory_vs_file (heap held by the catalogue / file size)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/chromium_extensions.h"
#include "catalogue/json_document.h"
#include "catalogue/system_values.h"
#include "demo_images.h"
#include "heap_counter.h"
#include "platform/platform.h"
#include "timing.h"

namespace fs = std::filesystem;
using namespace orvo;

namespace {

}  // namespace

int main(int argc, char** argv) {
  const int extensions = argc > 1 ? std::atoi(argv[1]) : 500;
  const double megabytes = argc > 2 ? std::atof(argv[2]) : 2.0;
  const int runs = argc > 3 ? std::atoi(argv[3]) : 15;
  const fs::path root = fs::temp_directory_path() / ("orvo-bench-catalogue-" + std::to_string(getpid()));
  tools::WriteSyntheticImage(root, extensions, megabytes);

  std::string error;
  auto platform = os::OpenPlatform(root.string(), &error);
  if (!platform) {
    std::fprintf(stderr, "bench_catalogue: %s\n", error.c_str());
    return 1;
  }
  UseSystem(platform.get());
  const std::string prefs = TChromeExtensions().ProfileDir + "Preferences";
  const size_t file_size = os::Current().files().ReadFile(prefs)->size();

  const double parse_ms = MedianMs(runs, [&] {
    auto text = os::Current().files().ReadFile(prefs);
    auto doc = Json::parse(*text);
    if (doc.empty()) std::abort();
  });
  const double construct_ms = MedianMs(runs, [] {
    TChromeExtensions chrome;
    if (chrome.GetCount() == 0) std::abort();
  });

  size_t before = bench::LiveHeapBytes();
  auto doc_only = ParseJsonDocument(*os::Current().files().ReadFile(prefs));
  const size_t document = bench::LiveHeapBytes() - before;
  doc_only.reset();
  before = bench::LiveHeapBytes();
  auto chrome = std::make_unique<TChromeExtensions>();
  const size_t held = bench::LiveHeapBytes() - before;
  size_t icons = 0;
  for (int i = 0; i < chrome->GetCount(); ++i) {
    if (chrome->GetItem(i)->Image) icons += chrome->GetItem(i)->Image->bytes().capacity();
  }
  TBrowserExtensionInfo* item = chrome->GetItem(0);
  const double toggle_ms = MedianMs(runs, [&] {
    if (!chrome->ToggleItem(item)) std::abort();
  });

  std::printf("extensions: %d count\n", chrome->GetCount());
  std::printf("preferences_size: %.2f MB\n", file_size / 1048576.0);
  std::printf("chrome_construct_ms: %.2f ms\n", construct_ms);
  std::printf("chrome_toggle_ms: %.2f ms\n", toggle_ms);
  std::printf("chrome_parse_ms: %.2f ms\n", parse_ms);
  std::printf("construct_vs_parse: %.2f ratio\n", construct_ms / parse_ms);
  std::printf("toggle_vs_parse: %.2f ratio\n", toggle_ms / parse_ms);
  std::printf("memory_vs_file: %.2f ratio\n", double(held) / double(file_size));
  std::printf("document_vs_file: %.2f ratio\n", double(document) / double(file_size));
  std::printf("icons_vs_file: %.2f ratio\n", double(icons) / double(file_size));
  chrome.reset();
  UseSystem(nullptr);
  platform.reset();
  std::error_code ec;
  fs::remove_all(root, ec);
  return 0;
}
