#include "catalogue/json_document.h"

namespace orvo {
namespace {

// nlohmann/json parses without recursion, but some operations on a value (comparison,
// copying, our writer) recurse; a file of a hundred thousand '[' must not take the stack
// down with it.
constexpr size_t kMaxDepth = 512;

// Builds the document from the parser's events. Members and elements are gathered per
// level and moved into containers of exactly their size at the end of each object or
// array: the library's own builder grows every container by doubling, which left a heavy
// profile's document holding a quarter more memory than it uses.
class DocumentBuilder {
 public:
  using number_integer_t = Json::number_integer_t;
  using number_unsigned_t = Json::number_unsigned_t;
  using number_float_t = Json::number_float_t;
  using string_t = Json::string_t;
  using binary_t = Json::binary_t;

  bool null() { return Add(Json(nullptr)); }
  bool boolean(bool v) { return Add(Json(v)); }
  bool number_integer(number_integer_t v) { return Add(Json(v)); }
  bool number_unsigned(number_unsigned_t v) { return Add(Json(v)); }
  bool number_float(number_float_t v, const string_t&) { return Add(Json(v)); }
  // Copied, not moved: the parser's buffer carries the capacity of the longest text so far.
  bool string(string_t& v) { return Add(Json(v)); }
  bool binary(binary_t&) { return false; }  // JSON text has none
  bool start_object(size_t) { return Open(true); }
  bool start_array(size_t) { return Open(false); }
  bool key(string_t& k) {
    levels_[depth_ - 1].keys.push_back(k);
    return true;
  }

  bool end_object() {
    Level& level = levels_[depth_ - 1];
    Json object(Json::value_t::object);
    auto& members = object.get_ref<Json::object_t&>();
    members.reserve(level.values.size());
    for (size_t i = 0; i < level.values.size(); ++i) {
      // A repeated name keeps its first place and takes the last value.
      auto [it, added] = members.emplace(std::move(level.keys[i]), std::move(level.values[i]));
      if (!added) it->second = std::move(level.values[i]);
    }
    return Close(std::move(object));
  }

  bool end_array() {
    Level& level = levels_[depth_ - 1];
    Json array(Json::value_t::array);
    auto& elements = array.get_ref<Json::array_t&>();
    elements.reserve(level.values.size());
    for (auto& v : level.values) elements.push_back(std::move(v));
    return Close(std::move(array));
  }

  bool parse_error(size_t position, const std::string&, const nlohmann::detail::exception&) {
    if (why_.empty())
      why_ = "not valid JSON (it breaks off at byte " + std::to_string(position) + ")";
    return false;
  }

  // Why the text gave no document; empty while it is fine.
  const std::string& why() const { return why_; }

  Json& root() { return root_; }

 private:
  struct Level {
    std::vector<std::string> keys;
    std::vector<Json> values;
  };

  bool Open(bool) {
    if (depth_ >= kMaxDepth) {
      why_ = "nested more than " + std::to_string(kMaxDepth) + " levels deep";
      return false;
    }
    if (depth_ == levels_.size()) levels_.emplace_back();
    Level& level = levels_[depth_++];
    level.keys.clear();  // the storage is kept for the next container at this depth
    level.values.clear();
    return true;
  }

  bool Close(Json&& value) {
    --depth_;
    return Add(std::move(value));
  }

  bool Add(Json&& value) {
    if (depth_ == 0) {
      root_ = std::move(value);
    } else {
      levels_[depth_ - 1].values.push_back(std::move(value));
    }
    return true;
  }

  std::vector<Level> levels_;
  size_t depth_ = 0;
  Json root_;
  std::string why_;
};

std::string_view TrimJsonBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

}  // namespace

std::unique_ptr<JsonDocument> ParseJsonDocument(std::string_view text) {
  std::string why;
  return ParseJsonDocument(text, &why);
}

std::unique_ptr<JsonDocument> ParseJsonDocument(std::string_view text, std::string* why) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  why->clear();
  if (TrimJsonBlanks(text).empty()) {
    *why = "empty";
    return nullptr;
  }
  DocumentBuilder builder;
  if (!Json::sax_parse(text.begin(), text.end(), &builder)) {
    *why = builder.why().empty() ? "not valid JSON" : builder.why();
    return nullptr;
  }
  if (!builder.root().is_object()) {
    *why = "not a JSON object";
    return nullptr;
  }
  auto doc = std::make_unique<JsonDocument>();
  doc->value = std::move(builder.root());
  return doc;
}

const Json* Member(const Json& object, std::string_view name) {
  if (!object.is_object()) return nullptr;
  const auto it = object.find(name);
  return it == object.end() ? nullptr : &*it;
}

Json* Member(Json& object, std::string_view name) {
  if (!object.is_object()) return nullptr;
  const auto it = object.find(name);
  return it == object.end() ? nullptr : &*it;
}

const Json* ObjectMember(const Json& object, std::string_view name) {
  const Json* m = Member(object, name);
  return m && m->is_object() ? m : nullptr;
}

Json* ObjectMember(Json& object, std::string_view name) {
  Json* m = Member(object, name);
  return m && m->is_object() ? m : nullptr;
}

const Json* ArrayMember(const Json& object, std::string_view name) {
  const Json* m = Member(object, name);
  return m && m->is_array() ? m : nullptr;
}

Json* ArrayMember(Json& object, std::string_view name) {
  Json* m = Member(object, name);
  return m && m->is_array() ? m : nullptr;
}

std::string StringMember(const Json& object, std::string_view name) {
  const Json* m = Member(object, name);
  return m && m->is_string() ? m->get<std::string>() : std::string();
}

bool BoolMember(const Json& object, std::string_view name) {
  const Json* m = Member(object, name);
  if (!m) return false;
  if (m->is_boolean()) return m->get<bool>();
  if (m->is_number_integer()) return m->get<int64_t>() != 0;
  if (m->is_number_float()) return m->get<double>() != 0;
  return false;
}

std::optional<Json> MemberCopy(const Json& object, std::string_view name) {
  const Json* m = Member(object, name);
  return m ? std::optional<Json>(*m) : std::nullopt;
}

void RestoreMember(Json& object, std::string_view name, const std::optional<Json>& old) {
  if (old) {
    object[std::string(name)] = *old;
  } else if (object.is_object()) {
    object.erase(std::string(name));
  }
}

}  // namespace orvo
