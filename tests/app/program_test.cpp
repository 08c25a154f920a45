// The program as a user starts it, natively on the headless screen: the picture of its
// main window, the settings written when it ends, one instance per user (two processes),
// and the refusal without access to the browser registrations.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "graphics/image_codecs.h"
#include "service/harness/service_process.h"
#include "support/pixels.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// ASCII out of a UTF-16LE settings file (or the text itself).
std::string Plain(const std::string& bytes) {
  std::string out;
  for (char c : bytes) {
    if (c != '\0') out += c;
  }
  return out;
}

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() {
    root_ = fs::temp_directory_path() /
            ("orvopm-program-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "run");
    fs::permissions(root_ / "run", fs::perms::owner_all, fs::perm_options::replace);
    fs::copy(fs::path(ORVO_SOURCE_DIR) / "fixtures/demo", image(), fs::copy_options::recursive);
    // The instance record and the window sockets of these runs stay among themselves.
    ::setenv("XDG_RUNTIME_DIR", (root_ / "run").c_str(), 1);
  }
  ~ProgramTest() override {
    ::unsetenv("XDG_RUNTIME_DIR");
    fs::remove_all(root_);
  }

  fs::path image() const { return root_ / "image"; }
  fs::path Trace(const char* name) const { return root_ / name; }
  fs::path Settings() const {
    return image() / "C/Users/demo/AppData/Roaming/Orvo Plugin Manager/OrvoPM.ini";
  }

  // Starts the program; its standard error goes to <root>/<trace>.err.
  pid_t Start(const std::string& args, const char* trace) {
    const std::string command = "exec " + std::string(ORVO_PROGRAM) + " --image '" +
                                image().string() + "' --trace '" + Trace(trace).string() + "' " +
                                args + " 2>'" + Trace(trace).string() + ".err' </dev/null";
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    return pid;
  }
  static int Wait(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  // Waits until the trace holds the line (10 s at most).
  bool TraceShows(const char* trace, const std::string& line) {
    for (int i = 0; i < 200; ++i) {
      if (ReadText(Trace(trace)).find(line + "\n") != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  fs::path root_;
};

TEST_F(ProgramTest, PaintsItsMainWindowAndWritesTheSettingsWhenItEnds) {
  const fs::path png = root_ / "main.png";
  ASSERT_FALSE(fs::exists(Settings().parent_path()));
  EXPECT_EQ(Wait(Start("--png '" + png.string() + "' --size 900x560", "a")), 0)
      << ReadText(Trace("a").string() + ".err");
  const auto picture = ReadPngFile(png.string());
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width(), 900);
  EXPECT_EQ(picture->height(), 560);
  // A first start: the language detected from the user's interface language (0409), both
  // checks on, written when the main window went.
  const std::string settings = Plain(ReadText(Settings()));
  EXPECT_NE(settings.find("Language=English"), std::string::npos) << settings;
  EXPECT_NE(settings.find("CheckNews=1"), std::string::npos) << settings;
}

// A size is two whole numbers: one that wraps around 32 bits (2^32 + 900) or carries
// anything after it is refused with the usage text, not painted at some other size.
TEST_F(ProgramTest, RefusesASizeThatIsNoPairOfNumbers) {
  const fs::path png = root_ / "main.png";
  EXPECT_EQ(Wait(Start("--png '" + png.string() + "' --size 4294968196x560", "a")), 2);
  EXPECT_EQ(Wait(Start("--png '" + png.string() + "' --size 900x560px", "b")), 2);
  EXPECT_FALSE(fs::exists(png));
}

// --ratings: the ratings window of one add-on of the image, opened from the main window
// once the service at --service has answered; refusals for what the image lacks, and for
// a service that does not answer.
TEST_F(ProgramTest, PaintsTheRatingsWindowOfAnAddOn) {
  service::harness::TempFolder folder;
  service::harness::ServiceProcess service;
  const auto launch =
      service::harness::LaunchIn(folder, std::string(ORVO_SOURCE_DIR) + "/service/demo-seed.json");
  std::string error;
  ASSERT_TRUE(service.Start(launch, &error)) << error;
  const std::string url = "http://127.0.0.1:" + std::to_string(service.port());
  ::setenv("ORVO_RATING_SERVICE_URL", url.c_str(), 1);
  const fs::path png = root_ / "ratings.png";
  const std::string common = "--png '" + png.string() + "'";
  EXPECT_EQ(Wait(Start(common + " --ratings chrome:fblkdohiomlcbgpekccokebfafkgegcf", "a")), 0)
      << ReadText(Trace("a").string() + ".err");
  const auto picture = ReadPngFile(png.string());
  ASSERT_TRUE(picture);
  Bitmap32 shown;
  shown.SetSize(picture->width(), picture->height());
  for (int y = 0; y < picture->height(); ++y) {
    for (int x = 0; x < picture->width(); ++x) shown.SetPixel(x, y, picture->Pixel(x, y));
  }
  EXPECT_TRUE(MatchesGolden(shown, "orvopm_ratings_en"));

  fs::remove(png);
  EXPECT_EQ(Wait(Start(common + " --ratings chrome:no.such.addon", "b")), 5);
  EXPECT_EQ(Wait(Start(common + " --ratings netscape:x", "c")), 4);
  ::setenv("ORVO_RATING_SERVICE_URL", "http://127.0.0.1:9", 1);
  EXPECT_EQ(Wait(Start(common + " --ratings chrome::0", "d")), 1);
  // An add-on number that wraps around 32 bits to 0 names no add-on.
  EXPECT_EQ(Wait(Start(common + " --ratings chrome::4294967296", "e")), 5);
  ::unsetenv("ORVO_RATING_SERVICE_URL");
  EXPECT_FALSE(fs::exists(png));
  EXPECT_NE(ReadText(Trace("d").string() + ".err").find("could not be had"), std::string::npos);
  EXPECT_EQ(service.Stop(SIGTERM), 0);
}

TEST_F(ProgramTest, ASecondStartWakesTheFirstAndEnds) {
  const pid_t first = Start("", "first");
  ASSERT_TRUE(TraceShows("first", "shown")) << ReadText(Trace("first").string() + ".err");
  EXPECT_EQ(Wait(Start("", "second")), 0);
  EXPECT_EQ(ReadText(Trace("second")), "second instance\n");
  EXPECT_TRUE(TraceShows("first", "restore"));
  ::kill(first, SIGTERM);  // closes the main window, as the user would
  EXPECT_EQ(Wait(first), 0);
  EXPECT_TRUE(fs::exists(Settings()));
  // The first instance is gone: the next start is a first one again.
  const fs::path png = root_ / "again.png";
  EXPECT_EQ(Wait(Start("--png '" + png.string() + "'", "third")), 0);
  EXPECT_TRUE(TraceShows("third", "shown"));
}

TEST_F(ProgramTest, WithoutAccessToTheBrowserRegistrationsItSaysSoAndQuits) {
  std::ofstream(image() / "image.ini", std::ios::app)
      << "\r\n[AccessDenied]\r\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\StartMenuInternet=write\r\n";
  const fs::path png = root_ / "never.png";
  EXPECT_EQ(Wait(Start("--png '" + png.string() + "'", "denied")), 0);
  EXPECT_EQ(ReadText(Trace("denied")), "refused\n");
  EXPECT_NE(ReadText(Trace("denied").string() + ".err")
                .find("Orvo Plug-in Manager: You have no permission to access the browser "
                      "configuration information. Please contact the administrator."),
            std::string::npos);
  EXPECT_FALSE(fs::exists(png));  // the loop ended on its first message
}

TEST_F(ProgramTest, PaintsTheTabItIsAskedFor) {
  ::setenv("ORVO_RATING_SERVICE_URL", "http://127.0.0.1:1", 1);
  const fs::path png = root_ / "opera.png";
  EXPECT_EQ(Wait(Start("--png '" + png.string() + "' --tab opera", "tab")), 0)
      << ReadText(Trace("tab").string() + ".err");
  EXPECT_EQ(Wait(Start("--png '" + png.string() + "' --tab safari", "bad")), 2);
  ::unsetenv("ORVO_RATING_SERVICE_URL");
  const auto picture = ReadPngFile(png.string());
  ASSERT_TRUE(picture);
  // The fourth tab wears the selected slab (lighter than the side bar), the first not.
  const auto blue = [&](int y) { return picture->Pixel(168, y) & 0xFF; };
  EXPECT_GT(blue(3 * 50 + 27 + 25), blue(27 + 25) + 20);
}

TEST_F(ProgramTest, TheSmokeRunSwitchesDeletesAndSetsTheDefaultBrowser) {
  // The rating service with the demo reviews, for the ratings window's steps.
  service::harness::TempFolder folder;
  service::harness::ServiceProcess service;
  std::string error;
  ASSERT_TRUE(service.Start(
      service::harness::LaunchIn(folder, std::string(ORVO_SOURCE_DIR) + "/service/demo-seed.json"),
      &error))
      << error;
  ::setenv("ORVO_RATING_SERVICE_URL",
           ("http://127.0.0.1:" + std::to_string(service.port())).c_str(), 1);
  const fs::path chrome = image() / "C/Users/demo/AppData/Local/Google/Chrome/User Data/Default";
  const std::string before = ReadText(chrome / "Preferences");
  const int code = Wait(Start("--smoke -", "smoke"));
  ::unsetenv("ORVO_RATING_SERVICE_URL");
  ASSERT_EQ(code, 0) << ReadText(Trace("smoke").string() + ".err");
  // The second row (Color Picker Pro) was switched off, the third (Focus Timer) deleted,
  // and Firefox became the default browser.
  const std::string after = ReadText(chrome / "Preferences");
  EXPECT_NE(after, before);
  EXPECT_NE(
      after.find("\"anihaiknkjpemibakigcfnienhfpllen\",\"oopjaeeehcadmkbplahcjkdnfdfelmao\"]"),
      std::string::npos);
  EXPECT_FALSE(fs::exists(chrome / "Extensions/jncomfdhcfpipkdaadmddodcbbfkgkbb"));
  EXPECT_TRUE(fs::exists(chrome / "Extensions/oopjaeeehcadmkbplahcjkdnfdfelmao"));
  const std::string registry = Plain(ReadText(image() / "registry.reg"));
  EXPECT_NE(registry.find("\"Progid\"=\"FirefoxURL\""), std::string::npos);
  // The review posted in the ratings window was stored.
  EXPECT_EQ(service.Stop(SIGTERM), 0);
  EXPECT_NE(service.LogText().find("to=add_comment 200 msg=4"), std::string::npos);
}

// --site: the notices from the demo site of the local service. The main window's picture
// waits for the advert (the banner's gold button on the advert area), the news window's
// for its newsletter; the item is remembered and the advert kept in the user's folder.
TEST_F(ProgramTest, PaintsTheAdvertAndTheNewsWindowFromTheSite) {
  service::harness::TempFolder folder;
  service::harness::ServiceProcess service;
  auto launch = service::harness::LaunchIn(folder);
  launch.site_dir = std::string(ORVO_SOURCE_DIR) + "/service/demo-site";
  std::string error;
  ASSERT_TRUE(service.Start(launch, &error)) << error;
  const std::string url = "http://127.0.0.1:" + std::to_string(service.port());
  ::setenv("ORVO_RATING_SERVICE_URL", url.c_str(), 1);
  const fs::path main_png = root_ / "main.png";
  const fs::path news_png = root_ / "news.png";
  const int code = Wait(Start(
      "--site " + url + " --png '" + main_png.string() + "' --news-png '" + news_png.string() + "'",
      "n"));
  ::unsetenv("ORVO_RATING_SERVICE_URL");
  ASSERT_EQ(code, 0) << ReadText(Trace("n").string() + ".err");

  const auto main = ReadPngFile(main_png.string());
  ASSERT_TRUE(main);
  const uint32_t gold = main->Pixel(5 + 40, 376 + 80);
  EXPECT_GT((gold >> 16) & 0xFF, 200u);
  EXPECT_GT((gold >> 8) & 0xFF, 120u);
  EXPECT_LT(gold & 0xFF, 110u);

  const auto news = ReadPngFile(news_png.string());
  ASSERT_TRUE(news);
  EXPECT_EQ(news->width(), 492);
  EXPECT_EQ(news->height(), 266);
  const uint32_t caption = news->Pixel(150, 12);  // the navy caption band
  EXPECT_GT(caption & 0xFF, 40u);
  EXPECT_GT(caption & 0xFF, (caption >> 16) & 0xFF);

  EXPECT_NE(Plain(ReadText(Settings())).find("MSGID=1"), std::string::npos);
  const fs::path adverts = image() / "C/Users/demo/AppData/Roaming/UpdateInfo";
  EXPECT_TRUE(fs::exists(adverts / "UpdateInfo.txt"));
  EXPECT_TRUE(fs::exists(adverts / "tabtidy-banner.png"));
  EXPECT_EQ(service.Stop(SIGTERM), 0);
}

}  // namespace
}  // namespace orvo::test
