#include "image_parts.h"

#include <fstream>

#include "icon_painter.h"
#include "platform/reg_file.h"

namespace fs = std::filesystem;

namespace orvo::tools {
namespace {

os::Pixels BrowserMark(const std::string& kind, int size) {
  IconPainter p(size);
  if (kind == "chrome") {
    p.Arc(0xDB4437, 0.5, 0.5, 0.47, 0.2, 30, 150);
    p.Arc(0x0F9D58, 0.5, 0.5, 0.47, 0.2, 150, 270);
    p.Arc(0xF4B400, 0.5, 0.5, 0.47, 0.2, 270, 30);
    p.Circle(0xFFFFFF, 0.5, 0.5, 0.2);
    p.Circle(0x4285F4, 0.5, 0.5, 0.15);
  } else if (kind == "firefox") {
    p.Circle(0x592ACB, 0.5, 0.5, 0.4);
    p.Arc(0xFF7139, 0.5, 0.5, 0.48, 0.3, 300, 200);
    p.Circle(0xFFA436, 0.62, 0.36, 0.1);
  } else if (kind == "opera") {
    p.Fill(0xFF1B2D, [](double u, double v) {
      const double a = (u - 0.5) / 0.4, b = (v - 0.5) / 0.46, c = (u - 0.5) / 0.2,
                   d = (v - 0.5) / 0.36;
      return a * a + b * b <= 1 && c * c + d * d >= 1;
    });
  } else if (kind == "edge") {
    p.Arc(0x0C59A4, 0.5, 0.5, 0.46, 0.24, 200, 20);
    p.Arc(0x34C38F, 0.5, 0.5, 0.46, 0.24, 20, 200);
    p.Circle(0x1B9DE2, 0.56, 0.58, 0.16);
  } else {
    p.Arc(0x1EBBEE, 0.5, 0.5, 0.44, 0.28, 20, 330);
    p.RoundRect(0x1EBBEE, 0.18, 0.44, 0.82, 0.56, 0.02);
  }
  return p.pixels();
}

}  // namespace

void Registry::Set(os::RegRoot root, const std::string& path, const std::string& name,
                   const std::string& text) {
  hive_.Create(os::RegHive::Locate(root, path))
      ->SetValue(name, {os::kRegSz, os::RegStringData(text)});
}

void Registry::SetDword(os::RegRoot root, const std::string& path, const std::string& name,
                        uint32_t v) {
  hive_.Create(os::RegHive::Locate(root, path))
      ->SetValue(name, {os::kRegDword, os::RegDwordData(v)});
}

std::string Registry::Text() const { return os::WriteRegFile(hive_, os::RegFileFormat::kRegedit4); }

void RegisterBrowser(Registry& reg, const std::string& base, const std::string& name,
                     const std::string& exe, const std::string& description) {
  const auto lm = os::RegRoot::LocalMachine;
  reg.Set(lm, base, "", name);
  reg.Set(lm, base + "\\Capabilities", "ApplicationName", name);
  reg.Set(lm, base + "\\Capabilities", "ApplicationDescription", description);
  reg.Set(lm, base + "\\Capabilities", "ApplicationIcon", exe + ",0");
  reg.Set(lm, base + "\\DefaultIcon", "", exe + ",0");
  reg.Set(lm, base + "\\InstallInfo", "ReinstallCommand", "\"" + exe + "\" --make-default-browser");
  reg.SetDword(lm, base + "\\InstallInfo", "IconsVisible", 1);
  reg.Set(lm, base + "\\shell\\open\\command", "", "\"" + exe + "\"");
}

void WriteBrowserProgram(ImageWriter& w, const std::string& exe, const std::string& kind) {
  w.WriteFile(
      exe, WriteIconProgram({BrowserMark(kind, 16), BrowserMark(kind, 32), BrowserMark(kind, 48)}));
}

void WriteImageIni(const fs::path& root, const std::string& extra, bool windows11) {
  std::ofstream(root / "image.ini", std::ios::binary)
      << "; A 64-bit Windows " << (windows11 ? "11" : "10")
      << " machine of a user called \"demo\". Written by "
         "make-demo-image.\r\n[Windows]\r\nBits=64\r\n"
      << (windows11 ? "Version=10.0.22631\r\nUILanguage=0809\r\n"
                    : "Version=10.0.19045\r\nUILanguage=0409\r\n")
      << "User=demo\r\n\r\n[Processes]\r\n4=System\r\n612=explorer.exe\r\n1044=svchost.exe\r\n\r\n"
         "[TopLevelWindows]\r\n1=Shell_TrayWnd\r\n"
      << extra;
}

}  // namespace orvo::tools
