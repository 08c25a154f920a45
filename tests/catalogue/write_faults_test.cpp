// Every writer of browser data against a disk that fills at each point of its write and
// against a replacing rename another program blocks: the write fails and says so, the
// file it was replacing is byte for byte what it was, no temporary file stays behind, and
// the add-on's record still shows the old state. Then, with the disk free again, the same
// change goes through (so the failure came from the fault, not from the test).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "catalogue/chromium_extensions.h"
#include "catalogue/firefox_extensions.h"
#include "catalogue/ie_extensions.h"
#include "catalogue_fixture.h"
#include "platform/profile_files.h"
#include "platform/sandbox/image.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;
using os::sandbox::WriteFaults;
using test::FindById;

struct FailurePoint {
  std::string what;
  WriteFaults faults;
};

// The disk fills before the first byte, after one, half way and one byte short of a write
// of `size` bytes; then the rename is refused with the disk free.
std::vector<FailurePoint> FailurePoints(uint64_t size, bool with_rename = true) {
  std::vector<FailurePoint> points;
  for (const uint64_t free : {uint64_t(0), uint64_t(1), size / 2, size - 1}) {
    points.push_back(
        {"disk full after " + std::to_string(free) + " of " + std::to_string(size) + " bytes",
         WriteFaults{free, false}});
  }
  if (with_rename) points.push_back({"rename refused", WriteFaults{std::nullopt, true}});
  return points;
}

// Every file directly in the folders, by name, with its bytes: equal snapshots mean no
// file changed and none was added (a temporary) or lost.
using Snapshot = std::map<std::string, std::string>;
Snapshot Take(const std::vector<fs::path>& folders) {
  Snapshot files;
  for (const fs::path& folder : folders) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      files[entry.path().string()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
  }
  return files;
}

uint64_t SizeOf(const fs::path& file) { return fs::file_size(file); }

class WriteFaultsTest : public ::testing::Test {
 protected:
  explicit WriteFaultsTest(const std::string& image = "") {
    test::MachineOptions options = test::DemoOptions();
    if (!image.empty()) options.image = std::string(ORVO_SOURCE_DIR) + "/fixtures/" + image;
    machine = std::make_unique<test::TestMachine>(options);
  }
  void SetUp() override { TFireFoxExtensions::DownloadIcons = false; }
  void TearDown() override { TFireFoxExtensions::DownloadIcons = true; }

  os::sandbox::Image& Image() { return *machine->image(); }
  fs::path Host(const std::string& windows_path) {
    return os::Current().files().NativePath(windows_path);
  }

  // Switches the add-on `id` of a fresh catalogue of type T under each failure point,
  // watching `folders`; then once more with a free disk, which must succeed.
  template <typename T>
  void SwitchAtEveryPoint(const std::string& id, const std::vector<FailurePoint>& points,
                          const std::vector<fs::path>& folders) {
    for (const FailurePoint& point : points) {
      T app;
      TBrowserExtensionInfo* item = FindById(app, id);
      ASSERT_NE(item, nullptr) << point.what;
      const bool was_disabled = item->Disabled;
      const Snapshot before = Take(folders);
      Image().SetWriteFaults(point.faults);
      const ChangeResult result = app.ToggleItem(item);
      Image().SetWriteFaults({});
      EXPECT_FALSE(result) << point.what;
      EXPECT_FALSE(result.message.empty()) << point.what;
      EXPECT_EQ(item->Disabled, was_disabled) << point.what;
      EXPECT_EQ(Take(folders), before) << point.what;
      T again;
      EXPECT_EQ(FindById(again, id)->Disabled, was_disabled) << point.what;
    }
    T app;
    TBrowserExtensionInfo* item = FindById(app, id);
    const bool was_disabled = item->Disabled;
    ASSERT_TRUE(app.ToggleItem(item));
    T again;
    EXPECT_NE(FindById(again, id)->Disabled, was_disabled);
  }

  std::unique_ptr<test::TestMachine> machine;
};

TEST_F(WriteFaultsTest, ChromePreferencesStayWholeAtEveryFailurePoint) {
  const fs::path prefs = Host(TChromeExtensions().ProfileDir + "Preferences");
  SwitchAtEveryPoint<TChromeExtensions>("fblkdohiomlcbgpekccokebfafkgegcf",
                                        FailurePoints(SizeOf(prefs)), {prefs.parent_path()});
}

TEST_F(WriteFaultsTest, ChromeFailuresCarryTheSystemsCode) {
  TChromeExtensions chrome;
  TBrowserExtensionInfo* item = FindById(chrome, "fblkdohiomlcbgpekccokebfafkgegcf");
  Image().SetWriteFaults({0, false});
  const ChangeResult full = chrome.ToggleItem(item);
  EXPECT_EQ(full.error, os::kErrorDiskFull);
  EXPECT_NE(full.message.find("not enough space"), std::string::npos) << full.message;
  Image().SetWriteFaults({std::nullopt, true});
  EXPECT_EQ(chrome.ToggleItem(item).error, os::kErrorSharingViolation);
}

