// SPDX-License-Identifier: MIT
#pragma once
// The control handlers a console has registered, run for an event last
// registered first until one returns true, as the console runs them.  Each
// is a callable with its own context, known by the number it was given.
// The list is read on the thread the event arrives on, so it has a lock;
// the handlers run outside it.
#include <mutex>
#include <utility>
#include <vector>

#include "platform/console_device.hpp"

namespace gndfit {

class ControlHandlerList {
 public:
  ControlHandlerList() = default;
  // Moves only a list that no other thread uses yet (a console being built).
  ControlHandlerList(ControlHandlerList&& other) noexcept
      : handlers_(std::move(other.handlers_)), last_id_(other.last_id_) {}

  ControlHandlerId add(ControlHandler handler) {
    std::lock_guard lock(mutex_);
    handlers_.emplace_back(++last_id_, std::move(handler));
    return last_id_;
  }
  bool remove(ControlHandlerId id) {
    std::lock_guard lock(mutex_);
    for (auto it = handlers_.begin(); it != handlers_.end(); ++it) {
      if (it->first != id) continue;
      handlers_.erase(it);
      return true;
    }
    return false;
  }
  // The registered handlers, first registered first.
  std::vector<ControlHandlerId> ids() const {
    std::lock_guard lock(mutex_);
    std::vector<ControlHandlerId> out;
    for (const auto& entry : handlers_) out.push_back(entry.first);
    return out;
  }
  // True when a handler took the event.
  bool run(ControlEvent event) const {
    std::vector<std::pair<ControlHandlerId, ControlHandler>> snapshot;
    {
      std::lock_guard lock(mutex_);
      snapshot = handlers_;
    }
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
      if (it->second(event)) return true;
    }
    return false;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::pair<ControlHandlerId, ControlHandler>> handlers_;
  ControlHandlerId last_id_ = 0;
};

}  // namespace gndfit
