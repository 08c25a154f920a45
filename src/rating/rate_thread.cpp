// The request chain of a rating thread; see rate_thread.h.
#include "rating/rate_thread.h"

namespace orvo {

TRateThread::TRateThread(std::shared_ptr<TRateSession> session)
    : TWorkerThread(Priority::kNormal), session_(std::move(session)) {}

void TRateThread::Execute() {
  if (!OnStep) return;
  bool ok = true;
  std::string url;
  reply_.clear();
  while (OnStep(*this, ok, FormFields, url)) {
    FormFields.push_back("key=" + session_->GetKey());
    ok = ok ? client_.PostForm(url, FormFields, reply_) : client_.GetPage(url, reply_);
    FormFields.clear();
  }
}

void TRateThread::DoTerminate() {
  if (OnTerminate) OnTerminate(*this);
}

std::shared_ptr<const bool> StartRateThread(TRateStepEvent step, TRateFields fields, intptr_t tag,
                                            std::shared_ptr<TRateSession> session) {
  auto ended = std::make_shared<bool>(false);
  auto thread = std::make_unique<TRateThread>(std::move(session));
  thread->OnStep = std::move(step);
  thread->FormFields = std::move(fields);
  thread->Tag = tag;
  thread->OnTerminate = [ended](TRateThread&) { *ended = true; };
  TWorkerThread::Start(std::move(thread));
  return ended;
}

}  // namespace orvo
