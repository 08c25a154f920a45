// bench_catalogue: how the browser catalogues cope with heavy profiles. Builds synthetic
// profiles in scratch images and prints, as "name: value unit" lines:
//   chrome_construct_ms  median time to build the Chrome catalogue (500 extensions, 2 MB)
//   chrome_toggle_ms     median time of one ToggleItem (full atomic write-back)
//   chrome_parse_ms      median time to only read and parse Preferences with the JSON library
//   construct_vs_parse, toggle_vs_parse, memory_vs_file (heap held by the catalogue / file size)
//   firefox_json_construct_ms, firefox_json_vs_parse   300 add-ons in a 2 MB extensions.json
//   firefox_toggle_ms    one ToggleItem there: the startup cache and extensions.json written
//   firefox_toggle_json_only_ms  the same profile without the cache (extensions.json alone)
//   firefox_sqlite_construct_ms                        300 rows in extensions.sqlite
//   icon_delay_effect    construction time with an icon server that answers each icon after
//                        200 ms, over the time with one that answers at once
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <httplib.h>

#include <atomic>
#include <thread>

#include "catalogue/chromium_extensions.h"
#include "catalogue/firefox_extensions.h"
#include "catalogue/icon_download.h"
#include "platform/ui_dispatcher.h"
#include "catalogue/json_document.h"
#include "catalogue/system_values.h"
#include "demo_images.h"
#include "heap_counter.h"
#include "platform/platform.h"
#include "platform/png_codec.h"
#include "timing.h"

namespace fs = std::filesystem;
using namespace orvo;

namespace {}  // namespace

// Icons for the Firefox runs, answered at once or after a delay.
class IconServer {
 public:
  IconServer() {
    server_.new_task_queue = [] { return new httplib::ThreadPool(64); };
    server_.set_payload_max_length(1 << 20);
    const std::string png = *os::EncodePng({32, 32, std::vector<uint32_t>(32 * 32, 0xFF2080C0)});
    server_.Get(R"(/icons/.*)", [this, png](const httplib::Request&, httplib::Response& res) {
      const int delay = delay_ms_.load();
      if (delay > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delay));
      res.set_content(png, "image/png");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~IconServer() {
    server_.stop();
    thread_.join();
  }
  std::string Site() const { return "http://127.0.0.1:" + std::to_string(port_) + "/icons/"; }
  void SetDelay(int ms) { delay_ms_ = ms; }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::atomic<int> delay_ms_{0};
};

struct Platform {
  explicit Platform(const fs::path& root) {
    std::string error;
    platform = os::OpenPlatform(root.string(), &error);
    if (!platform) {
      std::fprintf(stderr, "bench_catalogue: %s\n", error.c_str());
      std::exit(1);
    }
    UseSystem(platform);
  }
  ~Platform() { UseSystem(nullptr); }
  std::shared_ptr<os::Platform> platform;
};

void Firefox(int runs) {
  const fs::path root =
      fs::temp_directory_path() / ("orvo-bench-firefox-" + std::to_string(getpid()));
  const fs::path db_root =
      fs::temp_directory_path() / ("orvo-bench-firefox-db-" + std::to_string(getpid()));
  IconServer icons;
  tools::WriteSyntheticFirefoxImage(root, 300, 2.0, false, icons.Site());
  tools::WriteSyntheticFirefoxImage(db_root, 300, 0, true, icons.Site());
  std::error_code ec;
  {
    Platform p(root);
    TFireFoxExtensions::DownloadIcons = false;
    const std::string file = TFireFoxExtensions().ProfileDir + "extensions.json";
    const double size_mb = os::Current().files().ReadFile(file)->size() / 1048576.0;
    const double parse_ms = MedianMs(runs, [&] {
      auto text = os::Current().files().ReadFile(file);
      if (Json::parse(*text).empty()) std::abort();
    });
    const double construct_ms = MedianMs(runs, [] {
      TFireFoxExtensions ff;
      if (ff.GetCount() < 300) std::abort();
    });
    std::printf("firefox_json_size: %.2f MB\n", size_mb);
    std::printf("firefox_json_construct_ms: %.2f ms\n", construct_ms);
    std::printf("firefox_json_parse_ms: %.2f ms\n", parse_ms);
    std::printf("firefox_json_vs_parse: %.2f ratio\n", construct_ms / parse_ms);
    // A switch writes both files of a current profile; without the cache only one.
    const auto toggle_ms = [&] {
      TFireFoxExtensions ff;
      TBrowserExtensionInfo* item = ff.GetItem(0);
      return MedianMs(runs, [&] {
        if (!ff.ToggleItem(item)) std::abort();
      });
    };
    const double cached = toggle_ms();
    os::Current().files().RemoveFile(TFireFoxExtensions().ProfileDir + "addonStartup.json.lz4");
    const double json_only = toggle_ms();
    std::printf("firefox_toggle_ms: %.2f ms\n", cached);
    std::printf("firefox_toggle_json_only_ms: %.2f ms\n", json_only);

    // With icons: every record starts its download; construction must not wait for them.
    os::UiThreadScope ui;
    TFireFoxExtensions::DownloadIcons = true;
    std::atomic<int> arrived{0};
    SetIconArrivedHandler([&](TBrowserExtensionInfo&) { ++arrived; });
    // Construction alone is timed; the pictures land before the next round starts its own.
    auto construct_only = [&](int delay) {
      icons.SetDelay(delay);
      std::vector<double> times;
      for (int i = 0; i < 5; ++i) {
        arrived = 0;
        const auto t0 = std::chrono::steady_clock::now();
        auto ff = std::make_unique<TFireFoxExtensions>();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
        ui.dispatcher().RunUntil([&] { return arrived.load() >= 300; }, std::chrono::seconds(30));
      }
      std::sort(times.begin(), times.end());
      return times[times.size() / 2];
    };
    const double instant = construct_only(0);
    const double delayed = construct_only(200);
    SetIconArrivedHandler(nullptr);
    std::printf("firefox_construct_with_icons_ms: %.2f ms\n", instant);
    std::printf("firefox_construct_slow_icons_ms: %.2f ms\n", delayed);
    std::printf("icon_delay_effect: %.2f ratio\n", delayed / instant);
  }
  {
    Platform p(db_root);
    TFireFoxExtensions::DownloadIcons = false;
    const double construct_ms = MedianMs(runs, [] {
      TFireFoxExtensions ff;
      if (ff.GetCount() < 300) std::abort();
    });
    std::printf("firefox_sqlite_construct_ms: %.2f ms\n", construct_ms);
  }
  fs::remove_all(root, ec);
  fs::remove_all(db_root, ec);
}

int main(int argc, char** argv) {
  const int extensions = argc > 1 ? std::atoi(argv[1]) : 500;
  const double megabytes = argc > 2 ? std::atof(argv[2]) : 2.0;
  const int runs = argc > 3 ? std::atoi(argv[3]) : 15;
  const fs::path root =
      fs::temp_directory_path() / ("orvo-bench-catalogue-" + std::to_string(getpid()));
  tools::WriteSyntheticImage(root, extensions, megabytes);

  std::string error;
  std::shared_ptr<os::Platform> platform = os::OpenPlatform(root.string(), &error);
  if (!platform) {
    std::fprintf(stderr, "bench_catalogue: %s\n", error.c_str());
    return 1;
  }
  UseSystem(platform);
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
    if (chrome->GetItem(i)->Image) icons += chrome->GetItem(i)->Image->PngFile().size();
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
  Firefox(runs);
  return 0;
}
