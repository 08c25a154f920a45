// The service against what a hostile or broken client sends: request headers far over
// 16 KB and malformed percent-encoding in every field. Each request gets a status or a
// code, and the service keeps serving.
#include "service/service_fixture.h"

namespace orvo::service::test {
namespace {

class ServiceAbuse : public ServiceTest {
 protected:
  void SetUp() override {
    Start({.extra_args = {"--reviews-per-minute", "0", "--keys-per-minute", "0"}});
    key_ = NewKey();
    plug_ = AddPlug(key_, "abuse");
  }
  std::string key_;
  int64_t plug_ = 0;
};

TEST_F(ServiceAbuse, HugeHeadersAreRefusedAndTheServiceServesOn) {
  const std::string header = "X-Filler: " + std::string(20 * 1024, 'h') + "\r\n";
  std::string many;
  for (int i = 0; i < 400; ++i)
    many += "X-H" + std::to_string(i) + ": " + std::string(60, 'v') + "\r\n";
  for (const std::string& headers : {header, many}) {
    const std::string reply =
        harness::RawExchange(port(),
                             "POST /plugin/index.php?to=get_captcha HTTP/1.0\r\n" + headers +
                                 "Content-Length: 0\r\n\r\n",
                             3000, true);
    // Either a refusal status or a closed connection, never a served request.
    if (!reply.empty()) {
      EXPECT_EQ(reply.rfind("HTTP/1.", 0), 0u) << reply.substr(0, 80);
      EXPECT_EQ(reply.find(" 200 "), std::string::npos) << reply.substr(0, 80);
    }
  }
  EXPECT_EQ(NewKey().size(), 32u);
}

TEST_F(ServiceAbuse, MalformedPercentEncodingGetsACodeInEveryField) {
  const std::string broken[] = {"%", "%4", "%zz", "%%41", "%C3%28", "%ED%A0%80", "%00", "%FF%FE"};
  for (const std::string& bad : broken) {
    const int code =
        Code("add_comment", "plug_id=" + std::to_string(plug_) + "&nickname=" + bad +
                                "&content=" + bad + "&ver=" + bad + "&score=4&key=" + NewKey());
    EXPECT_GE(code, 0) << bad;
    EXPECT_GE(Code("get_plug_info", "browser_id=1&plug_id=" + bad + "&key=" + key_), -1) << bad;
    EXPECT_GE(Code("add_plug", "browser_id=" + bad + "&plug_id=x&name=" + bad + "&key=" + key_), 0)
        << bad;
  }
  EXPECT_EQ(NewKey().size(), 32u);
}

}  // namespace
}  // namespace orvo::service::test
