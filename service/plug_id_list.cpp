// plug_ids_json reading; see plug_id_list.h.
#include "plug_id_list.h"

#include <nlohmann/json.hpp>

#include "platform/text.h"

namespace orvo::service {
namespace {

std::optional<std::vector<std::string>> ReadAsBuilt(std::string_view text) {
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') return std::nullopt;
  std::string_view inner = text.substr(1, text.size() - 2);
  std::vector<std::string> ids;
  if (inner.empty()) return ids;
  if (inner.size() < 2 || inner.front() != '"' || inner.back() != '"') return std::nullopt;
  inner = inner.substr(1, inner.size() - 2);
  constexpr std::string_view kSeparator = "\",\"";
  while (true) {
    const size_t cut = inner.find(kSeparator);
    ids.emplace_back(inner.substr(0, cut));
    if (cut == std::string_view::npos) break;
    inner.remove_prefix(cut + kSeparator.size());
  }
  return ids;
}

// Collects the strings directly inside the top-level array without building a document:
// this runs for every average-ratings request, with hundreds of ids each.
class IdCollector : public nlohmann::json_sax<nlohmann::json> {
 public:
  explicit IdCollector(std::vector<std::string>& ids) : ids_(ids) {}
  bool null() override { return Scalar(); }
  bool boolean(bool) override { return Scalar(); }
  bool number_integer(number_integer_t) override { return Scalar(); }
  bool number_unsigned(number_unsigned_t) override { return Scalar(); }
  bool number_float(number_float_t, const string_t&) override { return Scalar(); }
  bool string(string_t& value) override {
    if (depth_ == 1) ids_.push_back(std::move(value));
    return Scalar();
  }
  bool binary(binary_t&) override { return Scalar(); }
  bool start_object(std::size_t) override { return Open(false); }
  bool key(string_t&) override { return true; }
  bool end_object() override { return Close(); }
  bool start_array(std::size_t) override { return Open(true); }
  bool end_array() override { return Close(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
    return false;
  }
  bool top_is_array() const { return top_is_array_; }

 private:
  bool Scalar() { return depth_ > 0; }  // a bare scalar is not a list
  bool Open(bool array) {
    if (depth_ == 0) top_is_array_ = array;
    ++depth_;
    return true;
  }
  bool Close() {
    --depth_;
    return true;
  }
  std::vector<std::string>& ids_;
  int depth_ = 0;
  bool top_is_array_ = false;
};

bool IsJsonBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The array as the program writes it, with no escapes and no blanks inside strings to
// decode, read in one pass. Measured: the JSON library's character-wise lexer was the
// largest single cost of the average-ratings action. Anything else (an escape, a control
// character, a non-string member) is left to the full parser.
std::optional<std::vector<std::string>> ReadPlainStringArray(std::string_view text) {
  size_t i = 0;
  auto skip_blanks = [&] {
    while (i < text.size() && IsJsonBlank(text[i])) ++i;
  };
  if (text.empty() || text[0] != '[') return std::nullopt;
  ++i;
  std::vector<std::string> ids;
  skip_blanks();
  if (i < text.size() && text[i] == ']')
    return i + 1 == text.size() ? std::optional(ids) : std::nullopt;
  while (i < text.size()) {
    if (text[i] != '"') return std::nullopt;
    const size_t start = ++i;
    while (i < text.size() && text[i] != '"') {
      if (text[i] == '\\' || static_cast<unsigned char>(text[i]) < 0x20) return std::nullopt;
      ++i;
    }
    if (i >= text.size()) return std::nullopt;
    ids.emplace_back(text.substr(start, i - start));
    ++i;
    skip_blanks();
    if (i < text.size() && text[i] == ']')
      return i + 1 == text.size() ? std::optional(ids) : std::nullopt;
    if (i >= text.size() || text[i] != ',') return std::nullopt;
    ++i;
    skip_blanks();
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::string>> ReadPlugIdList(std::string_view text) {
  text = TrimView(text);
  if (auto plain = ReadPlainStringArray(text)) return plain;
  std::vector<std::string> ids;
  IdCollector collector(ids);
  if (!nlohmann::json::sax_parse(text, &collector)) {
    // A top-level scalar or an object is no list; only a broken array is read as built.
    if (text.starts_with('[')) return ReadAsBuilt(text);
    return std::nullopt;
  }
  if (!collector.top_is_array()) return std::nullopt;
  return ids;
}

}  // namespace orvo::service
