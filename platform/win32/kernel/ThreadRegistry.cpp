#include "ThreadRegistry.h"

#include <atomic>
#include <mutex>
#include <unordered_set>

#include "Immortal.h"

namespace plat {
namespace {

// Threads still running while exit() destroys statics end through these.
std::mutex& LiveMutex() {
  static Immortal<std::mutex> m;
  return m.get();
}
std::unordered_set<DWORD>& Live() {
  static Immortal<std::unordered_set<DWORD>> live;
  return live.get();
}
std::atomic<DWORD> g_nextId{1};

void Forget(DWORD id) {
  std::lock_guard lock(LiveMutex());
  Live().erase(id);
}

// The id is a plain value, so it stays readable to the very end of the thread, even
// from other thread-local destructors.
thread_local DWORD t_id = 0;

// One per thread; its destruction at thread exit ends the thread's life as an id.
struct ThreadRecord {
  std::shared_ptr<ThreadObject> self;  // made on demand for threads the stand-in did not start
  bool ended = false;

  void End() {
    if (ended || !t_id) return;
    ended = true;
    Forget(t_id);
    NotifyWaiters();
  }
  ~ThreadRecord() { End(); }
};
thread_local ThreadRecord t_record;

}  // namespace

DWORD ReserveThreadId() {
  DWORD id = g_nextId.fetch_add(1);
  std::lock_guard lock(LiveMutex());
  Live().insert(id);
  return id;
}

void ReleaseThreadId(DWORD id) { Forget(id); }

void AdoptThread(std::shared_ptr<ThreadObject> self) {
  t_id = self->Id();
  t_record.self = std::move(self);
}

DWORD CurrentThreadId() {
  if (!t_id) {
    t_id = ReserveThreadId();
    t_record.ended = false;  // touching the record makes it end the id at thread exit
  }
  return t_id;
}

DWORD PeekCurrentThreadId() { return t_id; }

std::shared_ptr<ThreadObject> CurrentThreadObject() {
  if (!t_record.self) t_record.self = std::make_shared<ThreadObject>(CurrentThreadId());
  return t_record.self;
}

bool ThreadAlive(DWORD id) {
  std::lock_guard lock(LiveMutex());
  return Live().count(id) != 0;
}

void EndCurrentThread() { t_record.End(); }

}  // namespace plat