TEST_F(WriteFaultsTest, FirefoxExtensionsJsonStaysWholeAtEveryFailurePoint) {
  const fs::path json = Host(TFireFoxExtensions().ProfileDir + "extensions.json");
  SwitchAtEveryPoint<TFireFoxExtensions>("tabtidy@orvo-demo.example", FailurePoints(SizeOf(json)),
                                         {json.parent_path()});
}

TEST_F(WriteFaultsTest, TheRegistryImageAndItsKeysStayAsTheyWereAtEveryFailurePoint) {
  const fs::path reg = Image().folder() / "registry.reg";
  SwitchAtEveryPoint<TIEExtensions>("{6B1D2F3A-1111-4C2E-9A11-0D3E5F7A9B01}",
                                    FailurePoints(SizeOf(reg)), {Image().folder()});
}

// The registry as seen through the seam, not only its file: a value set, a value deleted,
// a key created and a key deleted on a full disk leave nothing behind in memory either.
TEST_F(WriteFaultsTest, RegistryChangesThatCannotBeSavedAreUndone) {
  os::Registry& registry = os::Current().registry();
  const std::string path = machine->key();
  machine->SetString(os::RegRoot::CurrentUser, path, "kept", "old");
  machine->SetString(os::RegRoot::CurrentUser, path + "\\child", "x", "y");
  const Snapshot before = Take({Image().folder()});
  std::unique_ptr<os::RegKey> key;
  ASSERT_EQ(registry.OpenKey(os::RegRoot::CurrentUser, path, os::kKeyAllAccess, &key),
            os::kErrorSuccess);
  Image().SetWriteFaults({0, false});
  const std::vector<uint8_t> text = {'n', 0, 0, 0};
  EXPECT_NE(key->SetValue("kept", os::kRegSz, text), os::kErrorSuccess);
  EXPECT_NE(key->SetValue("added", os::kRegSz, text), os::kErrorSuccess);
  EXPECT_NE(key->DeleteValue("kept"), os::kErrorSuccess);
  EXPECT_NE(key->DeleteSubTree("child"), os::kErrorSuccess);
  std::unique_ptr<os::RegKey> created;
  EXPECT_NE(registry.CreateKey(os::RegRoot::CurrentUser, path + "\\new\\deeper", os::kKeyAllAccess,
                               &created),
            os::kErrorSuccess);
  Image().SetWriteFaults({});
  EXPECT_EQ(Take({Image().folder()}), before);
  os::RegValue value;
  ASSERT_EQ(key->QueryValue("kept", &value), os::kErrorSuccess);
  EXPECT_EQ(value.data.size(), 8u);  // "old" and its terminator in UTF-16
  EXPECT_EQ(key->QueryValue("added", &value), os::kErrorFileNotFound);
  EXPECT_TRUE(machine->KeyExists(os::RegRoot::CurrentUser, path + "\\child"));
  EXPECT_FALSE(machine->KeyExists(os::RegRoot::CurrentUser, path + "\\new"));
}

// A settings file (the private-profile writer under the program's own settings).
TEST_F(WriteFaultsTest, ASettingsFileStaysWholeAtEveryFailurePoint) {
  const std::string file = machine->folder() + "\\settings.ini";
  machine->WriteFile(file, "[General]\r\nLanguage=English\r\nCheckNews=1\r\n");
  const auto profiles = os::OpenProfileFiles(os::Current().files());
  for (const FailurePoint& point : FailurePoints(SizeOf(Host(file)))) {
    const Snapshot before = Take({Host(file).parent_path()});
    Image().SetWriteFaults(point.faults);
    EXPECT_FALSE(profiles->WriteString(file, "General", "Language", "Deutsch")) << point.what;
    Image().SetWriteFaults({});
    EXPECT_EQ(Take({Host(file).parent_path()}), before) << point.what;
  }
  EXPECT_TRUE(profiles->WriteString(file, "General", "Language", "Deutsch"));
  EXPECT_EQ(profiles->GetString(file, "General", "Language", ""), "Deutsch");
}

// The legacy Firefox profile: SQLite writes its database and journal by itself; a disk
// that fills while it writes fails the update, and SQLite's own rollback leaves the
// database as it was, without a journal.
class SqliteWriteFaults : public WriteFaultsTest {
 protected:
  SqliteWriteFaults() : WriteFaultsTest("demo-legacy") {}
};

TEST_F(SqliteWriteFaults, TheDatabaseStaysWholeWhenTheDiskFills) {
  const fs::path db = Host(TFireFoxExtensions().ProfileDir + "extensions.sqlite");
  // The journal is a 512-byte header, then each page it saves (4096 bytes here) with eight
  // bytes around it: fill the disk in the header, at its end, and inside the first page.
  std::vector<FailurePoint> points;
  for (const uint64_t free : {0, 1, 511, 512, 4096, 4615}) {
    points.push_back(
        {"disk full after " + std::to_string(free) + " bytes", WriteFaults{free, false}});
  }
  SwitchAtEveryPoint<TFireFoxExtensions>("tabtidy@orvo-demo.example", points, {db.parent_path()});
}

}  // namespace
}  // namespace orvo
