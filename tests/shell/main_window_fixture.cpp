// The main window's test machine and its rating service stand-in.
#include "shell/main_window_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "catalogue/system_values.h"
#include "platform/platform.h"
#include "rating/rate_session.h"
#include "shell/app_config.h"
#include "shell/language.h"
#include "shell/message_form.h"
#include "ui/events.h"

namespace orvo::test {
namespace {

constexpr char kFirefoxProfile[] = "Mozilla\\Firefox\\Profiles\\k3x9q2lm.default\\";

MachineOptions Options(const std::string& extra_ini, bool demo, const std::string& image) {
  MachineOptions o;
  if (demo) o.image = image.empty() ? DemoImage() : image;
  o.extra_ini = extra_ini;
  return o;
}

// The value of a form field in a url-encoded body (as the client sends it: unescaped).
std::string Field(const std::string& body, const std::string& name) {
  std::string value;
  std::istringstream in(body);
  for (std::string part; std::getline(in, part, '&');) {
    if (part.rfind(name + "=", 0) == 0) value = part.substr(name.size() + 1);
  }
  return value;
}

std::string HostFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

RatingStandIn::RatingStandIn() {
  server_.AnswerWith("/plugin/index.php", [this](const RecordedRequest& r) { return Answer(r); });
  const std::filesystem::path icons =
      std::filesystem::path(ORVO_SOURCE_DIR) / "service/demo-site/icons";
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(icons, ec)) {
    const std::string path = "/icons/" + entry.path().filename().string();
    server_.Serve(path, HostFile(entry.path()), 200, "image/png");
    icons_.insert(path);
  }
}

RatingStandIn::~RatingStandIn() {
  std::lock_guard lock(mutex_);
  closing_ = true;
  released_.notify_all();
}

void RatingStandIn::SetRating(const std::string& id, const std::string& value) {
  std::lock_guard lock(mutex_);
  ratings_[id] = value;
}

void RatingStandIn::ReplyWith(std::string text) {
  std::lock_guard lock(mutex_);
  reply_ = std::move(text);
}

void RatingStandIn::Hold() {
  std::lock_guard lock(mutex_);
  held_ = true;
}

void RatingStandIn::Release() {
  std::lock_guard lock(mutex_);
  held_ = false;
  released_.notify_all();
}

size_t RatingStandIn::RatingRequests() const {
  std::lock_guard lock(mutex_);
  return rating_requests_;
}

std::vector<std::string> RatingStandIn::BrowserIds() const {
  std::lock_guard lock(mutex_);
  return browser_ids_;
}

LoopbackServer::Answer RatingStandIn::Answer(const RecordedRequest& request) {
  if (request.target.find("to=get_captcha") != std::string::npos) {
    return {200, R"({"msg":13,"key":"stand-in-key"})", "application/json"};
  }
  if (request.target.find("to=get_plugs_rating") == std::string::npos)
    return {404, "", "text/plain"};
  std::unique_lock lock(mutex_);
  ++rating_requests_;
  browser_ids_.push_back(Field(request.body, "browser_id"));
  released_.wait(lock, [&] { return !held_ || closing_; });
  if (!reply_.empty()) return {200, reply_, "text/plain"};
  std::string text = "msg=9\n";
  for (const auto& [id, value] : ratings_) text += id + "=" + value + "\n";
  return {200, text, "text/plain"};
}

MainWindowTest::MainWindowTest(const std::string& extra_ini, bool demo, const std::string& image)
    : ShellTest(Options(extra_ini, demo, image)) {
  InstallShippedLanguages();
  InstallRateSession(std::make_shared<TRateSession>(service.BaseUrl()));
  if (demo && image.empty()) {
    // The profile's icons live on the demo site; here the stand-in serves them.
    os::FileSystem& files = os::Current().files();
    const std::string path = AppDataDir() + kFirefoxProfile + "extensions.json";
    std::string text = files.ReadFile(path).value_or("");
    for (size_t at; (at = text.find("http://127.0.0.1:8086")) != std::string::npos;) {
      text.replace(at, 21, service.BaseUrl());
    }
    files.WriteFileAtomic(path, text);
  }
}

MainWindowTest::~MainWindowTest() {
  screen->on_modal_idle = nullptr;
  main.reset();
  FreeAllToasts();
  module.reset();
  InstallRateSession(nullptr);
}

void MainWindowTest::Open(const std::string& language) {
  LoadConfig();
  AppConfig.CheckNews = false;
  AppConfig.AutoUpdate = false;
  ChooseLanguageFile(language);
  module = std::make_unique<TimgModule>();
  main = TfrmBase::Create<TfrmXOBMain>();
  Application().MainForm = main.get();
  main->Show();
  screen->ProcessMessages();
  WaitRatings();
}

bool MainWindowTest::PumpUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    screen->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  screen->ProcessMessages();
  return true;
}

