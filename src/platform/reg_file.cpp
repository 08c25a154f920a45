// regedit file codec. The grammar, as regedit and Wine's reg.exe read it:
//
//   header          "REGEDIT4" | "Windows Registry Editor Version 5.00"
//   [ROOT\path]     open (create) a key        [-ROOT\path]  delete it with its subtree
//   "name"=...      a value; @=... the default value
//     "text"        REG_SZ, with \\ and \" escaped
//     dword:1a2b    REG_DWORD, up to eight hex digits
//     hex:01,02     REG_BINARY; hex(n): type n; a line ending in "\" continues
//     -             delete the value
//   ; comment
#include "platform/reg_file.h"

#include <cstdio>

#include "platform/text.h"

namespace orvo::os {
namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";

// Reads a quoted string starting at s[0] == '"'; returns the position after the closing
// quote, or npos when it is not closed.
size_t ReadQuoted(std::string_view s, std::string* out) {
  out->clear();
  for (size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '\\' && i + 1 < s.size()) {
      const char n = s[i + 1];
      if (n == '\\' || n == '"') {
        *out += n;
        ++i;
        continue;
      }
      if (n == 'n') {  // Wine writes embedded line feeds this way
        *out += '\n';
        ++i;
        continue;
      }
      *out += c;
      continue;
    }
    if (c == '"') return i + 1;
    *out += c;
  }
  return std::string_view::npos;
}

bool ParseHexBytes(std::string_view s, std::vector<uint8_t>* out) {
  out->clear();
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == ',')) ++i;
    if (i >= s.size()) break;
    const int hi = HexDigitValue(s[i]);
    const int lo = i + 1 < s.size() ? HexDigitValue(s[i + 1]) : -1;
    if (hi < 0 || lo < 0) return false;
    out->push_back(static_cast<uint8_t>(hi * 16 + lo));
    i += 2;
    if (i < s.size() && s[i] != ',' && s[i] != ' ' && s[i] != '\t') return false;
  }
  return true;
}

// The file as UTF-8 text and its form, or false when it has no regedit header.
bool DecodeFile(std::string_view bytes, std::string* text, RegFileFormat* format) {
  if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF &&
      static_cast<uint8_t>(bytes[1]) == 0xFE) {
    *text = Utf16LeBytesToUtf8(reinterpret_cast<const uint8_t*>(bytes.data()) + 2, bytes.size() - 2,
                               false);
    *format = RegFileFormat::kVersion5Utf16;
  } else {
    bool bom = false;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
      bytes.remove_prefix(3);
      bom = true;
    }
    // Bytes that are not UTF-8 are read as Windows-1252 whatever the BOM promised, so a
    // file always decodes one way and saves back to what it was read as.
    const bool utf8 = IsValidUtf8(bytes);
    const std::string_view head = TrimView(bytes.substr(0, 64));
    if (head.substr(0, kHeader4.size()) == kHeader4) {
      *text = bom && utf8 ? std::string(bytes) : Cp1252ToUtf8(bytes);
      *format = RegFileFormat::kRegedit4;
    } else {
      *text = utf8 ? std::string(bytes) : Cp1252ToUtf8(bytes);
      *format = RegFileFormat::kVersion5Utf8;
    }
  }
  const std::string_view head = TrimView(std::string_view(*text).substr(0, 64));
  return head.substr(0, kHeader4.size()) == kHeader4 || head.substr(0, kHeader5.size()) == kHeader5;
}

std::vector<uint8_t> AnsiToUtf16Bytes(const std::vector<uint8_t>& ansi) {
  const std::string utf8 =
      Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(ansi.data()), ansi.size()));
  const std::string bytes = Utf8ToUtf16LeBytes(utf8, false);
  return {bytes.begin(), bytes.end()};
}

class Parser {
 public:
  Parser(RegHive* hive, RegFileParse* result) : hive_(hive), result_(result) {}

  void Line(size_t number, std::string_view line) {
    number_ = number;
    const std::string_view t = TrimView(line);
    if (t.empty() || t.front() == ';' || t.front() == '#') return;
    if (t.front() == '[') return KeyLine(t);
    if (t.front() == '"' || t.front() == '@') return ValueLine(t);
    Warn("not a key or value line");
  }

 private:
  void Warn(const std::string& what) {
    result_->warnings.push_back("line " + std::to_string(number_) + ": " + what);
  }

  void KeyLine(std::string_view t) {
    key_ = nullptr;
    const size_t close = t.rfind(']');
    if (close == std::string_view::npos) return Warn("key line without ']'");
    std::string_view path = t.substr(1, close - 1);
    bool remove = false;
    if (!path.empty() && path.front() == '-') {
      remove = true;
      path.remove_prefix(1);
    }
    const size_t slash = path.find('\\');
    const auto root = ParseRegRoot(path.substr(0, slash), true);
    if (!root) return Warn("unknown registry root");
    const std::string_view rest = slash == std::string_view::npos ? "" : path.substr(slash + 1);
    const auto where = RegHive::Locate(*root, rest);
    if (remove) {
      hive_->Delete(where);
      return;
    }
    key_ = hive_->Create(where);
  }

