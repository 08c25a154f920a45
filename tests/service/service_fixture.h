#pragma once
// A test fixture that runs orvo-rating-service in a temporary folder of its own and talks
// to it the way the program does (HTTP/1.0 form posts, one connection each). TearDown
// stops it with SIGTERM and expects a clean exit, which also catches sanitizer reports.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "service/harness/raw_http.h"
#include "service/harness/service_process.h"

namespace orvo::service::test {

struct ServiceSetup {
  std::vector<std::string> extra_args;
  bool site = false;  // serve service/demo-site
  bool seed = false;  // seed from service/demo-seed.json
};

// "msg" of a parsed reply, -1 when it is no object or has none.
int MsgOf(const nlohmann::json& reply);

class ServiceTest : public ::testing::Test {
 protected:
  void TearDown() override;

  void Start(const ServiceSetup& setup = {});
  // Stops with the signal and starts again on the same database and log.
  void Restart(int signal_number = SIGTERM);
  int port() const { return service_.port(); }

  // The reply body of an action; an empty string when the request failed.
  std::string PostText(std::string_view action, std::string_view body);
  harness::RawReply PostRaw(std::string_view action, std::string_view body);
  // The reply parsed as JSON (discarded when it is not JSON).
  nlohmann::json Post(std::string_view action, std::string_view body);
  // The "msg" of the reply, -1 when there is none.
  int Code(std::string_view action, std::string_view body);
  // likes, dislikes, reports of a review, read from the database file.
  std::vector<int64_t> ReviewCounts(int64_t review_id);
  int64_t CountRows(const std::string& sql);

  std::string NewKey();
  // Registers an add-on of browser 1 and returns its service id.
  int64_t AddPlug(const std::string& key, std::string_view plug_id, int browser_id = 1);
  // Posts a review and returns its c_id (0 when it was not stored).
  int64_t AddReview(const std::string& key, int64_t plug_id, int score,
                    std::string_view content = "Fine");

  harness::TempFolder temp_;
  harness::ServiceProcess service_;
  ServiceSetup setup_;
};

}  // namespace orvo::service::test
