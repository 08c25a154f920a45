// The notices tests' machine.
#include "notices/notice_fixture.h"

#include <sstream>

#include "net/temp_names.h"
#include "notices/news_window.h"
#include "platform/platform.h"
#include "shell/site_pages.h"

namespace orvo::test {

NoticeTest::NoticeTest(const MachineOptions& options) : machine(options) {
  // Every Windows profile has its temporary folder; a fresh sandbox image does not.
  os::Current().files().CreateFolders(GetTempDir());
  SetSiteBaseUrl(server.Url(""));
}

NoticeTest::~NoticeTest() { FreeNewsWindow(); }

bool NoticeTest::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  return screen->Dispatcher()->RunUntil(done, limit);
}

std::optional<std::vector<std::string>> NoticeTest::OpenedUrls() {
  if (!machine.sandbox()) return std::nullopt;
  std::vector<std::string> lines;
  std::istringstream in(ReadHostFile(machine.image_folder() + "/opened-urls.txt"));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> NoticeTest::FilesIn(const std::string& folder) {
  std::vector<os::FolderEntry> entries;
  std::vector<std::string> names;
  if (os::Current().files().ListFolder(folder, &entries)) {
    for (const auto& e : entries) names.push_back(e.name);
  }
  return names;
}

std::string NoticeTest::MakeFolder(const std::string& name) {
  const std::string folder = machine.folder() + "\\" + name + "\\";
  os::Current().files().CreateFolders(folder);
  return folder;
}

}  // namespace orvo::test
