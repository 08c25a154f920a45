// The service process over its life: start-up refusals, the request log, clean stops on
// SIGTERM and SIGINT, and data that survives a restart and a SIGKILL.
#include <signal.h>

#include "service/service_fixture.h"

namespace orvo::service::test {
namespace {

class ServiceLife : public ServiceTest {};

TEST_F(ServiceLife, ReviewsVotesAndKeysSurviveARestart) {
  Start({.extra_args = {"--reviews-per-minute", "0"}});
  const std::string key = NewKey(), voter = NewKey();
  const int64_t plug = AddPlug(key, "kept");
  const int64_t review = AddReview(key, plug, 4, "Still%20here");
  ASSERT_GT(review, 0);
  ASSERT_EQ(
      Code("add_comment_ratings", "comment_id=" + std::to_string(review) + "&score=1&key=" + voter),
      8);

  Restart();
  const nlohmann::json page = Post(
      "get_comments", "plug_id=" + std::to_string(plug) + "&sort_type=0&start_id=0&key=" + key);
  ASSERT_EQ(MsgOf(page), 5);
  ASSERT_EQ(page["comment"].size(), 1u);
  EXPECT_EQ(page["comment"][0]["content"], "Still here");
  // The keys still stand for the same users: their earlier review and vote still count.
  EXPECT_EQ(Code("add_comment",
                 "plug_id=" + std::to_string(plug) + "&nickname=&content=&ver=&score=1&key=" + key),
            11);
  EXPECT_EQ(
      Code("add_comment_ratings", "comment_id=" + std::to_string(review) + "&score=0&key=" + voter),
      10);
  EXPECT_EQ(PostText("get_plugs_rating", "browser_id=1&plug_ids_json=%5B\"kept\"%5D&key=" + key),
            "msg=9\nkept=4.00,1\n");
}

TEST_F(ServiceLife, AcknowledgedReviewsSurviveSigkill) {
  Start({.extra_args = {"--reviews-per-minute", "0", "--keys-per-minute", "0"}});
  const std::string key = NewKey();
  const int64_t plug = AddPlug(key, "crash");
  std::vector<int64_t> stored;
  for (int i = 0; i < 20; ++i) stored.push_back(AddReview(NewKey(), plug, 1 + i % 5));
  Restart(SIGKILL);
  EXPECT_EQ(CountRows("SELECT count(*) FROM reviews"), 20);
  for (int64_t id : stored) EXPECT_EQ(ReviewCounts(id), (std::vector<int64_t>{0, 0, 0})) << id;
  const nlohmann::json info = Post("get_plug_info", "browser_id=1&plug_id=crash&key=" + key);
  EXPECT_EQ(info["ratings_cache"], nlohmann::json::parse(R"({"1":4,"2":4,"3":4,"4":4,"5":4})"));
}

TEST_F(ServiceLife, StopsCleanlyOnSigint) {
  Start();
  NewKey();
  EXPECT_EQ(service_.Stop(SIGINT), 0);
  const std::string log = service_.LogText();
  EXPECT_TRUE(log.ends_with("stopped\n")) << log;
}

TEST_F(ServiceLife, LogsOneLinePerRequest) {
  Start();
  const std::string key = NewKey();
  Code("get_plug_info", "browser_id=1&plug_id=x&key=" + key);
  Code("get_comments", "plug_id=1&sort_type=0&start_id=0&key=" + key);
  harness::RawExchange(port(), "GET /missing.html HTTP/1.0\r\n\r\n");
  ASSERT_EQ(service_.Stop(SIGTERM), 0);
  const std::string log = service_.LogText();
  const auto lines = std::count(log.begin(), log.end(), '\n');
  EXPECT_EQ(lines, 1 + 4 + 1) << log;  // "listening on", four requests, "stopped"
  EXPECT_NE(log.find(" POST /plugin/index.php?to=get_plug_info 200 msg=2 "), std::string::npos)
      << log;
  EXPECT_NE(log.find(" GET /missing.html 404 - "), std::string::npos) << log;
  EXPECT_EQ(log.find(key), std::string::npos);  // no keys or bodies in the log
}

TEST_F(ServiceLife, RefusesToStartWithoutItsResources) {
  struct Case {
    std::vector<std::string> args;
    std::string db;
  };
  const Case cases[] = {
      {{}, "/nonexistent-folder/rating.db"},
      {{"--site", "/nonexistent-site"}, ""},
      {{"--seed", "/nonexistent-seed.json"}, ""},
      {{"--port", "70000"}, ""},
      {{"--bogus", "1"}, ""},
  };
  for (const Case& c : cases) {
    harness::ServiceLaunch launch;
    launch.db_path = c.db.empty() ? temp_.File("refused.db") : c.db;
    launch.log_path = temp_.File("refused.log");
    launch.extra_args = c.args;
    harness::ServiceProcess process;
    std::string error;
    EXPECT_FALSE(process.Start(launch, &error)) << launch.db_path;
    EXPECT_NE(error.find("ended at start"), std::string::npos) << error;
  }
  // A port another service holds.
  Start();
  harness::ServiceLaunch second;
  second.db_path = temp_.File("second.db");
  second.log_path = temp_.File("second.log");
  second.port = port();
  harness::ServiceProcess process;
  std::string error;
  EXPECT_FALSE(process.Start(second, &error));
}

}  // namespace
}  // namespace orvo::service::test
