// Writing OrvoPM's trace.
#include "app/program_trace.h"

#include <fstream>
#include <memory>

#include "notices/news_window.h"
#include "platform/window_system.h"

namespace orvo {

void ProgramTrace::Line(const std::string& line) const {
  if (file_.empty()) return;
  std::ofstream out(file_, std::ios::app);
  out << line << '\n';
}

void ProgramTrace::FirstPaint(std::chrono::steady_clock::time_point started) const {
  const auto painted =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started);
  Line("first-paint-ms " + std::to_string(painted.count()));
}

void ProgramTrace::WatchNewsWindow(os::WindowSystem& windows) const {
  auto traced = std::make_shared<bool>(false);
  windows.StartTimer(std::chrono::milliseconds(100), [trace = *this, traced] {
    const TFrmNews* news = ExistingNewsWindow();
    const bool settled = news && news->Settled();
    if (settled && !*traced) trace.Line("news settled");
    *traced = settled;
  });
}

}  // namespace orvo
