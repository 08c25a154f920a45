// Settling the windows and writing their pictures.
#include "app/program_pictures.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "notices/news_window.h"
#include "notices/notices.h"
#include "platform/window_system.h"
#include "shell/main_window.h"
#include "ui/application.h"

#ifndef _WIN32
#include "platform/headless/headless_window_system.h"
#endif

namespace orvo {
namespace {

constexpr uint64_t kNewsWaitMs = 30000;

#ifndef _WIN32
void PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    Application().ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  Application().ProcessMessages();
}
#endif

}  // namespace

void SettleMainWindow(TfrmXOBMain& main, uint8_t kind) {
#ifdef _WIN32
  (void)main, (void)kind;
#else
  if (kind != 0) {
    if (TLumButton* tab = main.TabOf(kind); tab && tab->Enabled()) main.SelectTab(*tab);
  }
  const TBrowserAppBase* catalogue = main.SelectedCatalogue();
  if (!catalogue) return;
  PumpUntil([&] { return main.RatingsSettled(*catalogue); }, std::chrono::seconds(10));
  // The advert's description and picture, and a paint once they are there.
  PumpUntil(AdvertsSettled, std::chrono::seconds(10));
  PumpUntil([] { return false; }, std::chrono::milliseconds(50));
  // Icons on the web (Firefox's) come on threads of their own; nothing says when a
  // download gave up, so they get a short while more.
  PumpUntil(
      [&] {
        for (const auto& item : catalogue->Items) {
          if (!item->Image && item->IconRef.rfind("http", 0) == 0) return false;
        }
        return true;
      },
      std::chrono::seconds(2));
#endif
}

bool SaveWindowPicture(os::WindowSystem& windows, TForm& form, const std::string& file) {
#ifdef _WIN32
  (void)windows, (void)form, (void)file;
  return false;
#else
  auto& headless = static_cast<os::headless::HeadlessWindowSystem&>(windows);
  if (form.Handle() && headless.SaveWindowPng(*form.Handle(), file)) return true;
  std::fprintf(stderr, "OrvoPM: cannot write %s\n", file.c_str());
  return false;
#endif
}

void TakeNewsPictureWhenSettled(os::WindowSystem& windows, const std::string& file, int& code) {
  const uint64_t deadline = windows.TickCount() + kNewsWaitMs;
  windows.StartTimer(std::chrono::milliseconds(100), [&windows, &code, file, deadline] {
    TForm* main_form = Application().MainForm;
    if (!main_form || !main_form->Shown()) return;
    TFrmNews* news = ExistingNewsWindow();
    if (news && news->Settled()) {
      if (!SaveWindowPicture(windows, *news, file)) code = 1;
    } else if (windows.TickCount() < deadline) {
      return;
    } else {
      std::fputs("OrvoPM: no news window settled\n", stderr);
      code = 1;
    }
    main_form->Close();
  });
}

}  // namespace orvo
