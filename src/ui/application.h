#pragma once
// The program as the toolkit sees it: its forms, the main form whose closing ends the run,
// the message loop, the application's activation (popup menus replace the deactivation
// handler while they are open), minimising, modal bookkeeping and the hints.
//
// Hints are drawn by the toolkit in a small top-level window: resting the pointer on a
// control whose ShowHint is on (itself or the nearest parent that has it on) and whose Hint
// is not empty shows it after HintPause, below the pointer, for HintHidePause. Pressing,
// leaving or typing hides it. ActivateHint shows a text at once.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "ui/timer.h"

namespace orvo {

class TControl;
class TForm;
class THintWindow;

class TApplication {
 public:
  TApplication();
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Closing it ends Run; the first form shown when none is set.
  TForm* MainForm = nullptr;
  // The message loop, until Terminate (or the main form closed). Needs a window system.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Clears the terminated mark for a new run (tests, tools that run twice).
  void Reset();
  void ProcessMessages();
  // The main form minimised to the taskbar, or back.
  void Minimize();
  void Restore();

  // One of the program's windows is the system's active window.
  bool Active() const;
  std::function<void()> OnActivate;
  std::function<void()> OnDeactivate;

  // --- forms (kept by the forms themselves) ---
  const std::vector<TForm*>& Forms() const { return forms_; }
  void AddForm(TForm& form);
  void RemoveForm(TForm& form);
  int ModalLevel() const { return modal_level_; }
  void EnterModal() { ++modal_level_; }
  void LeaveModal() { --modal_level_; }
  // Joins the installed window system's activation notices (again when it changed).
  void AttachWindowSystem();

  // --- hints ---
  bool ShowHint = true;
  int HintPause = 500;
  int HintHidePause = 2500;
  // The pointer moved over `control` at a screen point (forms call this).
  void HintMouseMove(TControl* control, Point screen);
  // Pressing, leaving or typing.
  void CancelHint();
  // A control leaves its form (forms call this): a hint about it goes.
  void ForgetControl(TControl& control);
  // Shows `text` below the screen point at once.
  void ActivateHint(Point screen, const std::string& text);
  // The same as the hint of `control`: moving on over it keeps the hint up.
  void ActivateHintFor(TControl* control, Point screen, const std::string& text);
  // The hint window while one was made (tests look at it).
  THintWindow* HintWindow() const { return hint_window_.get(); }
  bool HintShowing() const;

 private:
  void ActivationChanged(bool active);
  void ShowPendingHint();

  bool terminated_ = false;
  int modal_level_ = 0;
  std::vector<TForm*> forms_;
  uint64_t attached_serial_ = 0;
  int listener_id_ = 0;

  TControl* hint_control_ = nullptr;
  Point hint_point_;
  TTimer hint_pause_;
  TTimer hint_hide_;
  std::unique_ptr<THintWindow> hint_window_;
};

// The program's application object.
TApplication& Application();

}  // namespace orvo
