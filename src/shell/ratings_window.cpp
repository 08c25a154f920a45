// Opening the ratings window: the wait, the verdict, the modal show; see ratings_window.h.
#include "shell/ratings_window.h"

#include <algorithm>
#include <memory>

#include "platform/ui_dispatcher.h"
#include "platform/window_system.h"
#include "shell/message_key.h"
#include "shell/ratings_form.h"
#include "shell/wait_form.h"
#include "ui/application.h"

namespace orvo {
namespace {

using Clock = std::chrono::steady_clock;

// The main window's system window is enabled again when this goes, however the call
// ends, unless the window has gone meanwhile.
class MainWindowEnabler {
 public:
  MainWindowEnabler() : main_(Application().MainForm) {}
  ~MainWindowEnabler() { Enable(); }
  MainWindowEnabler(const MainWindowEnabler&) = delete;
  MainWindowEnabler& operator=(const MainWindowEnabler&) = delete;

  TForm* main() const { return main_; }
  void Enable() {
    const auto& forms = Application().Forms();
    if (!main_ || std::find(forms.begin(), forms.end(), main_) == forms.end()) return;
    if (os::Window* window = main_->Handle()) window->SetEnabled(true);
  }

 private:
  TForm* main_;
};

enum class WaitEnd { kEnded, kTimedOut, kQuit };

// Keeps the messages flowing (the spinner turns, notices show, the chain's hand-overs
// arrive) until the chain has ended or the limit has passed on the monotonic clock. The
// loop runs in short slices, each ending on time, so a headless screen never takes the
// wait for a loop that is stuck.
WaitEnd WaitForChain(const std::shared_ptr<const bool>& ended, std::chrono::milliseconds limit) {
  const Clock::time_point deadline = Clock::now() + limit;
  os::WindowSystem* system = os::CurrentWindowSystem();
  const std::shared_ptr<os::UiDispatcher> ui = os::CurrentUiDispatcher();
  while (!*ended && Clock::now() < deadline) {
    const Clock::time_point slice_end =
        std::min(deadline, Clock::now() + std::chrono::milliseconds(50));
    const auto done = [&] { return *ended || Clock::now() >= slice_end; };
    if (system) {
      if (system->RunModal(done) == os::ModalEnd::kQuit) return WaitEnd::kQuit;
    } else if (ui) {
      ui->RunUntil(done, std::chrono::milliseconds(50));
    } else {
      break;  // nothing could ever end the chain's hand-over
    }
  }
  return *ended ? WaitEnd::kEnded : WaitEnd::kTimedOut;
}

}  // namespace

bool ShowRatings(TBrowserAppBase& catalogue, TBrowserExtensionInfo& addon) {
  return ShowRatings(catalogue, addon, TRatingsShowOptions{});
}

bool ShowRatings(TBrowserAppBase& catalogue, TBrowserExtensionInfo& addon,
                 const TRatingsShowOptions& options) {
  MainWindowEnabler enabler;
  TForm* main = enabler.main();
  // The spinner first, over the main window, so the click has an answer at once.
  std::unique_ptr<TfrmWait> wait;
  if (main) {
    wait = std::make_unique<TfrmWait>(*main);
    wait->Show();
  }
  std::unique_ptr<TfrmXOBRate> form = TfrmBase::Create<TfrmXOBRate>(catalogue, addon, main);
  if (!wait) {
    wait = std::make_unique<TfrmWait>(*form);
    wait->Show();
  }

  const WaitEnd end = WaitForChain(form->StartOpening(), options.open_limit);
  if (end != WaitEnd::kEnded || form->LoadFailed) {
    // A chain given up on may still answer: it reaches nothing any more.
    form->DetachChains();
    if (end != WaitEnd::kQuit) ShowMessageKey(wait.get(), "PlugRatingError", 4, 3);
    enabler.Enable();
    wait->Close();
    return false;
  }

  form->Fill();
  wait->Close();
  enabler.Enable();
  const auto showing = std::make_shared<bool>(true);
  if (options.on_shown) {
    if (const auto ui = os::CurrentUiDispatcher()) {
      TfrmXOBRate* shown = form.get();
      ui->Post([shown, showing, on_shown = options.on_shown] {
        if (!*showing) return;
        Application().ProcessMessages();
        on_shown(*shown);
      });
    }
  }
  form->ShowModal();
  *showing = false;
  return true;
}

}  // namespace orvo
