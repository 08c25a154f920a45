// The thread settings of the Windows build.
#include <windows.h>

#include "platform/threads.h"

namespace orvo::os {

void SetCurrentThreadIdlePriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE); }

}  // namespace orvo::os
