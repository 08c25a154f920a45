// The newsletter page: bytes from the news site, read by the HTML reader and laid out as
// the news window lays them out. Whatever the page holds:
// - the tree kept stays within its limits of nodes and nesting, and holds nothing that
//   could run or fetch on its own (scripts, frames, objects, forms' controls ...);
// - names of elements and attributes are lower case, and every text is UTF-8 (what the
//   layout measures and paints);
// - laying it out at the window's width and at a very narrow one never crashes, and every
//   link keeps an address.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "notices/html_document.h"
#include "notices/html_layout.h"
#include "platform/raster.h"
#include "platform/text.h"

namespace {

using orvo::HtmlNode;

constexpr const char* kForbidden[] = {"script",   "style",    "head",   "iframe", "frame",
                                      "frameset", "object",   "applet", "embed",  "svg",
                                      "math",     "template", "input",  "select", "textarea",
                                      "button",   "link",     "meta",   "base"};

bool LowerCase(const std::string& name) {
  for (char c : name) {
    if (c >= 'A' && c <= 'Z') return false;
  }
  return true;
}

void Check(const HtmlNode& node, int depth, size_t& count) {
  ++count;
  FUZZ_CHECK(depth <= orvo::kMaxHtmlDepth + 2);
  if (node.kind == HtmlNode::Kind::kText) {
    FUZZ_CHECK(orvo::IsValidUtf8(node.text));
    FUZZ_CHECK(node.children.empty());
    return;
  }
  FUZZ_CHECK(LowerCase(node.tag));
  for (const char* tag : kForbidden) FUZZ_CHECK(node.tag != tag);
  for (const auto& [name, value] : node.attributes) {
    FUZZ_CHECK(LowerCase(name));
    FUZZ_CHECK(orvo::IsValidUtf8(value));
  }
  for (const auto& child : node.children) Check(*child, depth + 1, count);
}

void InstallTextBackEnd() {
  static const std::unique_ptr<orvo::os::RasterSystem> raster = [] {
    std::string error;
    auto made = orvo::os::OpenRasterSystem(&error);
    if (!made) orvo::fuzz::Fail(__FILE__, __LINE__, error.c_str());
    orvo::os::InstallRaster(made.get());
    return made;
  }();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo;
  InstallTextBackEnd();
  const std::string base = "http://news.example/letters/42.html";
  const HtmlDocument document =
      ParseHtmlDocument(std::string_view(reinterpret_cast<const char*>(data), size), base);
  FUZZ_CHECK(IsValidUtf8(document.title));
  if (!document.body) return 0;
  size_t count = 0;
  Check(*document.body, 0, count);
  FUZZ_CHECK(count <= kMaxHtmlNodes + 1);

  HtmlLayoutOptions options;
  options.base_url = base;
  for (int width : {480, 7}) {
    const HtmlLayout layout = LayoutHtml(document, width, HtmlPictures{}, options);
    FUZZ_CHECK(layout.height >= 0);
    for (const HtmlLink& link : layout.links) FUZZ_CHECK(!link.href.empty());
  }
  for (const std::string& address : HtmlPictureAddresses(document, base))
    FUZZ_CHECK(!address.empty());
  return 0;
}
