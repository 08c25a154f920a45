#pragma once
// How orvopm prints add-on records: aligned text for people, JSON and CSV for scripts.
#include <cstdio>
#include <string>
#include <vector>

namespace orvo::cli {

struct RecordRow {
  std::string browser;        // chrome, ie, firefox, opera
  std::string profile;        // the profile's Name when the browser has several, else empty
  std::string profile_title;  // what the browser calls that profile
  int index = 0;              // position in the browser's list, for addressing as #N
  std::string kind;  // extension, theme, locale, dictionary, plugin, bho, toolbar, button, menu
  std::string id;
  std::string name;  // as the add-on list shows it
  std::string version;
  bool enabled = true;
  std::string path;
  bool browser_owned = false;  // part of the browser: never deleted
  std::string lock;            // why its switch cannot change it here
  std::string why_off;         // why the browser keeps it off, beyond the user's switch
  std::string entry_file;      // where the browser keeps its entry, when it says
  bool guarded = false;        // a checksum guards that entry: only the browser changes it
};

// A browser whose data could not be read: its records (the plug-ins) are listed, the
// reason goes with them.
struct BrowserError {
  std::string browser;
  std::string profile;
  std::string error;
};

enum class Format { kText, kJson, kCsv };

// JSON: an array of record objects ("profile" only where the browser has several); each
// browser error follows as an object with only "browser", "profile" and "error". Text and CSV carry
// the records only (the errors go to standard error). Text heads each browser's records with its
// word, and its profile when one is named, and ends a line with why the browser keeps an add-on
// off; CSV has the profile and that reason in its last columns.
void PrintRecords(FILE* out, const std::vector<RecordRow>& rows,
                  const std::vector<BrowserError>& errors, Format format);
std::string CsvField(const std::string& text);

}  // namespace orvo::cli
