// The Firefox catalogue on copies of the demo images: extensions.json (demo) and an old
// profile's extensions.sqlite in the browser's real schema (demo-legacy). The startup cache
// beside the demo's extensions.json has tests of its own (firefox_current_test.cpp).
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "catalogue/firefox_entries.h"
#include "catalogue/firefox_extensions.h"
#include "catalogue/icon_download.h"
#include "catalogue/registry_helpers.h"
#include "catalogue/shell_helpers.h"
#include "catalogue/sqlite_database.h"
#include "catalogue/sqlite_table.h"
#include "catalogue_fixture.h"
#include "firefox_check.h"
#include "platform/png_codec.h"
#include "platform/ui_dispatcher.h"
#include "support/failure_capture.h"
#include "support/loopback_server.h"

namespace orvo {
namespace {

using test::FindById;
using namespace test::firefox;

std::string Extensions(const TBrowserAppBase& ff) { return ff.ProfileDir + "extensions.json"; }

// Firefox icons from a loopback server instead of the demo site.
class FirefoxJson : public ::testing::Test {
 protected:
  void SetUp() override {
    TFireFoxExtensions::DownloadIcons = false;
    const std::string path = Extensions(TFireFoxExtensions());
    std::string text = test::ReadText(path);
    for (size_t at = text.find("http:\\/\\/127.0.0.1:8086"); at != std::string::npos;
         at = text.find("http:\\/\\/127.0.0.1:8086", at)) {
      text.replace(at, 24, "http://127.0.0.1:" + std::to_string(server.port()));
    }
    for (size_t at = text.find("http://127.0.0.1:8086"); at != std::string::npos;
         at = text.find("http://127.0.0.1:8086", at)) {
      text.replace(at, 21, "http://127.0.0.1:" + std::to_string(server.port()));
    }
    machine.WriteFile(path, text);
    TFireFoxExtensions::DownloadIcons = true;
  }
  void TearDown() override { TFireFoxExtensions::DownloadIcons = true; }

