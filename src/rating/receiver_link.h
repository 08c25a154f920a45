#pragma once
// How a request chain reaches the window that started it, and how it learns that the
// window has gone. A chain cannot be stopped from outside, and it may still be waiting
// for a reply when its window closes, so it never holds the window itself: it holds a
// link the window shares. The window detaches the link when it closes (its anchor does
// so when the window is destroyed); from then on the chain hands nothing over and stops
// at its next step.
//
// Everything a chain hands over runs on the user-interface thread (through the UI
// dispatcher) and looks at the link again there, so a call queued before the window
// closed is dropped once it comes to run. Detach belongs to the user-interface thread,
// which is also where the receiver is called, so the two never overlap; worker threads
// only ask whether the link is still attached, under its lock.
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/ui_dispatcher.h"

namespace orvo {

template <class Receiver>
class TReceiverLink {
 public:
  explicit TReceiverLink(Receiver& receiver) : receiver_(&receiver) {}
  TReceiverLink(const TReceiverLink&) = delete;
  TReceiverLink& operator=(const TReceiverLink&) = delete;

  // User-interface thread. Idempotent.
  void Detach() {
    std::lock_guard lock(mutex_);
    receiver_ = nullptr;
  }
  // Any thread.
  bool Attached() const {
    std::lock_guard lock(mutex_);
    return receiver_ != nullptr;
  }
  // User-interface thread: the receiver, or null once detached.
  Receiver* Get() const {
    std::lock_guard lock(mutex_);
    return receiver_;
  }

 private:
  mutable std::mutex mutex_;
  Receiver* receiver_;
};

// A receiver's own end of its link: a member of the window, detaching on destruction.
template <class Receiver>
class TReceiverAnchor {
 public:
  explicit TReceiverAnchor(Receiver& receiver)
      : link_(std::make_shared<TReceiverLink<Receiver>>(receiver)) {}
  ~TReceiverAnchor() { link_->Detach(); }
  TReceiverAnchor(const TReceiverAnchor&) = delete;
  TReceiverAnchor& operator=(const TReceiverAnchor&) = delete;

  const std::shared_ptr<TReceiverLink<Receiver>>& Link() const { return link_; }
  // For a window that closes before it is destroyed.
  void Detach() { link_->Detach(); }

 private:
  const std::shared_ptr<TReceiverLink<Receiver>> link_;
};

// The chain's end: hands calls to the receiver on the user-interface thread. Made on the
// user-interface thread (it takes the installed dispatcher).
template <class Receiver>
class TReceiverOutlet {
 public:
  using Call = std::function<void(Receiver&)>;

  explicit TReceiverOutlet(std::shared_ptr<TReceiverLink<Receiver>> link)
      : link_(std::move(link)), ui_(os::CurrentUiDispatcher()) {}

  bool Attached() const { return link_ && link_->Attached() && ui_; }

  // Queues the call and returns; false when the receiver is gone or the dispatcher shut.
  bool Post(Call call) const {
    if (!Attached()) return false;
    return ui_->Post([link = link_, call = std::move(call)] {
      if (Receiver* receiver = link->Get()) call(*receiver);
    });
  }

  // Runs the call on the user-interface thread and waits for it; false as for Post.
  bool Send(const Call& call) const {
    if (!Attached()) return false;
    const auto& link = link_;
    return ui_->Send([&link, &call] {
      if (Receiver* receiver = link->Get()) call(*receiver);
    });
  }

 private:
  std::shared_ptr<TReceiverLink<Receiver>> link_;
  std::shared_ptr<os::UiDispatcher> ui_;
};

}  // namespace orvo
