// The service process fixture; see service_fixture.h.
#include "service/service_fixture.h"

#include <signal.h>
#include <sqlite3.h>

namespace orvo::service::test {

int MsgOf(const nlohmann::json& reply) {
  if (!reply.is_object() || !reply.contains("msg") || !reply["msg"].is_number()) return -1;
  return reply["msg"].get<int>();
}

void ServiceTest::TearDown() {
  if (!service_.running()) return;
  EXPECT_EQ(service_.Stop(SIGTERM), 0) << service_.LogText();
}

void ServiceTest::Start(const ServiceSetup& setup) {
  setup_ = setup;
  ASSERT_FALSE(temp_.path().empty());
  harness::ServiceLaunch launch;
  launch.db_path = temp_.File("rating.db");
  launch.log_path = temp_.File("service.log");
  if (setup.site) launch.site_dir = std::string(ORVO_SERVICE_SOURCE_DIR) + "/demo-site";
  if (setup.seed) launch.seed_path = std::string(ORVO_SERVICE_SOURCE_DIR) + "/demo-seed.json";
  launch.extra_args = setup.extra_args;
  std::string error;
  ASSERT_TRUE(service_.Start(launch, &error)) << error;
}

void ServiceTest::Restart(int signal_number) {
  const int code = service_.Stop(signal_number);
  if (signal_number == SIGTERM) {
    ASSERT_EQ(code, 0) << service_.LogText();
  }
  Start(setup_);
}

harness::RawReply ServiceTest::PostRaw(std::string_view action, std::string_view body) {
  return harness::RawPost(port(), harness::ActionPath(action), body);
}

std::string ServiceTest::PostText(std::string_view action, std::string_view body) {
  const harness::RawReply reply = PostRaw(action, body);
  return reply.ok && reply.status == 200 ? reply.body : std::string();
}

nlohmann::json ServiceTest::Post(std::string_view action, std::string_view body) {
  return nlohmann::json::parse(PostText(action, body), nullptr, false);
}

int ServiceTest::Code(std::string_view action, std::string_view body) {
  return MsgOf(Post(action, body));
}

int64_t ServiceTest::CountRows(const std::string& sql) {
  sqlite3* db = nullptr;
  int64_t count = -1;
  if (sqlite3_open_v2(temp_.File("rating.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr) ==
      SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW) {
      count = sqlite3_column_int64(st, 0);
    }
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return count;
}

std::vector<int64_t> ServiceTest::ReviewCounts(int64_t review_id) {
  const std::string where = " FROM reviews WHERE id = " + std::to_string(review_id);
  return {CountRows("SELECT likes" + where), CountRows("SELECT dislikes" + where),
          CountRows("SELECT reports" + where)};
}

std::string ServiceTest::NewKey() {
  const nlohmann::json reply = Post("get_captcha", "");
  EXPECT_EQ(MsgOf(reply), 13) << reply.dump();
  return reply.is_object() ? reply.value("key", "") : "";
}

int64_t ServiceTest::AddPlug(const std::string& key, std::string_view plug_id, int browser_id) {
  const nlohmann::json reply =
      Post("add_plug", "browser_id=" + std::to_string(browser_id) +
                           "&name=Test%20add-on&introduction=For%20tests&plug_id=" +
                           std::string(plug_id) + "&key=" + key);
  EXPECT_EQ(MsgOf(reply), 1) << reply.dump();
  if (MsgOf(reply) != 1) return 0;
  return std::stoll(reply.value("id", "0"));
}

int64_t ServiceTest::AddReview(const std::string& key, int64_t plug_id, int score,
                               std::string_view content) {
  const nlohmann::json reply =
      Post("add_comment", "plug_id=" + std::to_string(plug_id) +
                              "&nickname=Tester&content=" + std::string(content) +
                              "&ver=1.0&score=" + std::to_string(score) + "&key=" + key);
  if (MsgOf(reply) != 4) return 0;
  return reply.value("c_id", int64_t{0});
}

}  // namespace orvo::service::test
