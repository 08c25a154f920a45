// The code page, thread settings and UI dispatcher of the portable build.
#include "platform/ansi_text.h"
#include "platform/headless/queue_dispatcher.h"
#include "platform/text.h"
#include "platform/threads.h"

namespace orvo::os {

std::string AnsiToUtf8(std::string_view bytes) { return Cp1252ToUtf8(bytes); }
std::string Utf8ToAnsi(std::string_view text) { return Utf8ToCp1252(text); }

void SetCurrentThreadIdlePriority() {}

std::shared_ptr<UiDispatcher> MakeUiDispatcher() { return headless::MakeQueueDispatcher(); }

}  // namespace orvo::os
