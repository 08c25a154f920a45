// The shell, the process list and the system facts of a Windows image. Launching
// anything only writes a line to opened-urls.txt; ending a process takes it off the
// image's process list.
#include "platform/sandbox/sandbox_platform.h"
#include "platform/date_format.h"
#include "platform/pe_version.h"
#include "platform/sandbox/icon_file.h"
#include "platform/text.h"

namespace orvo::os::sandbox {
namespace {

class SandboxShell : public Shell {
 public:
  explicit SandboxShell(Image& image) : image_(image) {}

  std::string SpecialFolder(int csidl) override { return image_.SpecialFolder(csidl); }

  // ExpandEnvironmentStrings: "%NAME%" of a defined variable (any case) is replaced; an
  // undefined one stays as written, and its closing '%' may open the next name.
  bool ExpandEnvironment(std::string_view text, size_t max_chars, std::string* out) override {
    std::string result;
    size_t i = 0;
    while (i < text.size()) {
      if (text[i] != '%') {
        result += text[i++];
        continue;
      }
      const size_t close = text.find('%', i + 1);
      if (close == std::string_view::npos) {
        result += text.substr(i);
        break;
      }
      const std::string_view name = text.substr(i + 1, close - i - 1);
      const auto value = name.empty() ? std::nullopt : image_.Environment(name);
      if (value) {
        result += *value;
        i = close + 1;
      } else {
        result += text.substr(i, close - i);
        i = close;
      }
    }
    if (Utf8ToUtf16(result).size() + 1 > max_chars) return false;
    *out = std::move(result);
    return true;
  }

  bool Execute(std::string_view verb, std::string_view file, std::string_view parameters) override {
    if (TrimView(file).empty()) return false;
    std::string line(file);
    if (!parameters.empty()) line += " " + std::string(parameters);
    image_.AppendOpenedUrl(line);
    if (!verb.empty() && !EqualsNoCase(verb, "open")) image_.Record("verb " + std::string(verb));
    return true;
  }

  // Program files (PE images) give their icon groups, .ico files their single icon
  // (index 0); a .png picture is taken as an icon too. No file has an associated program
  // here, so `associated` changes nothing.
  std::optional<Pixels> FileIcon(std::string_view path, int index, bool, int canvas_size) override {
    const auto bytes = image_.ReadFile(path, size_t(64) << 20);
    if (!bytes) return std::nullopt;
    if (bytes->size() >= 2 && bytes->compare(0, 2, "MZ") == 0) {
      const auto icon = DecodeProgramIcon(*bytes, index);
      if (!icon) return std::nullopt;
      return OnCanvas(*icon, canvas_size);
    }
    if (index != 0) return std::nullopt;
    const auto icon = DecodeLargeIcon(*bytes);
    if (!icon) return std::nullopt;
    return OnCanvas(*icon, canvas_size);
  }

 private:
  Image& image_;
};

class SandboxProcesses : public Processes {
 public:
  explicit SandboxProcesses(Image& image) : image_(image) {}

  std::vector<ProcessEntry> Snapshot() override {
    std::vector<ProcessEntry> out;
    for (const auto& p : image_.Processes()) out.push_back({p.pid, p.exe});
    return out;
  }

  bool Terminate(uint32_t pid) override {
    for (const auto& p : image_.Processes()) {
      if (p.pid == pid) {
        image_.Record("terminate " + std::to_string(pid) + " " + p.exe);
        return image_.RemoveProcess(pid);
      }
    }
    return false;
  }

  bool TopLevelWindowExists(std::string_view class_name) override {
    for (const auto& c : image_.WindowClasses()) {
      if (EqualsNoCase(c, class_name)) return true;
    }
    return false;
  }

 private:
  Image& image_;
};

class SandboxSystemInfo : public SystemInfo {
 public:
  explicit SandboxSystemInfo(Image& image) : image_(image) {}
  WindowsVersion Version() override { return image_.Version(); }
  bool IsWow64Process() override { return false; }
  bool ProcessIs64Bit() override { return image_.Is64Bit(); }
  uint16_t NativeArchitecture() override {
    return image_.Is64Bit() ? kProcessorArchitectureAmd64 : kProcessorArchitectureIntel;
  }
  uint16_t UserUiLanguage() override { return image_.UiLanguage(); }
  uint32_t KeyboardDelay() override { return image_.KeyboardDelay(); }
  uint32_t KeyboardSpeed() override { return image_.KeyboardSpeed(); }
  std::optional<FixedFileInfo> FileVersion(std::string_view path) override {
    const auto bytes = image_.ReadFile(path, size_t(256) << 20);
    if (!bytes) return std::nullopt;
    return ReadPeFixedFileInfo(*bytes);
  }
  // No colour scheme here: the toolkit's classic colour stands.
  std::optional<uint32_t> GrayTextColor() override { return std::nullopt; }
  std::string ShortDate(int year, int month, int day) override {
    return FormatDatePicture(image_.ShortDatePicture(), year, month, day);
  }

 private:
  Image& image_;
};

}  // namespace

std::unique_ptr<Shell> MakeShell(Image& image) { return std::make_unique<SandboxShell>(image); }
std::unique_ptr<Processes> MakeProcesses(Image& image) {
  return std::make_unique<SandboxProcesses>(image);
}
std::unique_ptr<SystemInfo> MakeSystemInfo(Image& image) {
  return std::make_unique<SandboxSystemInfo>(image);
}

}  // namespace orvo::os::sandbox
