#pragma once
// The Windows UI dispatcher (a hidden message-only window); see platform/ui_dispatcher.h.
#include <memory>

#include "platform/ui_dispatcher.h"

namespace orvo::os::win32 {

// The calling thread becomes the UI thread: it owns the window and must pump it.
std::shared_ptr<UiDispatcher> MakeWindowDispatcher();

}  // namespace orvo::os::win32
