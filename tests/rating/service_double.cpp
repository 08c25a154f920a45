// The in-memory stand-in for the rating service; see service_double.h.
#include "rating/service_double.h"

#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

namespace orvo::test {
namespace {

using Fields = std::map<std::string, std::string>;

std::string Decode(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out +=
          static_cast<char>(std::strtol(std::string(text.substr(i + 1, 2)).c_str(), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

Fields ReadForm(std::string_view body) {
  Fields fields;
  while (!body.empty()) {
    const size_t amp = body.find('&');
    const std::string_view pair = body.substr(0, amp);
    body = amp == std::string_view::npos ? std::string_view() : body.substr(amp + 1);
    const size_t eq = pair.find('=');
    if (eq == std::string_view::npos) continue;
    fields.emplace(std::string(pair.substr(0, eq)), Decode(pair.substr(eq + 1)));
  }
  return fields;
}

std::string Get(const Fields& fields, const std::string& name) {
  const auto found = fields.find(name);
  return found == fields.end() ? std::string() : found->second;
}

// A whole decimal number, or -1.
int64_t Number(const Fields& fields, const std::string& name) {
  const std::string text = Get(fields, name);
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::atoll(text.c_str());
}

std::string Code(int code) { return nlohmann::json{{"msg", code}}.dump(); }

}  // namespace

std::string ServiceDouble::PlugReply(int code, const Plug& plug) const {
  nlohmann::json cache = nlohmann::json::object();
  int count = 0, sum = 0;
  for (int s = 1; s <= 5; ++s) {
    cache[std::to_string(s)] = plug.stars[s - 1];
    count += plug.stars[s - 1];
    sum += s * plug.stars[s - 1];
  }
  const double average = count == 0 ? 0 : static_cast<int>(sum * 100.0 / count + 0.5) / 100.0;
  return nlohmann::json{{"msg", code},
                        {"id", std::to_string(plug.id)},
                        {"ratings_cache", cache},
                        {"ratings_average", average}}
      .dump();
}

const ServiceDouble::Plug* ServiceDouble::FindById(int64_t id) const {
  for (const auto& [key, plug] : plugs_) {
    if (plug.id == id) return &plug;
  }
  return nullptr;
}

ServiceDouble::Reply ServiceDouble::Handle(std::string_view action, std::string_view body) {
  std::lock_guard lock(mutex_);
  const Fields form = ReadForm(body);
  if (action == "get_captcha") {
    char key[40];
    std::snprintf(key, sizeof key, "%032llx",
                  static_cast<unsigned long long>(++keys_granted_ * 7919));
    keys_.insert(key);
    return {200, nlohmann::json{{"msg", 13}, {"key", key}}.dump()};
  }
  const std::string key = Get(form, "key");
  if (!keys_.contains(key)) return {200, action == "get_plugs_rating" ? "msg=0\n" : Code(0)};
  const int browser = static_cast<int>(Number(form, "browser_id"));
  if (action == "get_plugs_rating") {
    const auto ids = nlohmann::json::parse(Get(form, "plug_ids_json"), nullptr, false);
    if (!ids.is_array()) return {200, "msg=0\n"};
    std::string text = "msg=9\n";
    for (const auto& id : ids) {
      if (!id.is_string()) continue;
      const auto found = plugs_.find({browser, id.get<std::string>()});
      if (found == plugs_.end()) continue;
      const auto reply = nlohmann::json::parse(PlugReply(1, found->second));
      int count = 0;
      for (int s : found->second.stars) count += s;
      char line[64];
      std::snprintf(line, sizeof line, "=%.2f,%d\n", reply["ratings_average"].get<double>(), count);
      text += id.get<std::string>() + line;
    }
    return {200, text};
  }
  if (action == "get_plug_info" || action == "add_plug") {
    const std::string plug_id = Get(form, "plug_id");
    if (plug_id.empty()) return {200, Code(0)};
    auto found = plugs_.find({browser, plug_id});
    if (found == plugs_.end()) {
      if (action == "get_plug_info") return {200, Code(2)};
      found = plugs_
                  .emplace(std::make_pair(browser, plug_id),
                           Plug{static_cast<int64_t>(plugs_.size()) + 1})
                  .first;
    }
    return {200, PlugReply(1, found->second)};
  }
  if (action == "get_comments") {
    const int64_t plug = Number(form, "plug_id");
    const int64_t start = form.contains("start_id") ? Number(form, "start_id") : 0;
    if (plug < 1 || start < 0) return {200, Code(0)};
    nlohmann::json list = nlohmann::json::array();
    int64_t listed = 0, skipped = 0;
    bool more = false;
    for (auto it = reviews_.rbegin(); it != reviews_.rend(); ++it) {
      if (it->plug != plug) continue;
      if (skipped++ < start) continue;
      if (listed == 10) {
        more = true;
        break;
      }
      ++listed;
      list.push_back({{"content", it->content},
                      {"score", it->score},
                      {"date", "2024-03-01"},
                      {"nickname", it->nickname},
                      {"id", it->id}});
    }
    return {200, nlohmann::json{{"msg", more ? 6 : 5}, {"comment", list}}.dump()};
  }
  if (action == "add_comment") {
    const int64_t plug_id = Number(form, "plug_id");
    const int64_t score = Number(form, "score");
    auto* plug = const_cast<Plug*>(FindById(plug_id));
    if (plug == nullptr || score < 1 || score > 5) return {200, Code(3)};
    for (const Review& r : reviews_) {
      if (r.plug == plug_id && r.key == key) return {200, Code(11)};
    }
    const int64_t id = static_cast<int64_t>(reviews_.size()) + 1;
    reviews_.push_back(
        {id, plug_id, key, Get(form, "nickname"), Get(form, "content"), static_cast<int>(score)});
    ++plug->stars[score - 1];
    return {200, nlohmann::json{{"msg", 4}, {"c_id", id}}.dump()};
  }
  if (action == "add_comment_ratings") {
    const int64_t review = Number(form, "comment_id");
    const int64_t score = Number(form, "score");
    if (review < 1 || review > static_cast<int64_t>(reviews_.size()) || score < 0 || score > 2) {
      return {200, Code(0)};
    }
    const bool report = score == 2;
    if (!marks_.insert({key, review, report}).second) return {200, Code(report ? 12 : 10)};
    return {200, Code(report ? 7 : 8)};
  }
  return {404, Code(0)};
}

}  // namespace orvo::test
