// The main of a fuzz target outside the fuzz preset: it runs every file it is given (a
// folder stands for the files in it, in name order) through the target once, so the
// committed corpora and regression inputs replay under the sanitizers of the ordinary
// builds, deterministically and without clang. An input that runs longer than the time
// limit counts as a hang; a sanitizer report or a failed check ends the process as it
// would under libFuzzer.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

// The input running now, for the hang message (a signal handler may only read it).
char g_current[4096] = "";

void OnAlarm(int) {
  const char head[] = "replay: input ran past its time limit: ";
  (void)!write(2, head, sizeof head - 1);
  (void)!write(2, g_current, std::strlen(g_current));
  (void)!write(2, "\n", 1);
  _exit(70);
}

std::vector<fs::path> Inputs(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') continue;  // libFuzzer options, accepted and ignored
    const fs::path arg = argv[i];
    std::error_code ec;
    if (fs::is_directory(arg, ec)) {
      std::vector<fs::path> files;
      for (const auto& entry : fs::directory_iterator(arg, ec)) {
        if (entry.is_regular_file(ec)) files.push_back(entry.path());
      }
      std::sort(files.begin(), files.end());
      inputs.insert(inputs.end(), files.begin(), files.end());
    } else if (fs::exists(arg, ec)) {
      inputs.push_back(arg);
    } else {
      std::fprintf(stderr, "replay: no such input: %s\n", argv[i]);
      std::exit(2);
    }
  }
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = 30;
  if (const char* limit = std::getenv("ORVO_REPLAY_SECONDS"))
    seconds = std::max(1, std::atoi(limit));
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  signal(SIGALRM, OnAlarm);
  const std::vector<fs::path> inputs = Inputs(argc, argv);
  for (const fs::path& path : inputs) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    std::snprintf(g_current, sizeof g_current, "%s", path.c_str());
    alarm(static_cast<unsigned>(seconds));
    // A copy of exactly the input's size, so a read past its end is caught by ASan.
    std::unique_ptr<uint8_t[]> data(new uint8_t[bytes.size() + (bytes.empty() ? 1 : 0)]);
    std::copy(bytes.begin(), bytes.end(), data.get());
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
    alarm(0);
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return 0;
}
