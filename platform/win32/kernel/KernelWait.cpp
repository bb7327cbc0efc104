#include "kernel/KernelWait.h"

#include <chrono>
#include <optional>

#include "Clock.h"
#include "LastError.h"
#include "WinError.h"
#include "WinSync.h"
#include "kernel/SyncObjects.h"
#include "kernel/ThreadRegistry.h"

namespace plat {
namespace {

bool AbandonedFor(const KernelObject& object, DWORD self) {
  auto* mutex = dynamic_cast<const MutexObject*>(&object);
  return mutex && mutex->Abandoned(self);
}

// Called with KernelMutex() held; takes the objects when the wait is satisfied.
std::optional<DWORD> TrySatisfy(const std::vector<std::shared_ptr<KernelObject>>& objects, bool waitAll,
                                DWORD self) {
  if (!waitAll) {
    for (size_t i = 0; i < objects.size(); ++i) {
      if (!objects[i]->IsSignaled(self)) continue;
      bool abandoned = AbandonedFor(*objects[i], self);
      objects[i]->Acquire(self);
      return static_cast<DWORD>((abandoned ? WAIT_ABANDONED_0 : WAIT_OBJECT_0) + i);
    }
    return std::nullopt;
  }
  for (auto& o : objects)
    if (!o->IsSignaled(self)) return std::nullopt;
  std::optional<size_t> firstAbandoned;
  for (size_t i = 0; i < objects.size(); ++i) {
    if (!firstAbandoned && AbandonedFor(*objects[i], self)) firstAbandoned = i;
    objects[i]->Acquire(self);
  }
  return firstAbandoned ? static_cast<DWORD>(WAIT_ABANDONED_0 + *firstAbandoned) : WAIT_OBJECT_0;
}

}  // namespace

DWORD WaitForObjects(const std::vector<std::shared_ptr<KernelObject>>& objects, bool waitAll, DWORD milliseconds) {
  DWORD self = CurrentThreadId();
  const bool forever = milliseconds == INFINITE;
  const int64_t deadline = forever ? 0 : clock::NowMicros() + int64_t(milliseconds) * 1000;
  std::optional<std::chrono::steady_clock::time_point> graceEnd;
  std::unique_lock lock(KernelMutex());
  ObjectWaitScope waiting;
  for (;;) {
    if (auto result = TrySatisfy(objects, waitAll, self)) return *result;
    if (forever) {
      KernelCondition().wait(lock);
      continue;
    }
    int64_t now = clock::NowMicros();
    if (milliseconds == 0 || now >= deadline) return WAIT_TIMEOUT;
    if (clock::IsVirtual()) {
      // The grace is counted once per wait, so a stream of unrelated wake-ups cannot stretch it.
      if (!graceEnd) graceEnd = std::chrono::steady_clock::now() + kVirtualGrace;
      if (KernelCondition().wait_until(lock, *graceEnd) == std::cv_status::timeout)
        clock::Advance(deadline - clock::NowMicros());
    } else {
      KernelCondition().wait_for(lock, std::chrono::microseconds(deadline - now));
    }
  }
}

}  // namespace plat

namespace {

bool Resolve(DWORD count, const HANDLE* handles, std::vector<std::shared_ptr<plat::KernelObject>>* out) {
  for (DWORD i = 0; i < count; ++i) {
    auto object = plat::FindKernelObject(handles[i]);
    if (!object) {
      SetLastError(ERROR_INVALID_HANDLE);
      return false;
    }
    out->push_back(std::move(object));
  }
  return true;
}

}  // namespace

DWORD WaitForSingleObject(HANDLE h, DWORD milliseconds) { return WaitForMultipleObjects(1, &h, FALSE, milliseconds); }

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<plat::KernelObject>> objects;
  if (!Resolve(count, handles, &objects)) return WAIT_FAILED;
  if (waitAll) {
    // Waiting for all of a list that names one object twice can never be satisfied.
    for (size_t i = 0; i < objects.size(); ++i)
      for (size_t j = i + 1; j < objects.size(); ++j)
        if (objects[i] == objects[j]) {
          SetLastError(ERROR_INVALID_PARAMETER);
          return WAIT_FAILED;
        }
  }
  return plat::WaitForObjects(objects, waitAll != FALSE, milliseconds);
}
