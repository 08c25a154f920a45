// Set-up and clean-up of the shell tests' machine and program folder.
#include "shell/shell_fixture.h"

#include <filesystem>
#include <fstream>

#include "platform/ini_text.h"
#include "platform/platform.h"
#include "platform/program_files.h"
#include "platform/text.h"
#include "shell/app_config.h"
#include "shell/language.h"

namespace fs = std::filesystem;

namespace orvo::test {
namespace {

fs::path HostPath(const std::string& path) {
  return fs::path(reinterpret_cast<const char8_t*>(path.c_str()));
}

MachineOptions Options(std::string extra_ini) {
  MachineOptions options;
  options.extra_ini = std::move(extra_ini);
  return options;
}

}  // namespace

std::string Utf16File(std::string_view utf8_text) {
  return EncodeIniText(utf8_text, IniEncoding::kUtf16Le);
}

std::string ShippedLanguage(std::string_view name) {
  auto folder = os::OpenProgramFolder();
  const std::string path =
      folder->Folder() + "Languages" + folder->Separator() + std::string(name) + ".ini";
  return folder->ReadFile(path, size_t(1) << 20).value_or("");
}

void WriteHostFile(const std::string& path, std::string_view bytes) {
  fs::create_directories(HostPath(path).parent_path());
  std::ofstream out(HostPath(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void RemoveHostFile(const std::string& path) {
  std::error_code ec;
  fs::remove_all(HostPath(path), ec);
}

ShellTest::ShellTest(std::string extra_ini) : ShellTest(Options(std::move(extra_ini))) {}

ShellTest::ShellTest(MachineOptions options) : machine_(std::make_unique<TestMachine>(options)) {
  program_ = machine_->sandbox() ? machine_->image_folder() + "/program/"
                                 : machine_->folder() + "\\program\\";
  languages_ = program_ + "Languages" + (machine_->sandbox() ? '/' : '\\');
  fs::create_directories(HostPath(program_));
  UseProgramFolder(os::OpenProgramFolder(program_));
  ResetLanguage();
  AppConfig = TAppConfig{};
  ClearSettings();
}

ShellTest::~ShellTest() {
  ClearSettings();
  ResetLanguage();
  UseProgramFolder(nullptr);
  RemoveHostFile(program_);
}

void ShellTest::ClearSettings() {
  // Natively the image is fresh; under Wine the folder is the real user's, left by an
  // earlier test.
  if (!machine_->sandbox() && !ConfigFolder().empty()) {
    os::Current().files().ShellDelete(ConfigFolder(),
                                      os::kFofSilent | os::kFofNoConfirmation | os::kFofNoErrorUi);
  }
}

std::string ShellTest::LanguagePath(std::string_view name) const {
  return languages_ + std::string(name) + ".ini";
}

void ShellTest::WriteLanguage(std::string_view name, std::string_view bytes) {
  WriteHostFile(LanguagePath(name), bytes);
}

void ShellTest::RemoveLanguage(std::string_view name) { RemoveHostFile(LanguagePath(name)); }

void ShellTest::InstallShippedLanguages() {
  for (const char* name : {"English", "German"}) WriteLanguage(name, ShippedLanguage(name));
}

std::string ShellTest::SettingsText() {
  const auto bytes = os::Current().files().ReadFile(ConfigFile());
  return bytes ? DecodeIniBytes(*bytes).utf8 : std::string();
}

bool ShellTest::SettingsFolderExists() {
  return os::Current().files().GetAttributes(ConfigFolder()) != os::kInvalidFileAttributes;
}

}  // namespace orvo::test