  test::TestMachine machine{test::DemoOptions()};
  test::LoopbackServer server;
};

TEST_F(FirefoxJson, ListsTheProfilesAddOns) {
  TFireFoxExtensions::DownloadIcons = false;
  TFireFoxExtensions ff;
  EXPECT_NE(ff.Document, nullptr);
  ASSERT_EQ(ff.GetCount(), 13);  // ten add-ons and the three plug-ins
  const auto* tidy = FindById(ff, kTabTidy);
  // Its translations are Spanish, German and Bulgarian; an English user gets the default.
  EXPECT_EQ(tidy->Name, "Tab Tidy for Firefox");
  EXPECT_EQ(tidy->Description, "Groups and sorts your open tabs.");
  EXPECT_EQ(tidy->Version, "2.4.1");
  EXPECT_NE(tidy->Path.find("tabtidy@orvo-demo.example.xpi"), std::string::npos);
  EXPECT_NE(tidy->IconRef.find("-64.png"), std::string::npos);
  EXPECT_TRUE(FindById(ff, kCookies)->Disabled);      // appDisabled alone
  EXPECT_TRUE(FindById(ff, kUebersetzer)->Disabled);  // userDisabled
  EXPECT_FALSE(FindById(ff, kReader)->Disabled);
  EXPECT_EQ(FindById(ff, kReader)->IconRef, "");  // only a "48" icon
  EXPECT_EQ(FindById(ff, kUebersetzer)->Name, "Übersetzer");
}

TEST_F(FirefoxJson, IconsArriveInTheBackgroundAndOnlyPngCounts) {
  const auto png = [](int size) {
    return *os::EncodePng({size, size, std::vector<uint32_t>(size_t(size) * size, 0xFF2080C0)});
  };
  // One picture is held back until the list exists: a catalogue that waited for its
  // pictures would only be made after the hold gave up (4 s, within the transfers' 5 s
  // read limit), and find it answered.
  std::mutex hold_mutex;
  std::condition_variable hold_changed;
  bool list_made = false, answered = false;
  server.AnswerWith("/icons/tabtidy_orvo-demo_example-64.png", [&](const test::RecordedRequest&) {
    std::unique_lock lock(hold_mutex);
    hold_changed.wait_for(lock, std::chrono::seconds(4), [&] { return list_made; });
    answered = true;
    return test::LoopbackServer::Answer{200, png(64), "image/png"};
  });
  server.Serve("/icons/_3c2b8b0e-5b7a-4f0e-9d2c-1a4e6f7b8c90_-32.png", png(32), 200, "image/png");
  server.Serve("/icons/unicode-names_orvo-demo_example-64.png", "<html>not a picture</html>", 200,
               "text/html");
  os::UiThreadScope ui;
  TFireFoxExtensions ff;
  {
    std::lock_guard lock(hold_mutex);
    EXPECT_FALSE(answered) << "the list waited for a picture";
    list_made = true;
  }
  hold_changed.notify_all();
  EXPECT_EQ(FindById(ff, kTabTidy)->Image, nullptr);
  const bool arrived = ui.dispatcher().RunUntil(
      [&] { return FindById(ff, kTabTidy)->Image && FindById(ff, kCookies)->Image; },
      std::chrono::seconds(10));
  ASSERT_TRUE(arrived);
  EXPECT_EQ(FindById(ff, kTabTidy)->Image->width(), 64);
  EXPECT_EQ(FindById(ff, kCookies)->Image->width(), 32);
  ui.dispatcher().RunUntil([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_EQ(FindById(ff, kUebersetzer)->Image, nullptr);
}

// An icon that arrives for a record deleted meanwhile lands nowhere: not in the freed
// record, not in another one; the records still listed get their own. Once the whole
// catalogue has gone, nothing lands at all.
TEST_F(FirefoxJson, ARecordDeletedBeforeItsIconArrivesIsLeftAlone) {
  const std::string tidy_icon = "/icons/tabtidy_orvo-demo_example-64.png";
  const std::string cookies_icon = "/icons/_3c2b8b0e-5b7a-4f0e-9d2c-1a4e6f7b8c90_-32.png";
  server.ServeLate(tidy_icon, std::chrono::milliseconds(300),
                   *os::EncodePng({8, 8, std::vector<uint32_t>(64, 0xFF000000)}));
  server.ServeLate(cookies_icon, std::chrono::milliseconds(900),
                   *os::EncodePng({32, 32, std::vector<uint32_t>(1024, 0xFF2080C0)}));
  std::vector<const TBrowserExtensionInfo*> landed;
  SetIconArrivedHandler([&](TBrowserExtensionInfo& record) { landed.push_back(&record); });
  os::UiThreadScope ui;
  auto ff = std::make_unique<TFireFoxExtensions>();
  ASSERT_TRUE(ff->DeleteItem(FindById(*ff, kTabTidy)));
  // The deleted record's picture is answered first, the other one after it.
  ASSERT_TRUE(ui.dispatcher().RunUntil([&] { return FindById(*ff, kCookies)->Image != nullptr; },
                                       std::chrono::seconds(10)));
  ui.dispatcher().RunUntil([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_EQ(server.Count(tidy_icon), 1u);
  EXPECT_EQ(landed, std::vector<const TBrowserExtensionInfo*>{FindById(*ff, kCookies)});
  for (int i = 0; i < ff->GetCount(); ++i) {
    if (ff->GetItem(i)->Image) {
      EXPECT_NE(ff->GetItem(i)->Image->width(), 8) << ff->GetItem(i)->Id;
    }
  }

  // Again, and now the catalogue goes before any picture comes.
  landed.clear();
  const size_t asked = server.Count(tidy_icon);
  ff = std::make_unique<TFireFoxExtensions>();
  ff.reset();
  ui.dispatcher().RunUntil(
      [&] { return server.Count(cookies_icon) > 1 && server.Count(tidy_icon) > asked; },
      std::chrono::seconds(5));
  ui.dispatcher().RunUntil([] { return false; }, std::chrono::milliseconds(1200));
  EXPECT_TRUE(landed.empty());
  SetIconArrivedHandler(nullptr);
}

TEST_F(FirefoxJson, SwitchingRewritesTheFileAtomicallyInAscii) {
  TFireFoxExtensions::DownloadIcons = false;
  TFireFoxExtensions ff;
  ASSERT_TRUE(ff.ToggleItem(FindById(ff, kTabTidy)));
  EXPECT_TRUE(FindById(ff, kTabTidy)->Disabled);
  const Json doc = test::ReadJson(Extensions(ff));
  const Json& tidy = doc["addons"][0];
  EXPECT_EQ(tidy["userDisabled"], true);
  EXPECT_EQ(tidy["active"], false);
  const std::string text = test::ReadText(Extensions(ff));
  for (unsigned char c : text) ASSERT_LT(c, 0x80);
  EXPECT_NE(text.find("\\u00dcbersetzer"), std::string::npos);
  TFireFoxExtensions again;
  EXPECT_EQ(FindById(again, kUebersetzer)->Name, "Übersetzer");

  ASSERT_TRUE(os::Current().files().SetAttributes(Extensions(ff), os::kFileAttributeReadOnly));
  const ChangeResult refused = ff.ToggleItem(FindById(ff, kTabTidy));
  os::Current().files().SetAttributes(Extensions(ff), 0);
  EXPECT_FALSE(refused);
  EXPECT_TRUE(FindById(ff, kTabTidy)->Disabled);  // still what the file says
}

// A switch the file refused is not saved by the next write, and a record whose id is no
// longer in the document is not shown switched.
TEST_F(FirefoxJson, ARefusedOrImpossibleSwitchChangesNothing) {
  TFireFoxExtensions::DownloadIcons = false;
  TFireFoxExtensions ff;
  ASSERT_TRUE(os::Current().files().SetAttributes(Extensions(ff), os::kFileAttributeReadOnly));
  EXPECT_FALSE(ff.ToggleItem(FindById(ff, kTabTidy)));
  ASSERT_TRUE(os::Current().files().SetAttributes(Extensions(ff), 0));
  EXPECT_FALSE(FindById(ff, kTabTidy)->Disabled);
  const Json before = test::ReadJson(Extensions(ff));
  ASSERT_TRUE(ff.ToggleItem(FindById(ff, kReader)));
  Json expected = before;
  for (auto& a : expected["addons"]) {
    if (a["id"] == kReader) {
      a["userDisabled"] = true;
      a["active"] = false;
    }
  }
  EXPECT_EQ(test::ReadJson(Extensions(ff)).dump(), expected.dump());

  ff.Document->value["addons"].erase(0);  // Tab Tidy's element
  const std::string text = test::ReadText(Extensions(ff));
  const ChangeResult r = ff.ToggleItem(FindById(ff, kTabTidy));
  EXPECT_FALSE(r);
  EXPECT_NE(r.message.find(kTabTidy), std::string::npos) << r.message;
  EXPECT_FALSE(FindById(ff, kTabTidy)->Disabled);
  EXPECT_EQ(test::ReadText(Extensions(ff)), text);
}

// A file that cannot be deleted keeps the entry and the record; the add-on's folder held
// in part is named.
TEST_F(FirefoxJson, FilesThatCannotBeDeletedKeepTheEntry) {
  TFireFoxExtensions::DownloadIcons = false;
  TFireFoxExtensions ff;
  TBrowserExtensionInfo* tidy = FindById(ff, kTabTidy);
  TBrowserExtensionInfo* toolbar = FindById(ff, kToolbar);
  {
    test::HeldFile xpi(machine, tidy->Path);
    test::HeldFile part(machine, toolbar->Path + "\\install.rdf");
    ASSERT_TRUE(xpi.held() && part.held());
    const ChangeResult r = ff.DeleteItem(tidy);
    EXPECT_FALSE(r);
    EXPECT_NE(r.message.find(tidy->Path), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("in use"), std::string::npos) << r.message;
    const ChangeResult partly = ff.DeleteItem(toolbar);
    EXPECT_FALSE(partly);
    EXPECT_NE(partly.message.find(toolbar->Path), std::string::npos) << partly.message;
    EXPECT_NE(partly.message.find("install.rdf"), std::string::npos) << partly.message;
    if (machine.sandbox()) {  // entries go in name order there: chrome\toolbar.js first
      EXPECT_NE(partly.message.find("partly deleted"), std::string::npos) << partly.message;
    }
    EXPECT_TRUE(PathExistsEx(tidy->Path));
    EXPECT_EQ(FindById(ff, kTabTidy), tidy);
    EXPECT_EQ(FindById(ff, kToolbar), toolbar);
    const Json doc = test::ReadJson(Extensions(ff));
    EXPECT_EQ(doc["addons"].size(), 10u);
  }
  ASSERT_TRUE(ff.DeleteItem(tidy));
  ASSERT_TRUE(ff.DeleteItem(toolbar));
  EXPECT_EQ(test::ReadJson(Extensions(ff))["addons"].size(), 8u);
}

// Firefox deletes add-ons only from the folders it installs them into; a descriptor
// pointing at the user's own files takes the entry away and leaves the files.
TEST_F(FirefoxJson, ADescriptorOutsideTheInstallFoldersKeepsItsFiles) {
  TFireFoxExtensions::DownloadIcons = false;
  TFireFoxExtensions probe;
  const std::string documents = machine.folder() + "\\Documents";
  machine.WriteFile(documents + "\\thesis.docx", "years of work");
  machine.WriteFile(documents + "\\photos\\one.jpg", "jpeg");
  const std::string elsewhere = probe.ProfileDir + "extensions-old\\x.xpi";  // looks alike, is not
  machine.WriteFile(elsewhere, "xpi");
  Json doc = test::ReadJson(Extensions(probe));
  doc["addons"][0]["path"] = documents;
  doc["addons"][1]["path"] = elsewhere;
  doc["addons"][2]["path"] = probe.ProfileDir + "extensions\\..\\..\\..";
  machine.WriteFile(Extensions(probe), doc.dump());

  TFireFoxExtensions ff;
  for (const char* id : {kTabTidy, kCookies, kReader}) {
    const ChangeResult r = ff.DeleteItem(FindById(ff, id));
    ASSERT_TRUE(r) << id;
    EXPECT_NE(r.message.find("only the entry was removed"), std::string::npos)
        << id << ": " << r.message;
    EXPECT_EQ(FindById(ff, id), nullptr);
  }
  EXPECT_EQ(test::ReadText(documents + "\\thesis.docx"), "years of work");
  EXPECT_TRUE(PathExistsEx(documents + "\\photos\\one.jpg"));
  EXPECT_TRUE(PathExistsEx(elsewhere));
  EXPECT_EQ(test::ReadJson(Extensions(ff))["addons"].size(), 7u);

  // Inside the profile's extensions folder, a file is deleted and nothing is noted.
  const std::string xpi = FindById(ff, kUebersetzer)->Path;
  const ChangeResult inside = ff.DeleteItem(FindById(ff, kUebersetzer));
  ASSERT_TRUE(inside);
  EXPECT_EQ(inside.message, "");
  EXPECT_FALSE(PathExistsEx(xpi));
}

// A plug-in key that refuses to go is named, and the record stays.
TEST_F(FirefoxJson, APlugInKeyThatRefusesStaysListed) {
  TFireFoxExtensions::DownloadIcons = false;
  const std::string key = "SOFTWARE\\Wow6432Node\\MozillaPlugins\\@orvo-demo.example/PdfView";
  machine.DenyAccess(RegRoot::LocalMachine, key);
  TFireFoxExtensions ff;
  TBrowserExtensionInfo* plugin = FindById(ff, "@orvo-demo.example/PdfView");
  ASSERT_NE(plugin, nullptr);
  const ChangeResult r = ff.DeleteItem(plugin);
  EXPECT_FALSE(r);
  EXPECT_NE(r.message.find("HKEY_LOCAL_MACHINE\\" + key), std::string::npos) << r.message;
  EXPECT_EQ(FindById(ff, "@orvo-demo.example/PdfView"), plugin);
  EXPECT_TRUE(machine.KeyExists(RegRoot::LocalMachine, key));
}

TEST_F(FirefoxJson, DeletingRemovesTheFilesAndTheEntry) {
  TFireFoxExtensions::DownloadIcons = false;
  TFireFoxExtensions ff;
  const std::string xpi = FindById(ff, kTabTidy)->Path;
  const std::string folder = FindById(ff, kToolbar)->Path;
  ASSERT_TRUE(PathExistsEx(xpi));
  ASSERT_TRUE(ff.DeleteItem(FindById(ff, kTabTidy)));
  ASSERT_TRUE(ff.DeleteItem(FindById(ff, kToolbar)));
  EXPECT_FALSE(PathExistsEx(xpi));
  EXPECT_FALSE(PathExistsEx(folder));
  const Json doc = test::ReadJson(Extensions(ff));
  ASSERT_EQ(doc["addons"].size(), 8u);
  for (const auto& a : doc["addons"]) EXPECT_NE(a["id"], kTabTidy);
}

// A hand-edited or damaged file may hold an add-on twice in one location. The browser
// keeps the later entry, so that is the one listed and switched, and a delete takes both,
// or the earlier copy would come back to life.
TEST_F(FirefoxJson, ARepeatedEntryIsTheLaterOneAsTheBrowserReadsIt) {
  TFireFoxExtensions::DownloadIcons = false;
  const std::string path = Extensions(TFireFoxExtensions());
  Json doc = test::ReadJson(path);
  Json later;
  for (const auto& a : doc["addons"]) {
    if (a["id"] == kReader) later = a;
  }
  ASSERT_TRUE(later.is_object());
  later["userDisabled"] = true;
  later["active"] = false;
  doc["addons"].push_back(later);
  machine.WriteFile(path, doc.dump());

  TFireFoxExtensions ff;
  EXPECT_EQ(ff.GetCount(), 13);  // listed once
  ASSERT_TRUE(FindById(ff, kReader)->Disabled);
  ASSERT_TRUE(ff.ToggleItem(FindById(ff, kReader)));
  EXPECT_FALSE(FindById(ff, kReader)->Disabled);
  const Json switched = test::ReadJson(path);
  EXPECT_EQ(switched["addons"].back()["id"], kReader);
  EXPECT_EQ(switched["addons"].back()["userDisabled"], false);
  TFireFoxExtensions again;
  EXPECT_FALSE(FindById(again, kReader)->Disabled);

  ASSERT_TRUE(again.DeleteItem(FindById(again, kReader)));
  const Json deleted = test::ReadJson(path);
  EXPECT_EQ(deleted["addons"].size(), doc["addons"].size() - 2);
  for (const auto& a : deleted["addons"]) EXPECT_NE(a["id"], kReader);
}

// What a refused delete puts back is the array as it was, every copy in its place.
TEST(FirefoxEntries, TakenEntriesGoBackWhereTheyWere) {
  const Json original =
      Json::parse(R"([{"id":"a"},{"id":"x","location":"p"},"odd",{"id":"x","location":"q"},)"
                  R"({"id":"x","location":"p","n":2},{"id":"b"}])");
  Json addons = original;
  EXPECT_TRUE(TakeEntries(addons, "y", "p").empty());
  EXPECT_EQ(addons, original);
  TakenEntries taken = TakeEntries(addons, "x", "p");
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(addons.dump(), R"([{"id":"a"},"odd",{"id":"x","location":"q"},{"id":"b"}])");
  PutBackEntries(addons, std::move(taken));
  EXPECT_EQ(addons, original);
  Json last = original;
  taken = TakeEntries(last, "b", "");
  PutBackEntries(last, std::move(taken));
  EXPECT_EQ(last, original);
}

TEST_F(FirefoxJson, NeverDeletesARootTheProfileOrWhatHoldsIt) {
  TFireFoxExtensions::DownloadIcons = false;
  TFireFoxExtensions probe;
  std::string profile = probe.ProfileDir.substr(0, probe.ProfileDir.size() - 1);
  const std::string parent = profile.substr(0, profile.rfind('\\'));
  const std::vector<std::string> dangerous = {"",      "   ",
                                              "C:\\",  "C:",
                                              profile, probe.ProfileDir,
                                              parent,  probe.ProfileDir + "extensions\\..\\.."};
  Json doc = test::ReadJson(Extensions(probe));
  for (size_t i = 0; i < dangerous.size() && i < doc["addons"].size(); ++i) {
    doc["addons"][i]["path"] = dangerous[i];
  }
  machine.WriteFile(Extensions(probe), doc.dump());
  TFireFoxExtensions ff;
  for (int i = ff.GetCount() - 1; i >= 0; --i) {
    if (ff.GetItem(i)->BrowserOwned) continue;
    ASSERT_TRUE(ff.DeleteItem(ff.GetItem(i))) << ff.GetItem(i)->Id;
  }
  EXPECT_EQ(ff.GetCount(), 2);  // the browser's own
  EXPECT_TRUE(PathExistsEx(probe.ProfileDir + "prefs.js"));
  EXPECT_TRUE(PathExistsEx(probe.ProfileDir + "extensions.json"));
}

// A store that is there but can't be read keeps its reason (file and what failed), still
// lists the plug-ins, and refuses every change with that reason. A store that reads but
// holds odd things is no damage: it lists what it can.
TEST(FirefoxBadInput, DamagedStoresListWhatTheyCan) {
  struct Case {
    const char* what;
    const char* file;
    std::string text;
    int count;
    const char* error;  // in LoadError; null: none
  };
  const std::vector<Case> cases = {
      {"truncated json", "extensions.json", "{\"addons\":[{\"id\":\"x\"", 3,
       "extensions.json: not valid JSON"},
      {"empty json", "extensions.json", "", 3, "extensions.json: empty"},
      {"json array", "extensions.json", "[]", 3, "extensions.json: not a JSON object"},
      {"addons not an array", "extensions.json", "{\"addons\":{}}", 3, nullptr},
      {"odd elements", "extensions.json", "{\"addons\":[null,1,\"s\",{\"id\":5,\"icons\":[]}]}", 4,
       nullptr},
      {"not a database", "extensions.sqlite", "this is not a database at all, just text...", 3,
       "extensions.sqlite: "},
      // addons.json only names a database's add-ons: beside extensions.json it is not read.
      {"damaged names beside json", "addons.json", "{\"addons\":", 13, nullptr},
  };
  for (const auto& c : cases) {
    test::TestMachine machine{test::DemoOptions()};
    TFireFoxExtensions::DownloadIcons = false;
    const std::string profile = TFireFoxExtensions().ProfileDir;
    if (std::string(c.file) == "extensions.sqlite")
      os::Current().files().RemoveFile(profile + "extensions.json");
    machine.WriteFile(profile + c.file, c.text);
    TFireFoxExtensions ff;
    EXPECT_EQ(ff.GetCount(), c.count) << c.what;
    if (!c.error) {
      EXPECT_EQ(ff.LoadError, "") << c.what;
      TFireFoxExtensions::DownloadIcons = true;
      continue;
    }
    EXPECT_NE(ff.LoadError.find(profile + c.error), std::string::npos)
        << c.what << ": " << ff.LoadError;
    TBrowserExtensionInfo* plugin = FindById(ff, "@orvo-demo.example/PdfView");
    ASSERT_NE(plugin, nullptr) << c.what;
    const ChangeResult r = ff.DeleteItem(plugin);
    EXPECT_FALSE(r) << c.what;
    EXPECT_NE(r.message.find(ff.LoadError), std::string::npos) << c.what;
    EXPECT_EQ(FindById(ff, "@orvo-demo.example/PdfView"), plugin) << c.what;
    EXPECT_TRUE(
        machine.KeyExists(RegRoot::LocalMachine,
                          "SOFTWARE\\Wow6432Node\\MozillaPlugins\\@orvo-demo.example/PdfView"));
    TFireFoxExtensions::DownloadIcons = true;
  }
}

class FirefoxDatabase : public ::testing::Test {
 protected:
  void SetUp() override { TFireFoxExtensions::DownloadIcons = false; }
  void TearDown() override { TFireFoxExtensions::DownloadIcons = true; }
  std::string Db(const TBrowserAppBase& ff) {
    return os::Current().files().NativePath(ff.ProfileDir + "extensions.sqlite");
  }
  int64_t Flag(const TBrowserAppBase& ff, const std::string& column, const std::string& id) {
    TSQLiteDatabase db(Db(ff));
    auto t = db.OpenQuery("select " + column + " from addon where id=?", {id});
    return t->CellInteger(0);
  }
  test::MachineOptions Legacy() {
    test::MachineOptions o;
    o.image = std::string(ORVO_SOURCE_DIR) + "/fixtures/demo-legacy";
    return o;
  }
  test::TestMachine machine{Legacy()};
};

TEST_F(FirefoxDatabase, ReadsTheBrowsersOwnSchema) {
  TFireFoxExtensions ff;
  EXPECT_EQ(ff.Document, nullptr);
  ASSERT_EQ(ff.GetCount(), 4);
  // Names from addons.json for the first two, from their own locale rows for the others
  // (the locale rows are numbered differently from the add-ons).
  EXPECT_EQ(FindById(ff, kTabTidy)->Name, "Tab Tidy for Firefox");
  EXPECT_EQ(FindById(ff, kReader)->Name, "Reader Mode Plus");
  EXPECT_EQ(FindById(ff, kUebersetzer)->Name, "Übersetzer");
  EXPECT_EQ(FindById(ff, kUebersetzer)->Description, "Übersetzt markierten Text – schnell.");
  // Flags by column name: not userDisabled and active is the only way to be enabled.
  EXPECT_FALSE(FindById(ff, kTabTidy)->Disabled);
  EXPECT_TRUE(FindById(ff, kCookies)->Disabled);      // userDisabled 0, active 0
  EXPECT_TRUE(FindById(ff, kUebersetzer)->Disabled);  // userDisabled 1, active 1
  EXPECT_NE(FindById(ff, kTabTidy)->IconRef.find("-64.png"), std::string::npos);
  // The version and type columns (not read before: the version showed empty).
  EXPECT_EQ(FindById(ff, kTabTidy)->Version, "2.4.1");
  EXPECT_EQ(FindById(ff, kUebersetzer)->Version, "3.2");
  EXPECT_EQ(FindById(ff, kTabTidy)->TypeName, "extension");
  EXPECT_FALSE(FindById(ff, kTabTidy)->BrowserOwned);
}

TEST_F(FirefoxDatabase, SwitchingWritesBothFlagsForThatAddOnOnly) {
  TFireFoxExtensions ff;
  ASSERT_TRUE(ff.ToggleItem(FindById(ff, kTabTidy)));
  EXPECT_EQ(Flag(ff, "active", kTabTidy), 0);
  EXPECT_EQ(Flag(ff, "userDisabled", kTabTidy), 1);
  ASSERT_TRUE(ff.ToggleItem(FindById(ff, kCookies)));
  EXPECT_EQ(Flag(ff, "active", kCookies), 1);
  EXPECT_EQ(Flag(ff, "userDisabled", kCookies), 0);
  EXPECT_EQ(Flag(ff, "active", kReader), 1);
}

// An update that changes no row (the add-on went from the database meanwhile) fails and
// leaves the record as it was.
TEST_F(FirefoxDatabase, ASwitchThatChangesNoRowFails) {
  TFireFoxExtensions ff;
  {
    TSQLiteDatabase db(Db(ff));
    db.RunStatement("delete from addon where id=?", {std::string(kTabTidy)});
  }
  const ChangeResult r = ff.ToggleItem(FindById(ff, kTabTidy));
  EXPECT_FALSE(r);
  EXPECT_NE(r.message.find(kTabTidy), std::string::npos) << r.message;
  EXPECT_FALSE(FindById(ff, kTabTidy)->Disabled);
}

TEST_F(FirefoxDatabase, AnIdWithQuotesIsBoundNotPasted) {
  const std::string evil = "x\" or 1=1 or id=\"y'; drop table addon; --";
  {
    TSQLiteDatabase db(Db(TFireFoxExtensions()));
    db.RunStatement(
        "insert into addon (id, active, userDisabled, defaultLocale) values (?, 1, 0, 99)", {evil});
  }
  TFireFoxExtensions ff;
  ASSERT_NE(FindById(ff, evil), nullptr);
  ASSERT_TRUE(ff.ToggleItem(FindById(ff, evil)));
  EXPECT_EQ(Flag(ff, "active", evil), 0);
  EXPECT_EQ(Flag(ff, "active", kTabTidy), 1);  // nobody else switched
  ASSERT_TRUE(ff.DeleteItem(FindById(ff, evil)));
  EXPECT_EQ(TFireFoxExtensions().GetCount(), 4);
}

TEST_F(FirefoxDatabase, DeletingTakesTheRowAndItsOwnLocale) {
  TFireFoxExtensions ff;
  ASSERT_TRUE(ff.DeleteItem(FindById(ff, kReader)));
  TSQLiteDatabase db(Db(ff));
  EXPECT_EQ(db.OpenQuery("select count(*) from addon")->CellInteger(0), 3);
  EXPECT_EQ(
      db.OpenQuery("select count(*) from locale where name='Reader Mode Plus'")->CellInteger(0), 0);
  EXPECT_EQ(db.OpenQuery("select count(*) from locale")->CellInteger(0), 3);
  TFireFoxExtensions again;
  EXPECT_EQ(FindById(again, kUebersetzer)->Name, "Übersetzer");  // its locale is untouched
}

TEST_F(FirefoxDatabase, ADeleteTheDatabaseRefusesKeepsTheRecord) {
  TFireFoxExtensions ff;
  TBrowserExtensionInfo* tidy = FindById(ff, kTabTidy);
  {
    TSQLiteDatabase db(Db(ff));
    db.RunStatement("delete from addon where id=?", {std::string(kTabTidy)});
  }
  const ChangeResult r = ff.DeleteItem(tidy);
  EXPECT_FALSE(r);
  EXPECT_NE(r.message.find("Table is at End of File"), std::string::npos);
  EXPECT_EQ(FindById(ff, kTabTidy), tidy);
}

// A store that raises while it is read is noted in the failure log as well as in
// LoadError, once, and the catalogue is still made.
TEST(FirefoxBadInput, AStoreThatRaisesIsLogged) {
  test::TestMachine machine{test::DemoOptions()};
  TFireFoxExtensions::DownloadIcons = false;
  const std::string profile = TFireFoxExtensions().ProfileDir;
  os::Current().files().RemoveFile(profile + "extensions.json");
  machine.WriteFile(profile + "extensions.sqlite", "this is not a database at all, just text...");
  const test::FailureCapture log;
  TFireFoxExtensions ff;
  TFireFoxExtensions::DownloadIcons = true;
  EXPECT_NE(ff.LoadError.find(profile + "extensions.sqlite: "), std::string::npos) << ff.LoadError;
  const std::vector<std::string> lines = log.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("orvo: Firefox add-ons not read: " + profile + "extensions.sqlite: ", 0),
            0u)
      << lines[0];
}

TEST_F(FirefoxDatabase, ALockedDatabaseFailsWithinTheTimeOut) {
  TFireFoxExtensions ff;
  TSQLiteDatabase holder(Db(ff));
  holder.RunStatement("begin exclusive");
  const auto started = std::chrono::steady_clock::now();
  const ChangeResult r = ff.ToggleItem(FindById(ff, kTabTidy));
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_FALSE(r);
  EXPECT_NE(r.message.find("locked"), std::string::npos) << r.message;
  EXPECT_LT(took, std::chrono::seconds(3));
  EXPECT_FALSE(FindById(ff, kTabTidy)->Disabled);  // shows what is stored
  TFireFoxExtensions blocked;
  EXPECT_EQ(blocked.GetCount(), 0);  // the reading failed inside the guard
  EXPECT_NE(blocked.LoadError.find("extensions.sqlite: "), std::string::npos) << blocked.LoadError;
  EXPECT_NE(blocked.LoadError.find("locked"), std::string::npos) << blocked.LoadError;
  holder.RunStatement("rollback");
}

// With the add-ons read from the database, addons.json gives their names: a damaged one
// is a reason too.
TEST_F(FirefoxDatabase, ADamagedNamesFileIsAReason) {
  const std::string profile = TFireFoxExtensions().ProfileDir;
  machine.WriteFile(profile + "addons.json", "{\"addons\":[");
  TFireFoxExtensions ff;
  EXPECT_EQ(ff.GetCount(), 4);
  EXPECT_NE(ff.LoadError.find(profile + "addons.json: not valid JSON"), std::string::npos)
      << ff.LoadError;
  EXPECT_FALSE(ff.ToggleItem(FindById(ff, kTabTidy)));
  EXPECT_EQ(Flag(ff, "active", kTabTidy), 1);
}

TEST_F(FirefoxDatabase, ADatabaseWithoutTheFlagNamesUsesTheirPositions) {
  const std::string path = Db(TFireFoxExtensions());
  {
    TSQLiteDatabase db(path);
    db.RunStatement("drop table addon");
    db.RunStatement("drop table locale");
    std::string columns = "internal_id INTEGER PRIMARY KEY, id TEXT";
    for (int i = 2; i < 15; ++i) columns += ", c" + std::to_string(i) + " TEXT";
    columns += ", on_flag INTEGER, off_flag INTEGER, descriptor TEXT, iconurl TEXT";
    db.RunStatement("create table addon (" + columns + ")");
    db.RunStatement("create table locale (id INTEGER PRIMARY KEY, name TEXT, description TEXT)");
    db.RunStatement(
        "insert into addon (internal_id, id, on_flag, off_flag) values (1, 'a@x', 1, 0), (2, "
        "'b@x', 1, 1)");
    db.RunStatement("insert into locale values (1, 'Alpha', 'first'), (2, 'Beta', 'second')");
  }
  TFireFoxExtensions ff;
  ASSERT_EQ(ff.GetCount(), 2);
  EXPECT_EQ(FindById(ff, "a@x")->Name, "Alpha");
  EXPECT_FALSE(FindById(ff, "a@x")->Disabled);
  EXPECT_TRUE(FindById(ff, "b@x")->Disabled);
}

}  // namespace
}  // namespace orvo
