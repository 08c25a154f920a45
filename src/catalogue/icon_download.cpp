#include "catalogue/icon_download.h"

#include <memory>

#include "net/download_threads.h"
#include "platform/ui_dispatcher.h"

namespace orvo {
namespace {
std::function<void(TBrowserExtensionInfo&)>& Handler() {
  static std::function<void(TBrowserExtensionInfo&)> handler;
  return handler;
}
}  // namespace

void SetIconArrivedHandler(std::function<void(TBrowserExtensionInfo&)> handler) {
  Handler() = std::move(handler);
}

void DownloadIcon(TBrowserExtensionInfo& record) {
  // Without a user-interface thread there is nobody to hand the picture to.
  if (!os::CurrentUiDispatcher()) return;
  if (!record.IconAnchor) record.IconAnchor = std::make_shared<TBrowserExtensionInfo*>(&record);
  auto item = std::make_shared<TPictureItem>();
  item->imgsrc = record.IconRef;
  auto thread = std::make_unique<TDownLoadImgThread>(item);
  std::weak_ptr<TBrowserExtensionInfo*> anchor = record.IconAnchor;
  thread->OnTerminate = [anchor](TDownLoadImgThread& t) {
    const auto alive = anchor.lock();
    if (!alive || t.Item().picture.empty()) return;
    TBrowserExtensionInfo& target = **alive;
    target.Image = std::make_unique<TPngImage>(std::move(t.Item().picture));
    target.Image->Pack();
    if (Handler()) Handler()(target);
  };
  TWorkerThread::Start(std::move(thread));
}

}  // namespace orvo
