#pragma once
// The main window's chain: the average ratings of all add-ons of one browser, asked for
// once per browser and run, the first time its tab is shown. Each rating reaches the
// window by a synchronous hand-over (the window stores it in the record before the chain
// reads the next), then a posted 65534 says all are delivered. A reply the chain cannot
// read is posted as 65535, any other code as it is; a failed request ends in silence.
#include <memory>
#include <string>
#include <vector>

#include "catalogue/browser_app.h"
#include "rating/rate_thread.h"
#include "rating/rating_receivers.h"

namespace orvo {

class RatingCallback {
 public:
  // User-interface thread. The ids and records are taken from the catalogue now, so the
  // request thread never reads a list the window may change; the catalogue must live as
  // long as the link stays attached.
  RatingCallback(TBrowserAppBase& catalogue, std::shared_ptr<TRatingResultLink> link);

  bool operator()(TRateThread& sender, bool& ok, TRateFields& fields, std::string& url);

 private:
  struct Entry {
    std::string id;
    TBrowserExtensionInfo* record;
  };
  void Deliver(const TNameValueLines& lines);

  TBrowserAppBase* catalogue_;
  int browser_id_;
  std::vector<Entry> entries_;
  TReceiverOutlet<TRatingResultReceiver> out_;
};

// Starts the chain for the catalogue, its Tag being the catalogue. Nothing is started for
// a catalogue without add-ons (false): there is nothing to ask about.
bool StartRatingRequest(TBrowserAppBase& catalogue, std::shared_ptr<TRatingResultLink> link,
                        std::shared_ptr<TRateSession> session = CurrentRateSession());

}  // namespace orvo
