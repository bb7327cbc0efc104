#include "CompletionEvent.h"

#include <mutex>

namespace plat::board {
namespace {
std::mutex g_mutex;
std::function<void(HANDLE)>& Signal() {
  static std::function<void(HANDLE)> signal;
  return signal;
}
}  // namespace

void SignalCompletion(HANDLE event) {
  if (!event) return;
  std::function<void(HANDLE)> signal;
  {
    std::lock_guard lock(g_mutex);
    signal = Signal();
  }
  if (signal) signal(event);
}

void SetCompletionSignal(std::function<void(HANDLE)> signal) {
  std::lock_guard lock(g_mutex);
  Signal() = std::move(signal);
}

}  // namespace plat::board
