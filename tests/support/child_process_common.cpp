// The registry of child modes, shared by both kinds of ChildProcess.
#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <thread>

#include "support/child_process.h"

namespace orvo::test {
namespace {

std::map<std::string, ChildMode::Body>& Modes() {
  static std::map<std::string, ChildMode::Body> modes;
  return modes;
}

}  // namespace

ChildMode::ChildMode(const char* name, Body body) { Modes()[name] = std::move(body); }

bool RunChildMode(int argc, char** argv, int* exit_code) {
  if (argc < 3 || std::strcmp(argv[1], "--orvo-child") != 0) return false;
  const auto it = Modes().find(argv[2]);
  *exit_code =
      it == Modes().end() ? 99 : it->second(std::vector<std::string>(argv + 3, argv + argc));
  return true;
}

bool WaitForFile(const std::string& path, int timeout_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  const std::filesystem::path file(reinterpret_cast<const char8_t*>(path.c_str()));
  std::error_code ec;
  while (!std::filesystem::exists(file, ec)) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace orvo::test
