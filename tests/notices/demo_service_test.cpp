// The notices against the real rating service with its demo site, as ./run.sh --gui shows
// them: the news item and its newsletter, the update check, and the advert set.
#include <gtest/gtest.h>

#include "notices/ad_reader.h"
#include "notices/html_view.h"
#include "notices/news_check.h"
#include "notices/news_window.h"
#include "notices/notice_fixture.h"
#include "notices/update_check.h"
#include "platform/platform.h"
#include "service/harness/service_process.h"
#include "shell/site_pages.h"
#include "shell/version_text.h"
#include "ui/lum_message_box.h"

namespace orvo::test {
namespace {

class DemoServiceTest : public NoticeTest {
 protected:
  DemoServiceTest() {
    service::harness::ServiceLaunch launch;
    launch.db_path = folder_.path() + "/ratings.db";
    launch.log_path = folder_.path() + "/service.log";
    launch.site_dir = std::string(ORVO_SOURCE_DIR) + "/service/demo-site";
    std::string error;
    started_ = service_.Start(launch, &error);
    EXPECT_TRUE(started_) << error;
    SetSiteBaseUrl("http://127.0.0.1:" + std::to_string(service_.port()));
  }
  ~DemoServiceTest() override { service_.Stop(SIGTERM); }

  service::harness::TempFolder folder_;
  service::harness::ServiceProcess service_;
  bool started_ = false;
};

TEST_F(DemoServiceTest, TheNewsItemSlidesUpWithTheNewsletterOnce) {
  ASSERT_TRUE(started_);
  int32_t msgid = 0;
  StartNewsCheck(msgid);
  ASSERT_TRUE(PumpUntil([&] {
    const TFrmNews* news = ExistingNewsWindow();
    return news && news->State() == TFrmNews::Phase::kSliding && !news->wb1->PicturesPending();
  }));
  EXPECT_EQ(msgid, 1);
  TFrmNews& news = *ExistingNewsWindow();
  EXPECT_EQ(news.Width(), TFrmNews::kDefaultWidth);
  EXPECT_EQ(news.wb1->Document().title, "Orvo Plug-in Manager News");
  EXPECT_EQ(news.wb1->Pictures().size(), 2u);
  for (const auto& [address, picture] : news.wb1->Pictures())
    EXPECT_FALSE(picture.empty()) << address;
  // The same item again: nothing new.
  news.Close();
  StartNewsCheck(msgid);
  screen->Dispatcher()->RunUntil([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_FALSE(news.Shown());
}

TEST_F(DemoServiceTest, CheckForUpdatesSaysThisIsTheNewestVersion) {
  ASSERT_TRUE(started_);
  std::vector<int> boxes;
  screen->on_modal_idle = [&] {
    if (!module.msgdlg.Busy()) return false;
    boxes.push_back(module.msgdlg.SecondButtonRect().empty() ? 1 : 2);
    screen->PressKey(kVkEscape);
    return true;
  };
  StartUpdateCheck(false);
  ASSERT_TRUE(PumpUntil([] { return !UpdateCheckRunning(); }));
  screen->on_modal_idle = nullptr;
  EXPECT_EQ(boxes, std::vector<int>{1}) << "the demo site offers build " << ProgramBuild();
}

TEST_F(DemoServiceTest, TheAdvertSetsBannerIsShownAndKept) {
  ASSERT_TRUE(started_);
  AdReaderSettings settings;
  settings.version_text = "1.11.11";
  settings.language = "C:\\Program Files\\Orvo Plug-in Manager\\Languages\\English.ini";
  settings.folder = MakeFolder("UpdateInfo");
  settings.default_check_url = SitePage(kAdvertPath);
  const auto run = [&] {
    std::vector<std::string> shown;
    TOrvoADReader reader(settings, [&](const TagOrvoAdInfo& item) { shown.push_back(item.title); });
    reader.Start();
    EXPECT_TRUE(PumpUntil([&] { return !reader.Busy(); }));
    return shown;
  };
  EXPECT_EQ(run(), std::vector<std::string>{"Tab Tidy: tame your open tabs"});
  const auto kept = FilesIn(settings.folder);
  for (const char* name :
       {"UpdateInfo.txt", "tabtidy-banner.png", "nightowl-icon.png", "readermode-card.png"}) {
    EXPECT_NE(std::find(kept.begin(), kept.end(), name), kept.end()) << name;
  }
  // A client that holds the current version is told "unchanged" and uses its copy.
  machine.WriteFile(settings.folder + "Ad.txt", "{\"adver\":\"4\"}");
  EXPECT_EQ(run(), std::vector<std::string>{"Tab Tidy: tame your open tabs"});
}

}  // namespace
}  // namespace orvo::test
