#pragma once
// The portable UI dispatcher: a message queue with the semantics of window messages,
// for the builds and tests that have no window system (see platform/ui_dispatcher.h).
// The headless window system builds its posted and sent messages on this queue.
#include <memory>

#include "platform/ui_dispatcher.h"

namespace orvo::os::headless {

// The calling thread becomes the dispatcher's UI thread.
std::shared_ptr<UiDispatcher> MakeQueueDispatcher();

}  // namespace orvo::os::headless
