// The thread settings and UI dispatcher of the portable build.
#include "platform/headless/queue_dispatcher.h"
#include "platform/threads.h"

namespace orvo::os {

void SetCurrentThreadIdlePriority() {}

std::shared_ptr<UiDispatcher> MakeUiDispatcher() { return headless::MakeQueueDispatcher(); }

}  // namespace orvo::os
