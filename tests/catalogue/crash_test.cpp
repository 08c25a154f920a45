// Switching an add-on survives the process being killed at any moment: a child switches
// one add-on on and off in a loop and is killed with SIGKILL after a random delay, again
// and again; after every kill the browser's file is exactly one of the versions a whole
// switch writes (for SQLite: a sound database with both flags of one state), and the next
// child goes on from it. The delays come from a seeded generator, so a failure can be
// replayed: ORVO_CRASH_SEED=<seed> (and ORVO_CRASH_KILLS=<n>, 300 by default).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <thread>

#include "catalogue/chromium_extensions.h"
#include "catalogue/firefox_extensions.h"
#include "catalogue/ie_extensions.h"
#include "catalogue/ie_sweeper.h"
#include "catalogue/sqlite_database.h"
#include "catalogue/sqlite_table.h"
#include "catalogue_fixture.h"
#include "platform/reg_file.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

unsigned EnvNumber(const char* name, unsigned fallback) {
  const char* text = std::getenv(name);
  return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

std::string HostBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Switches `id` in a fresh catalogue of type T.
template <typename T>
bool Switch(const std::string& id) {
  TFireFoxExtensions::DownloadIcons = false;
  T app;
  TBrowserExtensionInfo* item = test::FindById(app, id);
  return item && static_cast<bool>(app.ToggleItem(item));
}

struct CrashCounts {
  unsigned kills = 0;
  unsigned left_temporaries = 0;  // kills that landed inside a write
};

// Kills a child running `loop` forever `kills` times, checking `sound` after each kill.
// `period` is how long one switch takes: the delays spread over three of them.
CrashCounts KillRepeatedly(const std::function<void()>& loop,
                           const std::function<void(unsigned)>& sound, const fs::path& folder,
                           Clock::duration period) {
  const unsigned seed = EnvNumber("ORVO_CRASH_SEED", 20);
  const unsigned kills = EnvNumber("ORVO_CRASH_KILLS", 300);
  std::mt19937 random(seed);
  const auto longest =
      std::chrono::duration_cast<std::chrono::microseconds>(period * 3).count() + 1;
  std::uniform_int_distribution<long> delay(0, longest);
  CrashCounts counts;
  for (unsigned kill = 0; kill < kills && !::testing::Test::HasFailure(); ++kill) {
    const pid_t child = ::fork();
    if (child == 0) {
      loop();
      ::_exit(0);
    }
    if (child < 0) {
      ADD_FAILURE() << "fork failed";
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFSIGNALED(status)) {
      ADD_FAILURE() << "the child ended by itself (seed " << seed << ", kill " << kill << ")";
      break;
    }
    ++counts.kills;
    // A temporary file or a SQLite journal left behind: the kill came inside a write.
    std::vector<fs::path> temporaries;
    bool inside = false;
    for (const auto& entry : fs::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (name.find(".tmp-") != std::string::npos) temporaries.push_back(entry.path());
      inside = inside || name.find(".tmp-") != std::string::npos || name.ends_with("-journal");
    }
    counts.left_temporaries += inside;
    sound(kill);
    for (const fs::path& temporary : temporaries) fs::remove(temporary);
  }
  std::printf("%u kills, %u inside a write (seed %u)\n", counts.kills, counts.left_temporaries,
              seed);
  return counts;
}

class CrashTest : public ::testing::Test {
 protected:
  void SetUp() override { TFireFoxExtensions::DownloadIcons = false; }
  void TearDown() override { TFireFoxExtensions::DownloadIcons = true; }
  static fs::path Host(const std::string& windows_path) {
    return os::Current().files().NativePath(windows_path);
  }

  // For a writer that replaces a whole file: the versions a few whole switches write, then
  // the kill loop, each kill leaving one of them behind, readable by `parses`.
  template <typename T>
  void Run(const fs::path& file, const std::string& id,
           const std::function<bool(const std::string&)>& parses) {
    std::set<std::string> versions{HostBytes(file)};
    const auto start = Clock::now();
    for (int i = 0; i < 4; ++i) {
      ASSERT_TRUE(Switch<T>(id));
      versions.insert(HostBytes(file));
    }
    const auto period = (Clock::now() - start) / 4;
    const CrashCounts counts = KillRepeatedly(
        [&] {
          for (;;) Switch<T>(id);
        },
        [&](unsigned kill) {
          const std::string now = HostBytes(file);
          ASSERT_TRUE(versions.count(now)) << "kill " << kill << " left a version no switch writes";
          ASSERT_TRUE(parses(now)) << "kill " << kill;
        },
        file.parent_path(), period);
    EXPECT_GE(counts.kills, EnvNumber("ORVO_CRASH_KILLS", 300));
  }

  std::unique_ptr<test::TestMachine> machine;
};

bool JsonParses(const std::string& text) { return ParseJsonDocument(text) != nullptr; }

TEST_F(CrashTest, ChromePreferencesAreAlwaysWhole) {
  machine = std::make_unique<test::TestMachine>(test::DemoOptions());
  Run<TChromeExtensions>(Host(TChromeExtensions().ProfileDir + "Preferences"),
                         "fblkdohiomlcbgpekccokebfafkgegcf", JsonParses);
}

TEST_F(CrashTest, FirefoxExtensionsJsonIsAlwaysWhole) {
  machine = std::make_unique<test::TestMachine>(test::DemoOptions());
  Run<TFireFoxExtensions>(Host(TFireFoxExtensions().ProfileDir + "extensions.json"),
                          "tabtidy@orvo-demo.example", JsonParses);
}

// Switching an Internet Explorer add-on off is three registry changes (the switch key,
// its Flags, its Version), each saved whole, as on Windows; a kill between them leaves the
// switch key part-made. Whole means: the file reads without a damaged line, and with the
// switch key set aside it is the registry as it was.
std::optional<std::string> RegistryBesides(const std::string& text, const std::string& key) {
  os::RegHive hive;
  const os::RegFileParse parse = os::ParseRegFile(text, &hive);
  if (!parse.ok || !parse.warnings.empty()) return std::nullopt;
  hive.Delete(os::RegHive::Locate(os::RegRoot::CurrentUser, key));
  return os::WriteRegFile(hive, parse.format);
}

TEST_F(CrashTest, TheRegistryImageIsAlwaysWhole) {
  machine = std::make_unique<test::TestMachine>(test::DemoOptions());
  const std::string id = "{6B1D2F3A-1111-4C2E-9A11-0D3E5F7A9B01}";
  const fs::path file = fs::path(machine->image_folder()) / "registry.reg";
  const std::string key = ExtSettingsKey(id);
  const std::optional<std::string> original = RegistryBesides(HostBytes(file), key);
  ASSERT_TRUE(original);
  const auto start = Clock::now();
  ASSERT_TRUE(Switch<TIEExtensions>(id));
  const auto period = Clock::now() - start;
  const CrashCounts counts = KillRepeatedly(
      [&] {
        for (;;) Switch<TIEExtensions>(id);
      },
      [&](unsigned kill) {
        ASSERT_EQ(RegistryBesides(HostBytes(file), key), original) << "kill " << kill;
      },
      file.parent_path(), period);
  EXPECT_GE(counts.kills, EnvNumber("ORVO_CRASH_KILLS", 300));
}

// SQLite rewrites pages in place behind its journal; after a kill the next opening rolls
// a half-done update back. Sound means: the database checks clean and the add-on has both
// flags of one state.
TEST_F(CrashTest, TheFirefoxDatabaseIsAlwaysSound) {
  test::MachineOptions options;
  options.image = std::string(ORVO_SOURCE_DIR) + "/fixtures/demo-legacy";
  machine = std::make_unique<test::TestMachine>(options);
  const std::string id = "tabtidy@orvo-demo.example";
  const fs::path db = Host(TFireFoxExtensions().ProfileDir + "extensions.sqlite");
  const auto start = Clock::now();
  ASSERT_TRUE(Switch<TFireFoxExtensions>(id));
  const auto period = Clock::now() - start;
  const CrashCounts counts = KillRepeatedly(
      [&] {
        for (;;) Switch<TFireFoxExtensions>(id);
      },
      [&](unsigned kill) {
        TSQLiteDatabase database(db.string());
        EXPECT_EQ(database.OpenQuery("pragma integrity_check", {})->CellText(0), "ok")
            << "kill " << kill;
        auto row = database.OpenQuery("select active, userDisabled from addon where id=?", {id});
        ASSERT_NE(row->CellInteger(0), row->CellInteger(1)) << "kill " << kill;
      },
      db.parent_path(), period);
  EXPECT_GE(counts.kills, EnvNumber("ORVO_CRASH_KILLS", 300));
}

}  // namespace
}  // namespace orvo
