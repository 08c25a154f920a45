#include "catalogue/json_writer.h"

#include <charconv>

#include "platform/text.h"

namespace orvo {
namespace {

constexpr char kHex[] = "0123456789abcdef";

void AppendUnit(std::string& out, uint32_t unit) {
  out += "\\u";
  out += kHex[(unit >> 12) & 15];
  out += kHex[(unit >> 8) & 15];
  out += kHex[(unit >> 4) & 15];
  out += kHex[unit & 15];
}

void Write(std::string& out, const Json& v) {
  switch (v.type()) {
    case Json::value_t::object: {
      out += '{';
      bool first = true;
      for (auto it = v.begin(); it != v.end(); ++it) {
        if (!first) out += ',';
        first = false;
        AppendJsonString(out, it.key());
        out += ':';
        Write(out, it.value());
      }
      out += '}';
      return;
    }
    case Json::value_t::array: {
      out += '[';
      bool first = true;
      for (const auto& e : v) {
        if (!first) out += ',';
        first = false;
        Write(out, e);
      }
      out += ']';
      return;
    }
    case Json::value_t::string: AppendJsonString(out, v.get_ref<const std::string&>()); return;
    case Json::value_t::boolean: out += v.get<bool>() ? "true" : "false"; return;
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned: {
      char buf[24];
      const auto r = v.is_number_unsigned()
                         ? std::to_chars(buf, buf + sizeof buf, v.get<uint64_t>())
                         : std::to_chars(buf, buf + sizeof buf, v.get<int64_t>());
      out.append(buf, r.ptr);
      return;
    }
    case Json::value_t::number_float:
      out += v.dump();  // shortest round-trip form, as the library prints it
      return;
    default: out += "null"; return;
  }
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view s) {
  out += '"';
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0x20 && c < 0x80) {
      switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '/': out += "\\/"; break;
        default: out += static_cast<char>(c);
      }
      ++i;
      continue;
    }
    switch (c) {
      case '\b':
        out += "\\b";
        ++i;
        continue;
      case '\t':
        out += "\\t";
        ++i;
        continue;
      case '\n':
        out += "\\n";
        ++i;
        continue;
      case '\f':
        out += "\\f";
        ++i;
        continue;
      case '\r':
        out += "\\r";
        ++i;
        continue;
      default: break;
    }
    const uint32_t cp = NextUtf8CodePoint(s, i);
    if (cp >= 0x10000) {
      AppendUnit(out, 0xD800 + ((cp - 0x10000) >> 10));
      AppendUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      AppendUnit(out, cp);
    }
  }
  out += '"';
}

std::string WriteCompactJson(const Json& value) {
  std::string out;
  Write(out, value);
  return out;
}

}  // namespace orvo