  void ValueLine(std::string_view t) {
    std::string name;
    size_t pos = 0;
    if (t.front() == '@') {
      pos = 1;
    } else {
      pos = ReadQuoted(t, &name);
      if (pos == std::string_view::npos) return Warn("value name without closing quote");
    }
    while (pos < t.size() && (t[pos] == ' ' || t[pos] == '\t')) ++pos;
    if (pos >= t.size() || t[pos] != '=') return Warn("value without '='");
    std::string_view data = TrimView(t.substr(pos + 1));
    if (!key_) return Warn("value outside a key");

    if (data == "-") {
      key_->RemoveValue(name);
      return;
    }
    RegValue value;
    if (!data.empty() && data.front() == '"') {
      std::string text;
      const size_t end = ReadQuoted(data, &text);
      if (end == std::string_view::npos) return Warn("string value without closing quote");
      if (!TrimView(data.substr(end)).empty()) return Warn("text after a string value");
      value.type = kRegSz;
      value.data = RegStringData(text);
    } else if (StartsWithNoCase(data, "dword:")) {
      const std::string_view digits = data.substr(6);
      if (digits.empty() || digits.size() > 8) return Warn("bad dword");
      uint32_t v = 0;
      for (char c : digits) {
        const int d = HexDigitValue(c);
        if (d < 0) return Warn("bad dword");
        v = v * 16 + static_cast<uint32_t>(d);
      }
      value.type = kRegDword;
      value.data = RegDwordData(v);
    } else if (StartsWithNoCase(data, "hex")) {
      std::string_view rest = data.substr(3);
      uint32_t type = kRegBinary;
      if (!rest.empty() && rest.front() == '(') {
        const size_t close = rest.find(')');
        if (close == std::string_view::npos || close < 2 || close > 9) return Warn("bad hex type");
        type = 0;
        for (char c : rest.substr(1, close - 1)) {
          const int d = HexDigitValue(c);
          if (d < 0) return Warn("bad hex type");
          type = type * 16 + static_cast<uint32_t>(d);
        }
        rest = rest.substr(close + 1);
      }
      if (rest.empty() || rest.front() != ':') return Warn("bad hex value");
      if (!ParseHexBytes(rest.substr(1), &value.data)) return Warn("bad hex bytes");
      value.type = type;
      if (result_->format == RegFileFormat::kRegedit4 &&
          (type == kRegExpandSz || type == kRegMultiSz)) {
        value.data = AnsiToUtf16Bytes(value.data);
      }
    } else {
      return Warn("unknown value form");
    }
    key_->SetValue(name, std::move(value));
  }

  RegHive* hive_;
  RegFileParse* result_;
  RegHive::Key* key_ = nullptr;
  size_t number_ = 0;
};

// ---- writer ---------------------------------------------------------------------------

bool IsPlainString(const RegValue& v, bool ansi) {
  if (v.type != kRegSz || v.data.size() < 2 || v.data.size() % 2 != 0) return false;
  const size_t units = v.data.size() / 2;
  for (size_t i = 0; i < units; ++i) {
    const uint16_t u = static_cast<uint16_t>(v.data[2 * i] | (v.data[2 * i + 1] << 8));
    const bool last = i + 1 == units;
    if (last != (u == 0)) return false;
    if (!last && u < 0x20) return false;
  }
  if (ansi) {
    bool lossless = true;
    Utf8ToCp1252(Utf16LeBytesToUtf8(v.data.data(), v.data.size(), true), &lossless);
    return lossless;
  }
  return true;
}

bool Utf16FitsAnsi(const std::vector<uint8_t>& data) {
  // An odd last byte is no UTF-16 unit: ANSI text has no way to keep it.
  if (data.size() % 2 != 0) return false;
  bool lossless = true;
  Utf8ToCp1252(Utf16LeBytesToUtf8(data.data(), data.size(), false), &lossless);
  return lossless;
}

bool HiveFitsAnsi(const RegHive::Key& key) {
  if (!Utf16FitsAnsi(RegStringData(key.name))) return false;
  for (const auto& [name, v] : key.values) {
    if (!Utf16FitsAnsi(RegStringData(name))) return false;
    if ((v.type == kRegSz || v.type == kRegExpandSz || v.type == kRegMultiSz) &&
        !Utf16FitsAnsi(v.data)) {
      return false;
    }
  }
  for (const auto& sub : key.subkeys) {
    if (!HiveFitsAnsi(*sub)) return false;
  }
  return true;
}

