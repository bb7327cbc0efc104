// The condition every wait of the stand-in sleeps on. It is never destroyed, and a
// thread it wakes after the process began to end on another thread sleeps again for
// good instead of running into state that exit() is tearing down.
#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "kernel/ProcessEnd.h"

namespace plat {

class WaitCondition {
 public:
  using Lock = std::unique_lock<std::mutex>;

  void notify_all() { cv_.notify_all(); }

  void wait(Lock& lock) {
    ParkIfEnded(lock);
    cv_.wait(lock);
    ParkIfEnded(lock);
  }
  template <class Pred>
  void wait(Lock& lock, Pred pred) {
    while (!pred()) wait(lock);
  }
  template <class Rep, class Period>
  std::cv_status wait_for(Lock& lock, const std::chrono::duration<Rep, Period>& d) {
    return wait_until(lock, std::chrono::steady_clock::now() + d);
  }
  template <class Clock, class Duration>
  std::cv_status wait_until(Lock& lock, const std::chrono::time_point<Clock, Duration>& t) {
    ParkIfEnded(lock);
    std::cv_status s = cv_.wait_until(lock, t);
    ParkIfEnded(lock);
    return s;
  }

 private:
  void ParkIfEnded(Lock& lock) {
    if (!EndedWithProcess()) return;
    for (;;) cv_.wait(lock);
  }

  std::condition_variable cv_;
};

}  // namespace plat
