// Set-up helpers shared by both kinds of TestMachine.
#include <stdexcept>

#include "support/test_machine.h"

namespace orvo::test {

std::string DemoImage() { return std::string(ORVO_SOURCE_DIR) + "/fixtures/demo"; }
std::string ModernImage() { return std::string(ORVO_SOURCE_DIR) + "/fixtures/modern"; }

void TestMachine::SetValue(os::RegRoot root, std::string_view path, std::string_view name,
                           uint32_t type, const std::vector<uint8_t>& data) {
  std::unique_ptr<os::RegKey> key;
  const long rc =
      platform_->registry().CreateKey(root, path, os::kKeyAllAccess | os::kKeyWow64_64Key, &key);
  if (rc != os::kErrorSuccess) {
    throw std::runtime_error("cannot create key " + std::string(path) + ": " + std::to_string(rc));
  }
  if (key->SetValue(name, type, data) != os::kErrorSuccess) {
    throw std::runtime_error("cannot set value " + std::string(name));
  }
}

void TestMachine::SetString(os::RegRoot root, std::string_view path, std::string_view name,
                            std::string_view value) {
  SetValue(root, path, name, os::kRegSz, os::RegStringData(value));
}

void TestMachine::SetDword(os::RegRoot root, std::string_view path, std::string_view name,
                           uint32_t value) {
  SetValue(root, path, name, os::kRegDword, os::RegDwordData(value));
}

bool TestMachine::KeyExists(os::RegRoot root, std::string_view path, uint32_t view) {
  std::unique_ptr<os::RegKey> key;
  const long rc = platform_->registry().OpenKey(root, path, os::kKeyRead | view, &key);
  return rc == os::kErrorSuccess || rc == os::kErrorAccessDenied;
}

void TestMachine::WriteFile(std::string_view path, std::string_view bytes) {
  const size_t slash = path.rfind('\\');
  if (slash != std::string_view::npos) platform_->files().CreateFolders(path.substr(0, slash));
  const auto result = platform_->files().WriteFileAtomic(path, bytes);
  if (!result)
    throw std::runtime_error("cannot write " + std::string(path) + ": " + result.message);
}

}  // namespace orvo::test