// Quoted text as the reader takes it back: a line feed (a value name may hold one; string
// data with one is written as hex) as Wine writes it, since a raw one would end the line.
std::string Escape(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

void WriteHex(std::string& out, size_t prefix_len, const std::vector<uint8_t>& bytes) {
  size_t col = prefix_len;
  char buf[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    // NOLINTNEXTLINE(cert-err33-c): the buffer holds the longest text of the format
    std::snprintf(buf, sizeof buf, "%02x", bytes[i]);
    out += buf;
    col += 2;
    if (i + 1 < bytes.size()) {
      out += ',';
      ++col;
      if (col > 76) {
        out += "\\\r\n  ";
        col = 2;
      }
    }
  }
}

void WriteValue(std::string& out, const std::string& name, const RegValue& v, bool ansi) {
  const std::string lead = name.empty() ? "@=" : "\"" + Escape(name) + "\"=";
  out += lead;
  if (IsPlainString(v, ansi)) {
    out += "\"" + Escape(Utf16LeBytesToUtf8(v.data.data(), v.data.size(), true)) + "\"";
  } else if (v.type == kRegDword && v.data.size() == 4) {
    char buf[16];
    const uint32_t d =
        v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) | (static_cast<uint32_t>(v.data[3]) << 24);
    // NOLINTNEXTLINE(cert-err33-c): the buffer holds the longest text of the format
    std::snprintf(buf, sizeof buf, "dword:%08x", d);
    out += buf;
  } else {
    std::vector<uint8_t> bytes = v.data;
    if (ansi && (v.type == kRegExpandSz || v.type == kRegMultiSz)) {
      const std::string a = Utf8ToCp1252(Utf16LeBytesToUtf8(v.data.data(), v.data.size(), false));
      bytes.assign(a.begin(), a.end());
    }
    std::string head;
    if (v.type == kRegBinary) {
      head = "hex:";
    } else {
      char buf[24];
      // NOLINTNEXTLINE(cert-err33-c): the buffer holds the longest text of the format
      std::snprintf(buf, sizeof buf, "hex(%x):", v.type);
      head = buf;
    }
    out += head;
    WriteHex(out, lead.size() + head.size(), bytes);
  }
  out += "\r\n";
}

void WriteKey(std::string& out, const std::string& path, const RegHive::Key& key, bool ansi) {
  if (!key.values.empty() || key.subkeys.empty()) {
    out += "[" + path + "]\r\n";
    for (const auto& [name, v] : key.values) WriteValue(out, name, v, ansi);
    out += "\r\n";
  }
  for (const auto& sub : key.subkeys) WriteKey(out, path + "\\" + sub->name, *sub, ansi);
}

}  // namespace

RegFileParse ParseRegFile(std::string_view bytes, RegHive* hive) {
  RegFileParse result;
  std::string text;
  if (!DecodeFile(bytes, &text, &result.format)) {
    result.error = "not a registry file (it must start with \"" + std::string(kHeader5) +
                   "\" or \"" + std::string(kHeader4) + "\")";
    return result;
  }
  result.ok = true;
  Parser parser(hive, &result);
  std::string_view rest = text;
  size_t number = 0;
  bool header_seen = false;
  std::string joined;
  size_t joined_start = 0;
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!header_seen) {
      if (!TrimView(line).empty()) header_seen = true;
      continue;
    }
    // Continuation lines of hex data.
    std::string_view t = line;
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    const bool continues =
        !t.empty() && t.back() == '\\' && (joined.empty() ? ContainsNoCase(line, "=hex") : true);
    if (joined.empty()) joined_start = number;
    if (continues) {
      joined += TrimView(t.substr(0, t.size() - 1));
      if (!rest.empty()) continue;
    } else {
      joined += joined.empty() ? line : TrimView(line);
    }
    parser.Line(joined_start, joined);
    joined.clear();
  }
  return result;
}

std::string WriteRegFile(const RegHive& hive, RegFileFormat format, RegFileFormat* used) {
  bool ansi = format == RegFileFormat::kRegedit4;
  if (ansi) {
    for (const auto& [root, name] : RegHive::Roots()) {
      if (!HiveFitsAnsi(hive.RootKey(root))) ansi = false;
    }
    if (!ansi) format = RegFileFormat::kVersion5Utf16;
  }
  if (used) *used = format;
  std::string out(ansi ? kHeader4 : kHeader5);
  out += "\r\n\r\n";
  for (const auto& [root, name] : RegHive::Roots()) {
    const RegHive::Key& top = hive.RootKey(root);
    if (!top.values.empty()) {
      out += "[" + std::string(name) + "]\r\n";
      for (const auto& [vn, v] : top.values) WriteValue(out, vn, v, ansi);
      out += "\r\n";
    }
    for (const auto& sub : top.subkeys)
      WriteKey(out, std::string(name) + "\\" + sub->name, *sub, ansi);
  }
  switch (format) {
    case RegFileFormat::kRegedit4: return Utf8ToCp1252(out);
    case RegFileFormat::kVersion5Utf8: return out;
    case RegFileFormat::kVersion5Utf16: return "\xFF\xFE" + Utf8ToUtf16LeBytes(out, false);
  }
  return out;
}

}  // namespace orvo::os
