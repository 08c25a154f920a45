#pragma once
// Thread settings and thread starts that belong to the operating system.
#include <functional>

namespace orvo::os {

// Background downloads run at idle priority on Windows (THREAD_PRIORITY_IDLE) so they
// never compete with the user interface. The portable build leaves the host scheduler
// alone: its threads share the machine with builds and tests.
void SetCurrentThreadIdlePriority();

// Runs `body` on a new thread that nobody joins. False when no thread could be made; the
// body has then not run and is destroyed before this returns.
//
// The thread is detached from its birth, never afterwards as std::thread::detach does it:
// MinGW's winpthreads recycles the record of a thread that ended before it was detached
// while the thread's exit is still under way, and two later threads can then share one
// record (both start with the later one's argument, or one with none).
bool StartDetachedThread(std::function<void()> body);

}  // namespace orvo::os
