#pragma once
// A stand-in for the rating service where the real one cannot run (the Windows tests
// under Wine): the same actions, fields, replies and result codes, kept in memory, for
// the cases the client tests use. Forms are read by splitting at "&" and "=" and
// decoding %XX, which is enough for the values those tests send.
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace orvo::test {

class ServiceDouble {
 public:
  struct Reply {
    int status = 200;
    std::string body;
  };
  // One action (the "to" query) with its form body.
  Reply Handle(std::string_view action, std::string_view body);

 private:
  struct Plug {
    int64_t id = 0;
    int stars[5] = {};
  };
  struct Review {
    int64_t id = 0;
    int64_t plug = 0;
    std::string key, nickname, content;
    int score = 0;
  };
  std::string PlugReply(int code, const Plug& plug) const;
  const Plug* FindById(int64_t id) const;

  std::mutex mutex_;
  int64_t keys_granted_ = 0;
  std::set<std::string> keys_;
  std::map<std::pair<int, std::string>, Plug> plugs_;  // by browser id and add-on id
  std::vector<Review> reviews_;
  std::set<std::tuple<std::string, int64_t, bool>> marks_;  // key, review, is report
};

}  // namespace orvo::test
