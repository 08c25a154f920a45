// The text and picture download threads.
#include "net/download_threads.h"

#include "platform/platform.h"
#include "net/http_downloads.h"

namespace orvo {

THttpReadThread::THttpReadThread(std::string url, size_t max_bytes)
    : TWorkerThread(Priority::kIdle), url_(std::move(url)), max_bytes_(max_bytes) {}

void THttpReadThread::Execute() {
  result_text_ = HttpGetText(url_, max_bytes_);
  done_ = true;
}

void THttpReadThread::DoTerminate() {
  if (OnTerminate) OnTerminate(*this);
}

TDownLoadImgThread::TDownLoadImgThread(std::shared_ptr<TPictureItem> item, size_t max_bytes)
    : TWorkerThread(Priority::kIdle), item_(std::move(item)), max_bytes_(max_bytes) {}

// Every failure (nothing received, not a PNG, the copy not written) ends the thread with
// its done flag false; the base class swallows what raises.
void TDownLoadImgThread::Execute() {
  std::optional<PngImage> picture = HttpGetPng(item_->imgsrc, max_bytes_);
  if (!picture || picture->empty()) return;
  item_->picture = std::move(*picture);
  if (!item_->local_path.empty() &&
      !os::Current().files().WriteFileAtomic(item_->local_path, item_->picture.PngFile())) {
    return;
  }
  done_ = true;
}

void TDownLoadImgThread::DoTerminate() {
  if (OnTerminate) OnTerminate(*this);
}

}  // namespace orvo
