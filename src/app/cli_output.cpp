#include "app/cli_output.h"

#include <algorithm>

#include "catalogue/json_writer.h"
#include "platform/text.h"

namespace orvo::cli {
namespace {

// Display width in characters, not bytes, so accented names keep the columns straight.
size_t Width(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

std::string Pad(const std::string& s, size_t width) {
  const size_t w = Width(s);
  return w >= width ? s : s + std::string(width - w, ' ');
}

}  // namespace

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

void PrintRecords(FILE* out, const std::vector<RecordRow>& rows,
                  const std::vector<BrowserError>& errors, Format format) {
  switch (format) {
    case Format::kJson: {
      std::string json = "[";
      for (size_t i = 0; i < rows.size(); ++i) {
        const RecordRow& r = rows[i];
        Json o = Json::object();
        o["browser"] = r.browser;
        if (!r.profile.empty()) o["profile"] = r.profile;
        o["index"] = r.index;
        o["kind"] = r.kind;
        o["id"] = r.id;
        o["name"] = r.name;
        o["version"] = r.version;
        o["enabled"] = r.enabled;
        o["path"] = r.path;
        o["builtIn"] = r.browser_owned;
        o["locked"] = r.lock.empty() ? Json() : Json(r.lock);
        if (!r.why_off.empty()) o["why_off"] = r.why_off;
        if (!r.entry_file.empty()) {
          o["entry_file"] = r.entry_file;
          o["guarded"] = r.guarded;
        }
        json += (i ? ",\n " : "\n ") + o.dump();
      }
      for (size_t i = 0; i < errors.size(); ++i) {
        Json o = {{"browser", errors[i].browser}};
        if (!errors[i].profile.empty()) o["profile"] = errors[i].profile;
        o["error"] = errors[i].error;
        json += (i || !rows.empty() ? ",\n " : "\n ") + o.dump();
      }
      json += rows.empty() && errors.empty() ? "]\n" : "\n]\n";
      std::fputs(json.c_str(), out);
      return;
    }
    case Format::kCsv:
      std::fputs("browser,index,kind,id,name,version,enabled,path,builtin,locked,profile,why_off\n",
                 out);
      for (const auto& r : rows) {
        std::fprintf(out, "%s,%d,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s\n", r.browser.c_str(), r.index,
                     r.kind.c_str(), CsvField(r.id).c_str(), CsvField(r.name).c_str(),
                     CsvField(r.version).c_str(), r.enabled ? "yes" : "no",
                     CsvField(r.path).c_str(), r.browser_owned ? "yes" : "no",
                     CsvField(r.lock).c_str(), CsvField(r.profile).c_str(),
                     CsvField(r.why_off).c_str());
      }
      return;
    case Format::kText: {
      size_t name_w = 4, kind_w = 4, id_w = 2, ver_w = 7;
      for (const auto& r : rows) {
        name_w = std::max(name_w, Width(r.name));
        kind_w = std::max(kind_w, Width(r.kind));
        id_w = std::max(id_w, Width(r.id));
        ver_w = std::max(ver_w, Width(r.version));
      }
      name_w = std::min<size_t>(name_w, 40);
      id_w = std::min<size_t>(id_w, 48);
      std::string last_browser;
      for (const auto& r : rows) {
        std::string heading = r.browser;
        if (!r.profile.empty()) heading += ", profile " + r.profile;
        if (!r.profile_title.empty() && r.profile_title != r.profile)
          heading += " (" + r.profile_title + ")";
        if (heading != last_browser) {
          std::fprintf(out, "%s%s\n", last_browser.empty() ? "" : "\n", heading.c_str());
          std::fprintf(out, "  %-4s %s %s %s %s %s\n", "#", Pad("kind", kind_w).c_str(), "on ",
                       Pad("name", name_w).c_str(), Pad("version", ver_w).c_str(), "id");
          last_browser = heading;
        }
        std::fprintf(out, "  %-4d %s %s %s %s %s%s\n", r.index, Pad(r.kind, kind_w).c_str(),
                     r.enabled ? "on " : "off", Pad(r.name, name_w).c_str(),
                     Pad(r.version, ver_w).c_str(), r.id.c_str(),
                     r.why_off.empty() ? "" : ("  (" + r.why_off + ")").c_str());
      }
      return;
    }
  }
}

}  // namespace orvo::cli
