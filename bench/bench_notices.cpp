// The online notices' timings:
//   news_render_ms   laying out and painting the demo newsletter in the news window's page
//                    area (492 x 266 window: 490 x 239), laid out twice as the view does for
//                    a page taller than the area (full width, then beside the bar)
//   news_parse_ms    parsing the page with libxml2 into the view's tree
//   main_first_paint_ms_{up,down,slow}  OrvoPM on a copy of the demo image from its start to
//                    the main window's first paint, with the notice site answering at once,
//                    refusing connections, and answering only after 5 s
// Usage: bench_notices [RUNS] [STARTS]   (defaults 15 and 41: a start is noisy on a busy machine)
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "graphics/bitmap.h"
#include "graphics/image_codecs.h"
#include "notices/html_document.h"
#include "notices/html_layout.h"
#include "platform/raster.h"
#include "support/loopback_server.h"
#include "timing.h"

namespace fs = std::filesystem;
using namespace orvo;

namespace {

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string WithBase(std::string text, const std::string& base) {
  for (size_t at; (at = text.find("{{BASE_URL}}")) != std::string::npos;)
    text.replace(at, 12, base);
  return text;
}

void Newsletter(int runs) {
  const fs::path site = fs::path(ORVO_SOURCE_DIR) / "service" / "demo-site";
  const std::string base = "http://127.0.0.1:8086";
  const std::string page = WithBase(ReadAll(site / "news" / "msg.html"), base);
  HtmlPictures pictures;
  for (const char* name : {"news-mark.png", "news-reviews.png"}) {
    const std::string bytes = ReadAll(site / "news" / "img" / name);
    auto image = DecodePng(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    if (image) pictures[base + "/news/img/" + name] = std::move(*image);
  }
  HtmlDocument document;
  const double parse =
      MedianMs(runs, [&] { document = ParseHtmlDocument(page, base + "/news/msg.html"); });
  HtmlLayoutOptions options;
  options.base_url = base + "/news/msg.html";
  Bitmap32 area(490, 239);
  size_t items = 0;
  int height = 0;
  const double render = MedianMs(runs, [&] {
    LayoutHtml(document, 490, pictures, options);
    const HtmlLayout layout = LayoutHtml(document, 490 - 12, pictures, options);
    items = layout.items.size();
    height = layout.height;
    Canvas& canvas = area.canvas();
    canvas.ResetState();
    PaintHtml(layout, pictures, canvas, {0, 0});
  });
  std::printf("news_parse_ms: %.2f ms\n", parse);
  std::printf("news_render_ms: %.2f ms\n", render);
  std::printf("news_page_items: %zu items\n", items);
  std::printf("news_page_height: %d px\n", height);
}

// Runs OrvoPM once and reads the first paint from its trace.
double FirstPaintMs(const fs::path& image_copy, const std::string& site) {
  const fs::path trace = image_copy / "trace.txt";
  const fs::path png = image_copy / "main.png";
  fs::remove(trace);
  const pid_t pid = fork();
  if (pid == 0) {
    execl(ORVO_PROGRAM, ORVO_PROGRAM, "--image", image_copy.c_str(), "--png", png.c_str(), "--site",
          site.c_str(), "--trace", trace.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  std::istringstream lines(ReadAll(trace));
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("first-paint-ms ", 0) == 0) return std::stod(line.substr(15));
  }
  return -1;
}

void FirstPaint(int runs) {
  const fs::path work =
      fs::temp_directory_path() / ("orvo-bench-notices-" + std::to_string(getpid()));
  fs::create_directories(work);
  test::LoopbackServer up, slow;
  const fs::path site = fs::path(ORVO_SOURCE_DIR) / "service" / "demo-site";
  for (const auto& entry : fs::recursive_directory_iterator(site)) {
    if (!entry.is_regular_file()) continue;
    const std::string path = "/" + fs::relative(entry.path(), site).generic_string();
    up.Serve(path, WithBase(ReadAll(entry.path()), up.Url("")), 200, "text/html");
    slow.ServeLate(path, std::chrono::seconds(5), WithBase(ReadAll(entry.path()), slow.Url("")));
  }
  up.AnswerWith("/ad/ad1.php", [&](const test::RecordedRequest&) {
    return test::LoopbackServer::Answer{200, "{\"msg\":2}", "application/json"};
  });
  struct Case {
    const char* name;
    std::string site;
  };
  const Case cases[] = {{"up", up.Url("")}, {"down", "http://127.0.0.1:1"}, {"slow", slow.Url("")}};
  // Interleaved, so that the machine's changing load falls on the three alike.
  std::vector<double> times[3];
  for (int i = 0; i < runs; ++i) {
    for (int k = 0; k < 3; ++k) {
      const fs::path copy = work / (std::string(cases[k].name) + std::to_string(i));
      fs::copy(fs::path(ORVO_SOURCE_DIR) / "fixtures" / "demo", copy, fs::copy_options::recursive);
      times[k].push_back(FirstPaintMs(copy, cases[k].site));
    }
  }
  double medians[3];
  for (int k = 0; k < 3; ++k) {
    std::sort(times[k].begin(), times[k].end());
    medians[k] = times[k][times[k].size() / 2];
    std::printf("main_first_paint_ms_%s: %.1f ms\n", cases[k].name, medians[k]);
  }
  const double low = std::min({medians[0], medians[1], medians[2]});
  const double high = std::max({medians[0], medians[1], medians[2]});
  std::printf("main_first_paint_spread: %.3f\n", low > 0 ? high / low : 0.0);
  fs::remove_all(work);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const int starts = argc > 2 ? std::max(1, std::atoi(argv[2])) : 41;
  std::string error;
  auto raster = os::OpenRasterSystem(&error);
  if (!raster) {
    std::fprintf(stderr, "bench_notices: %s\n", error.c_str());
    return 1;
  }
  os::InstallRaster(raster.get());
  Newsletter(runs);
  FirstPaint(starts);
  os::InstallRaster(nullptr);
  return 0;
}
