#pragma once
// One chain of requests to the rating service on a worker thread of its own. The chain is
// driven by a step callback: called first with an empty URL, it fills in the form fields
// and the URL of the first request; called again after every request, with that URL
// still set and the reply in the thread's buffer, it reads the reply and may set up the
// next request. Returning false ends the chain. The thread adds the session key as the
// last field of every request, posts the form when the previous request succeeded (and
// before the first) and sends a GET otherwise, and frees itself at the end:
//
//   auto thread = std::make_unique<TRateThread>();
//   thread->FormFields = {"comment_id=12", "score=1"};  // optional: first request only
//   thread->Tag = 12;
//   thread->OnStep = VoteStep(...);
//   TWorkerThread::Start(std::move(thread));
//
// Like every worker thread it must be created on the user-interface thread; OnTerminate
// runs there once the chain has ended, after everything the chain handed over.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/rate_http_client.h"
#include "net/worker_thread.h"
#include "rating/rate_session.h"

namespace orvo {

class TRateThread;

using TRateFields = std::vector<std::string>;  // "name=value" each, in sending order
// (Sender, Ok, fields, URL) -> continue. On entry Ok tells whether the previous request
// succeeded (true before the first); on return it picks the next request's method: true
// POST, false GET.
using TRateStepEvent =
    std::function<bool(TRateThread& sender, bool& ok, TRateFields& fields, std::string& url)>;

class TRateThread : public TWorkerThread {
 public:
  explicit TRateThread(std::shared_ptr<TRateSession> session = CurrentRateSession());

  TRateStepEvent OnStep;   // unassigned: the thread ends at once
  TRateFields FormFields;  // the fields of the next request
  intptr_t Tag = 0;        // carried for the step callback
  std::function<void(TRateThread&)> OnTerminate;

  // The body of the last reply (UTF-8 text for the service's replies).
  const std::string& Reply() const { return reply_; }
  TRateSession& Session() const { return *session_; }

 protected:
  void Execute() override;
  void DoTerminate() override;

 private:
  const std::shared_ptr<TRateSession> session_;
  TRateHttpClient client_;
  std::string reply_;
};

// Creates, fills and starts a thread in one go (user-interface thread). The flag it
// returns turns true on the user-interface thread once the chain has ended, after all it
// handed over; a window that must wait for a chain pumps until then.
std::shared_ptr<const bool> StartRateThread(
    TRateStepEvent step, TRateFields fields = {}, intptr_t tag = 0,
    std::shared_ptr<TRateSession> session = CurrentRateSession());

}  // namespace orvo
