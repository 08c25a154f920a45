#pragma once
// The two background downloads: text for the notice and advert readers, one picture for
// an advert item or an add-on icon. Both run at idle priority and report on the
// user-interface thread when they end (see worker_thread.h):
//
//   auto thread = std::make_unique<THttpReadThread>(url);
//   thread->OnTerminate = [](THttpReadThread& t) { if (t.Done()) Use(t.ResultText()); };
//   TWorkerThread::Start(std::move(thread));
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "graphics/png_image.h"
#include "net/transfer_limits.h"
#include "net/worker_thread.h"

namespace orvo {

class THttpReadThread : public TWorkerThread {
 public:
  // A reply larger than `max_bytes` reads as empty text.
  explicit THttpReadThread(std::string url, size_t max_bytes = kMaxTransferBytes);

  std::function<void(THttpReadThread&)> OnTerminate;

  const std::string& Url() const { return url_; }
  // True once the download returned, also with empty text (an unreachable URL gives
  // empty text and true); false only when something raised.
  bool Done() const { return done_; }
  // What HttpGetText returned (its ANSI text already converted).
  const std::string& ResultText() const { return result_text_; }

 protected:
  void Execute() override;
  void DoTerminate() override;

 private:
  const std::string url_;
  const size_t max_bytes_;
  std::string result_text_;
  bool done_ = false;
};

// What the picture thread needs of a record: where the picture comes from, where it goes,
// and the file that keeps a copy (a Windows path; empty for none). Advert items derive
// from it; the icon download makes a bare one.
struct TPictureItem {
  virtual ~TPictureItem() = default;
  std::string imgsrc;
  PngImage picture;
  std::string local_path;
};

// The thread shares the item with its creator, so an owner that lets go of the item early
// cannot pull it from under the running thread. Until the thread has ended only the
// thread touches the item.
class TDownLoadImgThread : public TWorkerThread {
 public:
  // A reply larger than `max_bytes` is no picture.
  explicit TDownLoadImgThread(std::shared_ptr<TPictureItem> item,
                              size_t max_bytes = kMaxTransferBytes);

  std::function<void(TDownLoadImgThread&)> OnTerminate;

  TPictureItem& Item() { return *item_; }
  // True once a non-empty picture was copied into the item (and saved, when it has a
  // local path).
  bool Done() const { return done_; }

 protected:
  void Execute() override;
  void DoTerminate() override;

 private:
  const std::shared_ptr<TPictureItem> item_;
  const size_t max_bytes_;
  bool done_ = false;
};

}  // namespace orvo
