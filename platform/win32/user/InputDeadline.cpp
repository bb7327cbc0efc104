#include "InputDeadline.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "../Immortal.h"
#include "../KernelObject.h"
#include "MessageQueue.h"
#include "Window.h"

namespace plat::user::driver {
namespace {

using Clock = std::chrono::steady_clock;

struct Armed {
  DWORD thread;
  Clock::time_point due;
};

// One watcher thread for the process, started with the first deadline. Its state lives
// for ever: the thread still waits on it while the process ends.
struct Watch {
  std::mutex m;
  std::condition_variable cv;
  std::map<uint64_t, Armed> armed;
  uint64_t next = 1;
  bool started = false;
};
Watch& TheWatch() {
  static Immortal<Watch> watch;
  return watch.get();
}

// Cancels the mode of a loop of `thread` that holds the capture and waits for input that
// is not there; a thread still at work, or with input to read, is left alone.
void CancelStuckLoop(DWORD thread) {
  HWND capture = GetCapture();
  auto w = capture ? FindWindowObject(capture) : nullptr;
  if (!w || w->threadId != thread) return;
  auto q = QueueOf(thread);
  if (!q) return;
  {
    std::lock_guard lock(KernelMutex());
    if (q->handling || !q->posted.empty() || !q->sent.empty()) return;
  }
  PostMessageA(capture, WM_CANCELMODE, 0, 0);
}

void Run() {
  auto& watch = TheWatch();
  std::unique_lock lock(watch.m);
  for (;;) {
    if (watch.armed.empty()) {
      watch.cv.wait(lock);
      continue;
    }
    Clock::time_point due = Clock::time_point::max();
    for (auto& [id, a] : watch.armed) due = std::min(due, a.due);
    const Clock::time_point now = Clock::now();
    if (now < due) {
      watch.cv.wait_until(lock, due);
      continue;
    }
    std::vector<DWORD> late;
    for (auto& [id, a] : watch.armed) {
      if (a.due > now) continue;
      late.push_back(a.thread);
      a.due = now + std::chrono::milliseconds(100);  // looked at again while it stays armed
    }
    lock.unlock();
    for (DWORD thread : late) CancelStuckLoop(thread);
    lock.lock();
  }
}

}  // namespace

InputDeadline::InputDeadline(std::chrono::milliseconds limit) {
  auto& watch = TheWatch();
  {
    std::lock_guard lock(watch.m);
    id_ = watch.next++;
    watch.armed[id_] = Armed{CurrentThreadId(), Clock::now() + limit};
    if (!watch.started) {
      watch.started = true;
      std::thread(Run).detach();
    }
  }
  watch.cv.notify_all();
}

InputDeadline::~InputDeadline() {
  auto& watch = TheWatch();
  {
    std::lock_guard lock(watch.m);
    watch.armed.erase(id_);
  }
  watch.cv.notify_all();
}

}  // namespace plat::user::driver
