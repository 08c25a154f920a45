// The request thread's chain: the step callback is called first with an empty URL and
// then after every request, the key goes last into every request, the creator's fields
// only into the first, a failed request makes the next one a GET, and the thread frees
// itself after reporting its end on the UI thread.
#include <gtest/gtest.h>

#include "rating/chain_fixture.h"
#include "rating/rate_thread.h"

namespace orvo {
namespace {

using test::ChainTest;

struct StepCall {
  bool ok;
  std::string url;
  std::string reply;
};

TEST_F(ChainTest, AThreadWithoutAStepEndsAtOnce) {
  bool on_ui = false;
  auto thread = std::make_unique<TRateThread>(session_);
  auto ended = std::make_shared<bool>(false);
  thread->OnTerminate = [&, ended](TRateThread&) {
    on_ui = ui_.dispatcher().IsUiThread();
    *ended = true;
  };
  TWorkerThread::Start(std::move(thread));
  Wait(ended);
  EXPECT_TRUE(on_ui);
  EXPECT_TRUE(service_.Exchanges().empty());
}

TEST_F(ChainTest, StepsBuildEachRequestAndReadItsReply) {
  std::vector<StepCall> calls;
  const auto token = std::make_shared<int>(0);
  TRateStepEvent step = [&calls, token, this](TRateThread& sender, bool& ok, TRateFields& fields,
                                              std::string& url) {
    calls.push_back({ok, url, sender.Reply()});
    switch (calls.size()) {
      case 1:
        EXPECT_EQ(fields, (TRateFields{"comment_id=1", "score=1"}));
        url = session_->ActionUrl("add_comment_ratings");
        return true;
      case 2:
        EXPECT_TRUE(fields.empty()) << "the fields went with the request";
        fields = {"plug_id=1", "sort_type=0"};
        url = session_->ActionUrl("get_comments");
        return true;
      default: return false;
    }
  };
  Wait(StartRateThread(std::move(step), {"comment_id=1", "score=1"}, 7, session_));

  ASSERT_EQ(calls.size(), 3u);
  EXPECT_TRUE(calls[0].ok);
  EXPECT_EQ(calls[0].url, "");
  EXPECT_EQ(calls[0].reply, "");
  EXPECT_EQ(calls[1].url, session_->ActionUrl("add_comment_ratings"));
  EXPECT_EQ(calls[2].url, session_->ActionUrl("get_comments"));
  const auto exchanges = service_.Exchanges();
  ASSERT_EQ(exchanges.size(), 3u);  // the key first
  EXPECT_EQ(exchanges[0].action, "get_captcha");
  EXPECT_EQ(exchanges[1].body, "comment_id=1&score=1" + KeyField());
  EXPECT_EQ(exchanges[2].body, "plug_id=1&sort_type=0" + KeyField());
  for (size_t i = 1; i < 3; ++i) {
    EXPECT_EQ(exchanges[i].method, "POST");
    EXPECT_EQ(exchanges[i].version, "HTTP/1.0");
    EXPECT_TRUE(calls[i].ok);
    EXPECT_EQ(calls[i].reply, exchanges[i].reply) << "each reply call sees its own reply";
  }
  EXPECT_EQ(token.use_count(), 1) << "the thread and its step are gone";
}

TEST_F(ChainTest, AfterAFailedRequestTheNextOneIsAGet) {
  service_.ScriptNext("get_plug_info", R"({"msg":1})", 500);
  std::vector<StepCall> calls;
  TRateStepEvent step = [&](TRateThread& sender, bool& ok, TRateFields& fields, std::string& url) {
    calls.push_back({ok, url, sender.Reply()});
    if (calls.size() == 3) return false;
    fields = {"browser_id=1", "plug_id=x"};
    url = session_->ActionUrl(calls.size() == 1 ? "get_plug_info" : "get_comments");
    return true;
  };
  Wait(StartRateThread(std::move(step), {}, 0, session_));

  ASSERT_EQ(calls.size(), 3u);
  EXPECT_FALSE(calls[1].ok);
  EXPECT_TRUE(calls[2].ok);
  const auto exchanges = service_.Exchanges();
  ASSERT_EQ(exchanges.size(), 3u);
  EXPECT_EQ(exchanges[1].method, "POST");
  EXPECT_EQ(exchanges[2].action, "get_comments");
  EXPECT_EQ(exchanges[2].method, "GET");
  EXPECT_EQ(exchanges[2].version, "HTTP/1.1");
  EXPECT_EQ(exchanges[2].body, "");
  EXPECT_EQ(calls[2].reply, R"({"msg":0})") << "a GET is answered like an empty form";
}

}  // namespace
}  // namespace orvo