void MainWindowTest::WaitRatings() {
  if (!main->SelectedCatalogue()) return;
  ASSERT_TRUE(PumpUntil([&] { return main->RatingsSettled(Catalogue()); }));
}

void MainWindowTest::ClickTab(uint8_t kind) {
  TLumButton* tab = main->TabOf(kind);
  ASSERT_NE(tab, nullptr);
  const Point o = tab->FormOrigin();
  screen->Click(main->Left() + o.x + 80, main->Top() + o.y + 25);
  WaitRatings();
}

TBrowserExtensionInfo* MainWindowTest::Record(const std::string& id) {
  for (int i = 0; i < Catalogue().GetCount(); ++i) {
    if (Catalogue().GetItem(i)->Id == id) return Catalogue().GetItem(i);
  }
  return nullptr;
}

TLumLvItem* MainWindowTest::Row(const std::string& id) {
  TLumLvItem* row = main->RowOf(Record(id));
  if (!row) return nullptr;
  main->m_lstView->ScrollIntoView(row);
  main->m_lstView->Repaint();
  screen->ProcessMessages();
  return row;
}

Point MainWindowTest::ScreenPoint(const Rect& r) const {
  const Point o = main->m_lstView->FormOrigin();
  return {main->Left() + o.x + (r.left + r.right) / 2, main->Top() + o.y + (r.top + r.bottom) / 2};
}

void MainWindowTest::ClickIn(const Rect& r) {
  const Point p = ScreenPoint(r);
  screen->MoveMouse(p.x, p.y);
  screen->Click(p.x, p.y);
}

void MainWindowTest::ClickAnswering(const Rect& r, std::vector<uint16_t> keys) {
  bool answered = false;
  screen->on_modal_idle = [&] {
    if (answered) return false;
    answered = true;
    ++message_boxes;
    for (uint16_t key : keys) screen->PressKey(key);
    return true;
  };
  ClickIn(r);
  screen->on_modal_idle = nullptr;
}

std::vector<std::string> MainWindowTest::ToastTexts() const {
  std::vector<std::string> texts;
  for (const TfrmMessage* toast : LiveToasts()) texts.push_back(toast->Text());
  return texts;
}

void MainWindowTest::WaitFirefoxIcons() {
  TBrowserAppBase* firefox = main->TabCatalogue(main->TabOf(bkFirefox));
  ASSERT_NE(firefox, nullptr);
  ASSERT_TRUE(PumpUntil([&] {
    for (const auto& item : firefox->Items) {
      const std::string& url = item->IconRef;
      if (url.rfind("http", 0) != 0) continue;
      const size_t at = url.find("/icons/");
      if (at == std::string::npos) continue;
      const std::string path = url.substr(at);
      // A served icon must have landed; for a missing one the request must have come.
      if (service.ServesIcon(path) ? !item->Image : service.server().Count(path) == 0) return false;
    }
    return true;
  }));
}

}  // namespace orvo::test
