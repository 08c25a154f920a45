// Both builds have POSIX threads (glibc natively, winpthreads under MinGW), and only the
// POSIX interface lets a thread be made detached, which is the point here.
#include <pthread.h>

#include <memory>
#include <utility>

#include "platform/threads.h"

namespace orvo::os {
namespace {

// An exception leaving the body ends the program, as one leaving a std::thread does.
void* RunBody(void* raw) noexcept {
  const std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(raw));
  (*body)();
  return nullptr;
}

}  // namespace

bool StartDetachedThread(std::function<void()> body) {
  auto owned = std::make_unique<std::function<void()>>(std::move(body));
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return false;
  int failed = pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  pthread_t thread;
  if (failed == 0) failed = pthread_create(&thread, &attributes, &RunBody, owned.get());
  pthread_attr_destroy(&attributes);
  if (failed != 0) return false;
  static_cast<void>(owned.release());  // the thread frees it
  return true;
}

}  // namespace orvo::os
