// The update check against a server on loopback: what it offers for which builds, one
// check at a time, the download page (web pages only), and the temporary file.
#include <gtest/gtest.h>

#include <algorithm>

#include "net/temp_names.h"
#include "notices/notice_fixture.h"
#include "notices/update_check.h"
#include "platform/platform.h"
#include "ui/lum_message_box.h"

namespace orvo::test {
namespace {

using namespace std::chrono_literals;

class UpdateCheckTest : public NoticeTest {
 protected:
  // The boxes the check showed: 2 for Yes and No ("NewVer"), 1 for OK ("NoNewVer").
  // Each is answered with Enter (Yes, the focused button) when `accept`, else Esc. Yes
  // opens the download page, so only the sandbox (which records it) is told Yes.
  std::vector<int> Run(const std::string& description, uint16_t own_build, bool silent) {
    return Run(description, own_build, silent, machine.sandbox());
  }
  std::vector<int> Run(const std::string& description, uint16_t own_build, bool silent,
                       bool accept) {
    server.Serve("/update/xobverinfo.htm", description);
    std::vector<int> boxes;
    screen->on_modal_idle = [&] {
      TLumMessageBox& box = module.msgdlg;
      if (!box.Busy()) return false;
      boxes.push_back(box.SecondButtonRect().empty() ? 1 : 2);
      screen->PressKey(accept ? kVkReturn : kVkEscape);
      return true;
    };
    EXPECT_TRUE(StartUpdateCheckFrom(server.Url("/update/xobverinfo.htm"), own_build, silent));
    EXPECT_TRUE(PumpUntil([] { return !UpdateCheckRunning(); }));
    screen->on_modal_idle = nullptr;
    return boxes;
  }
};

const char kNewer[] = "[VerInfo]\r\nbuild=1205\r\nNewGetUrl=https://orvo.example/get/1205.html\r\n";

TEST_F(UpdateCheckTest, ANewerBuildIsOfferedAndYesOpensTheDownloadPage) {
  EXPECT_EQ(Run(kNewer, 1204, true), std::vector<int>{2});
  if (auto urls = OpenedUrls()) {
    EXPECT_EQ(*urls, std::vector<std::string>{"https://orvo.example/get/1205.html"});
  }
}

TEST_F(UpdateCheckTest, NoAnswerOpensNothing) {
  EXPECT_EQ(Run(kNewer, 1204, false, false), std::vector<int>{2});
  if (auto urls = OpenedUrls()) {
    EXPECT_TRUE(urls->empty());
  }
}

TEST_F(UpdateCheckTest, TheSameOrAnOlderBuildOrNoneIsNotOffered) {
  struct Case {
    const char* description;
    uint16_t own;
  };
  const Case cases[] = {
      {"[VerInfo]\r\nbuild=1204\r\n", 1204},
      {"[VerInfo]\r\nbuild=1203\r\n", 1204},
      {"[VerInfo]\r\nNewGetUrl=https://orvo.example/x\r\n", 1204},  // no build: the own one
      {"[verinfo]\r\nBUILD=12o5\r\n", 1204},                        // not a number
      {"", 1204},                                                   // nothing downloaded
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    EXPECT_TRUE(Run(c.description, c.own, true).empty()) << "silent: nothing is said";
    EXPECT_EQ(Run(c.description, c.own, false), std::vector<int>{1}) << "asked: NoNewVer";
  }
  // Names without regard to case, as the system's INI reader reads them.
  EXPECT_EQ(Run("[verinfo]\r\nBUILD=1300\r\n", 1204, true), std::vector<int>{2});
}

TEST_F(UpdateCheckTest, AnUnreachableSiteSaysNoNewVersionOnlyWhenAsked) {
  const std::string url = "http://127.0.0.1:1/update/xobverinfo.htm";
  int boxes = 0;
  screen->on_modal_idle = [&] {
    if (!module.msgdlg.Busy()) return false;
    ++boxes;
    screen->PressKey(kVkEscape);
    return true;
  };
  ASSERT_TRUE(StartUpdateCheckFrom(url, 1204, true));
  ASSERT_TRUE(PumpUntil([] { return !UpdateCheckRunning(); }));
  EXPECT_EQ(boxes, 0);
  ASSERT_TRUE(StartUpdateCheckFrom(url, 1204, false));
  ASSERT_TRUE(PumpUntil([] { return !UpdateCheckRunning(); }));
  EXPECT_EQ(boxes, 1);
  screen->on_modal_idle = nullptr;
}

TEST_F(UpdateCheckTest, ASecondCheckWhileOneRunsDoesNothing) {
  server.ServeLate("/update/xobverinfo.htm", 400ms, "[VerInfo]\r\nbuild=1204\r\n");
  ASSERT_TRUE(StartUpdateCheckFrom(server.Url("/update/xobverinfo.htm"), 1204, true));
  EXPECT_TRUE(UpdateCheckRunning());
  EXPECT_FALSE(StartUpdateCheckFrom(server.Url("/update/xobverinfo.htm"), 1204, true));
  StartUpdateCheck(false);  // the program's own entry point is refused as well
  ASSERT_TRUE(PumpUntil([] { return !UpdateCheckRunning(); }));
  EXPECT_EQ(server.Count("/update/xobverinfo.htm"), 1u);
  // Once it has answered, the next one may start.
  server.Serve("/update/xobverinfo.htm", "[VerInfo]\r\nbuild=1204\r\n");
  EXPECT_TRUE(StartUpdateCheckFrom(server.Url("/update/xobverinfo.htm"), 1204, true));
  ASSERT_TRUE(PumpUntil([] { return !UpdateCheckRunning(); }));
}

TEST_F(UpdateCheckTest, OnlyWebPagesAreOpenedFromTheDescription) {
  if (!machine.sandbox()) GTEST_SKIP() << "the shell would really open them";
  for (const char* target : {"file:///C:/Windows/System32/calc.exe", "C:\\Windows\\notepad.exe",
                             "\\\\server\\share\\setup.exe", "javascript:alert(1)", "ms-settings:",
                             "http://orvo.example/a \"b", "mailto:sales@orvo.example"}) {
    SCOPED_TRACE(target);
    EXPECT_EQ(
        Run(std::string("[VerInfo]\r\nbuild=1300\r\nNewGetUrl=") + target + "\r\n", 1204, true),
        std::vector<int>{2});
  }
  EXPECT_TRUE(OpenedUrls()->empty());
  Run("[VerInfo]\r\nbuild=1300\r\n", 1204, true);  // the site's default download page
  EXPECT_EQ(*OpenedUrls(), std::vector<std::string>{server.Url("/download.html")});
}

TEST_F(UpdateCheckTest, TheTemporaryFileIsReadThenRemoved) {
  server.Serve("/update/xobverinfo.htm",
               "[VerInfo]\r\nbuild=1204\r\n[NewInfo]\r\nfaster=1\r\nsafer=1\r\n");
  std::string temp_file;
  std::vector<std::string> new_info;
  bool ended = false;
  auto check = std::make_unique<TCheckUpdate>(server.Url("/update/xobverinfo.htm"), 1000);
  check->OnComplete = [&](TCheckUpdate&, const std::string& file,
                          const std::vector<std::string>& info, const std::string&, int32_t build) {
    temp_file = file;
    new_info = info;
    EXPECT_EQ(build, 1204);
    ended = true;
  };
  TWorkerThread::Start(std::move(check));
  ASSERT_TRUE(PumpUntil([&] { return ended; }));
  const std::string folder = GetTempDir();
  ASSERT_EQ(temp_file.rfind(folder, 0), 0u) << temp_file;
  const std::string name = temp_file.substr(folder.size());
  EXPECT_EQ(name.size(), 12u);
  EXPECT_TRUE(
      std::all_of(name.begin(), name.begin() + 8, [](char c) { return c >= 'a' && c <= 'z'; }));
  EXPECT_EQ(name.substr(8), ".ini");
  EXPECT_EQ(os::Current().files().GetAttributes(temp_file), os::kInvalidFileAttributes);
  EXPECT_EQ(new_info, (std::vector<std::string>{"faster", "safer"}));
}

TEST_F(UpdateCheckTest, TheStartCallbackRunsOnTheUiThreadBeforeTheDownload) {
  server.Serve("/update/xobverinfo.htm", "[VerInfo]\r\nbuild=1\r\n");
  size_t requests_at_start = 99;
  bool on_ui = false, ended = false;
  auto check = std::make_unique<TCheckUpdate>(server.Url("/update/xobverinfo.htm"), 1);
  check->OnStart = [&](TCheckUpdate&) {
    on_ui = screen->Dispatcher()->IsUiThread();
    requests_at_start = server.Count("/update/xobverinfo.htm");
  };
  check->OnComplete = [&](TCheckUpdate&, const std::string&, const std::vector<std::string>&,
                          const std::string&, int32_t) { ended = true; };
  TWorkerThread::Start(std::move(check));
  ASSERT_TRUE(PumpUntil([&] { return ended; }));
  EXPECT_TRUE(on_ui);
  EXPECT_EQ(requests_at_start, 0u);
}

TEST_F(UpdateCheckTest, ADescriptionOverOneMegabyteIsADownloadThatFailed) {
  std::string big = "[VerInfo]\r\nbuild=1300\r\n;" + std::string((1u << 20), 'x') + "\r\n";
  EXPECT_TRUE(Run(big, 1204, true).empty());
}

// A temporary folder path that still holds an unexpanded variable gives way to "c:\".
class PercentTempTest : public NoticeTest {
 protected:
  PercentTempTest()
      : NoticeTest(
            MachineOptions{.extra_ini = "\r\n[Environment]\r\nTMP=C:\\%NOSUCHVAR%\\Temp\r\n"}) {}
};

TEST_F(PercentTempTest, TheDescriptionGoesToTheDriveRoot) {
  if (!machine.sandbox()) GTEST_SKIP() << "the environment of the sandbox image";
  ASSERT_NE(GetTempDir().find('%'), std::string::npos) << GetTempDir();
  server.Serve("/update/xobverinfo.htm", "[VerInfo]\r\nbuild=1300\r\n");
  std::string temp_file;
  int32_t build = 0;
  bool ended = false;
  auto check = std::make_unique<TCheckUpdate>(server.Url("/update/xobverinfo.htm"), 1000);
  check->OnComplete = [&](TCheckUpdate&, const std::string& file, const std::vector<std::string>&,
                          const std::string&, int32_t b) {
    temp_file = file;
    build = b;
    ended = true;
  };
  TWorkerThread::Start(std::move(check));
  ASSERT_TRUE(PumpUntil([&] { return ended; }));
  EXPECT_EQ(temp_file.rfind("c:\\", 0), 0u) << temp_file;
  EXPECT_EQ(build, 1300);
}

}  // namespace
}  // namespace orvo::test
