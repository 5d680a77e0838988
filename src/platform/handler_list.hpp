#pragma once
// The control handlers a console has registered, run for an event last
// registered first until one returns true, as the console runs them.  The
// list is read on the thread the event arrives on, so it has a lock.
#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/console_device.hpp"

namespace gndfit {

class ControlHandlerList {
 public:
  void add(ControlHandler handler) {
    std::lock_guard lock(mutex_);
    handlers_.push_back(handler);
  }
  bool remove(ControlHandler handler) {
    std::lock_guard lock(mutex_);
    auto it = std::find(handlers_.begin(), handlers_.end(), handler);
    if (it == handlers_.end()) return false;
    handlers_.erase(it);
    return true;
  }
  // True when a handler took the event.
  bool run(ControlEvent event) {
    std::vector<ControlHandler> snapshot;
    {
      std::lock_guard lock(mutex_);
      snapshot = handlers_;
    }
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
      if ((*it)(event)) return true;
    }
    return false;
  }

 private:
  std::mutex mutex_;
  std::vector<ControlHandler> handlers_;
};

}  // namespace gndfit
