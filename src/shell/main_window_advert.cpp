// The main window's advert hook.
#include "shell/main_window_advert.h"

namespace orvo {

AdvertPresenterMaker& MainWindowAdvert() {
  static AdvertPresenterMaker maker;
  return maker;
}

}  // namespace orvo
