#include "ThreadRegistry.h"

#include <atomic>
#include <mutex>
#include <unordered_set>

namespace plat {
namespace {

std::mutex& LiveMutex() {
  static std::mutex m;
  return m;
}
std::unordered_set<DWORD>& Live() {
  static std::unordered_set<DWORD> live;
  return live;
}
std::atomic<DWORD> g_nextId{1};

void Forget(DWORD id) {
  std::lock_guard lock(LiveMutex());
  Live().erase(id);
}

// One per thread; its destruction at thread exit ends the thread's life as an id.
struct ThreadRecord {
  std::shared_ptr<ThreadObject> self;
  bool ended = false;

  ThreadObject& Get() {
    if (!self) {
      self = std::make_shared<ThreadObject>(ReserveThreadId());
    }
    return *self;
  }
  void End() {
    if (ended || !self) return;
    ended = true;
    Forget(self->Id());
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

void AdoptThread(std::shared_ptr<ThreadObject> self) { t_record.self = std::move(self); }

DWORD CurrentThreadId() { return t_record.Get().Id(); }

std::shared_ptr<ThreadObject> CurrentThreadObject() {
  t_record.Get();
  return t_record.self;
}

bool ThreadAlive(DWORD id) {
  std::lock_guard lock(LiveMutex());
  return Live().count(id) != 0;
}

void EndCurrentThread() { t_record.End(); }

}  // namespace plat
