#pragma once
// The machine of one shell test: a TestMachine (the sandbox image natively, the real
// system under Wine) plus a program folder of the test's own, whose "Languages" folder
// the test fills. The language state, the settings record and the settings folder start
// empty and are cleared again afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "support/test_machine.h"

namespace orvo::test {

// A language file as the program ships them: UTF-16LE with byte-order mark, CR LF.
std::string Utf16File(std::string_view utf8_text);
// The bytes of a shipped language file (resources/languages/NAME.ini, as the build
// installed it beside the test program).
std::string ShippedLanguage(std::string_view name);
// Writes or removes a file by its host path natively, its Windows path on Windows.
void WriteHostFile(const std::string& path, std::string_view bytes);
void RemoveHostFile(const std::string& path);

class ShellTest : public ::testing::Test {
 protected:
  explicit ShellTest(std::string extra_ini = "");
  explicit ShellTest(MachineOptions options);
  ~ShellTest() override;

  TestMachine& machine() { return *machine_; }
  // The program folder and its Languages folder, each ending with its separator.
  const std::string& program() const { return program_; }
  const std::string& languages() const { return languages_; }
  std::string LanguagePath(std::string_view name) const;
  void WriteLanguage(std::string_view name, std::string_view bytes);
  void RemoveLanguage(std::string_view name);
  // English.ini and German.ini as shipped.
  void InstallShippedLanguages();
  // The settings file's text (UTF-8), "" when it does not exist.
  std::string SettingsText();
  bool SettingsFolderExists();

 private:
  void ClearSettings();
  std::unique_ptr<TestMachine> machine_;
  std::string program_;
  std::string languages_;
};

}  // namespace orvo::test
