#pragma once
// Thread settings that belong to the operating system.
namespace orvo::os {

// Background downloads run at idle priority on Windows (THREAD_PRIORITY_IDLE) so they
// never compete with the user interface. The portable build leaves the host scheduler
// alone: its threads share the machine with builds and tests.
void SetCurrentThreadIdlePriority();

}  // namespace orvo::os
