// Serving the demo site's files from the source tree.
#include "notices/demo_site.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace orvo::test {

bool ServeDemoSite(LoopbackServer& server) {
  namespace fs = std::filesystem;
  const fs::path root = fs::path(ORVO_SOURCE_DIR) / "service" / "demo-site";
  std::error_code ec;
  if (!fs::is_directory(root, ec)) return false;
  for (const auto& entry : fs::recursive_directory_iterator(root, ec)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string body = bytes.str();
    const std::string ext = entry.path().extension().string();
    std::string type = "application/octet-stream";
    if (ext == ".html" || ext == ".htm" || ext == ".txt" || ext == ".json") {
      for (size_t at; (at = body.find("{{BASE_URL}}")) != std::string::npos;)
        body.replace(at, 12, server.Url(""));
      type = ext == ".json" ? "application/json" : "text/html";
    } else if (ext == ".png") {
      type = "image/png";
    }
    server.Serve("/" + fs::relative(entry.path(), root).generic_string(), std::move(body), 200,
                 type);
  }
  return true;
}

}  // namespace orvo::test
