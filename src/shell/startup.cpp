// The main routine's steps, in order.
#include "shell/startup.h"

#include <memory>

#include "platform/window_system.h"
#include "rating/rate_session.h"
#include "shell/app_config.h"
#include "shell/application_window.h"
#include "shell/language.h"
#include "shell/main_window.h"
#include "shell/registry_access.h"
#include "shell/single_instance.h"
#include "ui/application.h"
#include "ui/image_module.h"

namespace orvo {

StartupOutcome RunProgram(const StartupOptions& options) {
  StartupOutcome outcome;
  SystemInstanceWindows system_windows;
  SystemMessageBox system_box(kApplicationTitle);
  InstanceWindows& windows = options.instance_windows ? *options.instance_windows : system_windows;
  PlainMessageBox& box = options.message_box ? *options.message_box : system_box;

  // 1.
  OpenInstanceMemory();
  CurrentRateSession();
  TApplicationWindow application_window;
  application_window.OnRestore = options.on_restore;
  // 2.
  if (CheckPreviousInstance(application_window.Handle(), windows)) {
    outcome.second_instance = true;
    return outcome;
  }
  // 3, 4.
  LoadConfig();
  if (options.language) AppConfig.Language = *options.language;
  ChooseLanguageFile(AppConfig.Language);
  // 5.
  TApplication& app = Application();
  if (!CheckRegistryAccess(box)) {
    outcome.refused = true;
    app.Terminate();
  }
  // 6, 7.
  TimgModule module;
  // 8.
  std::unique_ptr<TfrmXOBMain> main = TfrmBase::Create<TfrmXOBMain>();
  if (options.width > 0 && options.height > 0) {
    main->SetBounds(main->Left(), main->Top(), options.width, options.height);
  }
  app.MainForm = main.get();
  main->Show();
  // 9.
  std::unique_ptr<os::PublishedWindow> published;
  if (main->Handle()) published = os::PublishWindow(*main->Handle());
  RegisterMainWindow(published ? published->Handle() : 0);
  // 10.
  if (options.on_shown && !app.Terminated()) {
    if (os::WindowSystem* system = os::CurrentWindowSystem()) {
      system->Dispatcher()->Post([&] {
        app.ProcessMessages();
        options.on_shown(*main);
      });
    }
  }
  app.Run();
  outcome.ran = true;
  published.reset();
  main.reset();  // saves the settings
  return outcome;
}

}  // namespace orvo
