#pragma once
// OrvoPM --ratings BROWSER:ADDON: the ratings window of one add-on, opened as the main
// window's ratings caption opens it, for a picture of it (natively on the headless
// screen) once its opening chain has ended. ADDON is the add-on's id, or ":N" for the
// browser's N-th record (from 0), as orvopm's list numbers them.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

class TfrmXOBRate;

struct RatingsRequest {
  std::string browser;     // chrome, ie, firefox or opera
  std::string addon;       // an id, or ":N"
  bool my_review = false;  // show the "My Review" tab before the picture
};

// "chrome:ID"; nothing for a text without a browser word and an add-on.
std::optional<RatingsRequest> ParseRatingsRequest(std::string_view text);

// Reads the browsers, opens the ratings window of the add-on (ShowRatings), hands it to
// `picture` once it is shown and painted, then closes it. 0, or an exit code with the
// reason on stderr: 4 unknown browser, 5 unknown add-on, 1 the window did not open (the
// service did not answer in time or could not be read) or the picture failed.
int OpenRatingsForPicture(const RatingsRequest& request,
                          const std::function<bool(TfrmXOBRate&)>& picture);

}  // namespace orvo
