// The failure log: one lock, one sink, standard error by default.
#include "platform/failure_log.h"

#include <cstdio>
#include <exception>
#include <mutex>
#include <string>
#include <utility>

namespace orvo::os {
namespace {

std::mutex g_mutex;
FailureSink g_sink;

std::string CaughtText() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "an unknown exception";
  }
}

}  // namespace

void LogFailure(std::string_view text) {
  std::string line = "orvo: ";
  line += text;
  std::lock_guard lock(g_mutex);
  if (g_sink) {
    g_sink(line);
    return;
  }
  line += '\n';
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

void LogCaughtException(std::string_view what_was_running) {
  std::string text(what_was_running);
  text += " raised: ";
  text += CaughtText();
  LogFailure(text);
}

FailureSink SetFailureSink(FailureSink sink) {
  std::lock_guard lock(g_mutex);
  return std::exchange(g_sink, std::move(sink));
}

}  // namespace orvo::os
