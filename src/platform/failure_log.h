#pragma once
// Where the program notes a failure it carries on after: a call posted to the user-
// interface thread that raised, a worker thread's Execute that raised, a browser file that
// could not be read. Nothing here reaches the user (what the user must see goes through
// the message box or a toast); the line is for whoever runs the program from a console,
// and for the tests. Any thread may log; lines never interleave.
#include <functional>
#include <string>
#include <string_view>

namespace orvo::os {

// Writes "orvo: " and the text as one line.
void LogFailure(std::string_view text);

// Inside a catch block: logs "<what was running> raised: <the exception's text>" for the
// exception being handled ("an unknown exception" for one that is no std::exception).
void LogCaughtException(std::string_view what_was_running);

// Where the lines go: standard error unless a sink is set (a test's). Returns the sink it
// replaces; null restores standard error. The sink is called under the log's lock.
using FailureSink = std::function<void(std::string_view line)>;
FailureSink SetFailureSink(FailureSink sink);

}  // namespace orvo::os
