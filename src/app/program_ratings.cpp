// OrvoPM --ratings: see program_ratings.h.
#include "app/program_ratings.h"

#include <cstdio>
#include <string_view>

#include "catalogue/browser_list.h"
#include "platform/text.h"
#include "platform/integer_text.h"
#include "shell/ratings_form.h"
#include "shell/ratings_window.h"

namespace orvo {
namespace {

constexpr const char* kBrowserWords[5] = {"", "chrome", "ie", "firefox", "opera"};

TBrowserExtensionInfo* FindAddon(TBrowserAppBase& app, const std::string& key) {
  if (key.size() > 1 && key[0] == ':') {
    const auto index = ParseInt32(std::string_view(key).substr(1));
    return index ? app.GetItem(*index) : nullptr;
  }
  for (int i = 0; i < app.GetCount(); ++i) {
    if (app.GetItem(i)->Id == key) return app.GetItem(i);
  }
  return nullptr;
}

}  // namespace

std::optional<RatingsRequest> ParseRatingsRequest(std::string_view text) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon + 1 >= text.size())
    return std::nullopt;
  return RatingsRequest{std::string(text.substr(0, colon)), std::string(text.substr(colon + 1))};
}

int OpenRatingsForPicture(const RatingsRequest& request,
                          const std::function<bool(TfrmXOBRate&)>& picture) {
  BrowserList browsers;
  BuildBrowserList(browsers);
  TBrowserAppBase* app = nullptr;
  for (auto& candidate : browsers) {
    if (EqualsNoCase(request.browser, kBrowserWords[candidate->BrowserKind])) app = candidate.get();
  }
  if (!app) {
    std::fprintf(stderr, "OrvoPM: no browser called %s\n", request.browser.c_str());
    return 4;
  }
  TBrowserExtensionInfo* addon = FindAddon(*app, request.addon);
  if (!addon) {
    std::fprintf(stderr, "OrvoPM: %s has no add-on %s\n", request.browser.c_str(),
                 request.addon.c_str());
    return 5;
  }
  bool pictured = false;
  TRatingsShowOptions options;
  options.on_shown = [&](TfrmXOBRate& window) {
    if (request.my_review) {
      window.btn2Click(*window.btn3);
      window.PaintAll();
    }
    pictured = picture(window);
    window.Close();
  };
  if (!ShowRatings(*app, *addon, options)) {
    std::fprintf(stderr, "OrvoPM: the ratings of %s could not be had\n", request.addon.c_str());
    return 1;
  }
  return pictured ? 0 : 1;
}

}  // namespace orvo
