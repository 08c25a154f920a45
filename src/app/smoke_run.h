#pragma once
// A smoke run of a whole program on whatever window system is installed: a list of steps,
// each of which acts (synthetic input, SendInput on Windows) and then waits, ticking every
// 100 ms, until what it caused is true (at most 10 s). At a step that names a state it
// writes the state's name to DIR/state and waits (up to 20 s) for DIR/ack-<state>, so a
// script can take a screenshot of the screen meanwhile. It ends the application with exit
// code 0 when every step came true in time, else 1, leaving "failed <step>" in DIR/state.
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "ui/timer.h"

namespace orvo {

struct SmokeStep {
  const char* name;
  const char* publish;  // the state a screenshot is taken of, or null
};

class TSmokeRun {
 public:
  // Empty `dir`: no state file and no waiting for acknowledgements. `program` names the
  // program in the failure message.
  TSmokeRun(std::string program, std::string dir, std::vector<SmokeStep> steps);
  virtual ~TSmokeRun() = default;
  void Start();
  int ExitCode() const { return exit_code_; }
  const std::string& Failure() const { return failure_; }

 protected:
  // What step `step` does; it may run a modal loop (later ticks wait for it).
  virtual void Act(int step) = 0;
  // Whether what the step caused is true now.
  virtual bool Done(int step) = 0;

  // Synthetic input in screen coordinates.
  static void Click(Point p);
  static void MoveMouse(Point p);
  static void PressKey(uint16_t key);

 private:
  void Tick();
  void Publish(const std::string& state);
  bool Acknowledged(const std::string& state) const;
  void Finish(int code, const std::string& why);

  std::string program_;
  std::string dir_;
  std::vector<SmokeStep> steps_;
  TTimer timer_;
  int step_ = 0;
  int waited_ms_ = 0;
  bool acting_ = false;
  std::string waiting_for_ack_;
  int exit_code_ = 1;
  std::string failure_;
};

}  // namespace orvo
