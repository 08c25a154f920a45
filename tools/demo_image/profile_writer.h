#pragma once
// Writes the pieces of a Windows image the way the browsers and Windows lay them out:
// Chromium profiles (Preferences with unrelated members around "extensions", one folder
// per extension with its manifest and icons) and the registry file.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace orvo::tools {

using Json = nlohmann::ordered_json;

struct DemoExtension {
  std::string id;
  std::string name;  // as stored in the manifest (may hold "\u0041" literally)
  std::string description;
  std::string version = "1.0.0";
  std::vector<int> icon_sizes = {16, 32, 48};  // empty: no "icons" member at all
  int state = 1;                               // -1: no "state" member
  uint32_t colour = 0x1695E6;
  bool has_folder = true;
  bool has_settings = true;
};

class ImageWriter {
 public:
  explicit ImageWriter(std::filesystem::path root) : root_(std::move(root)) {}
  // Host path of a Windows path inside the image ("C:\Users\demo" -> <root>/C/Users/demo).
  std::filesystem::path Host(const std::string& windows_path) const;
  void WriteFile(const std::string& windows_path, const std::string& bytes) const;

  // A Chromium profile folder (Windows path ending without backslash). `padding_bytes`
  // adds realistic unrelated members until the Preferences file is at least that large.
  void ChromiumProfile(const std::string& profile, const std::vector<DemoExtension>& extensions,
                       const std::vector<std::string>& known_disabled,
                       size_t padding_bytes = 0) const;

 private:
  std::filesystem::path root_;
};

// A picture for an extension: a rounded tile in its colour with a simple white mark.
std::string ExtensionIconPng(int size, uint32_t colour, int variant);

}  // namespace orvo::tools
