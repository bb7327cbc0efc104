// Critical sections keep their whole state in the caller's structure: a three-state
// lock word that sleeping threads wait on (std::atomic_ref wait/notify), the owner's
// thread id and the recursion count. No allocation, so they cannot fail to initialise.
#include <atomic>

#include "WinSync.h"
#include "kernel/ThreadRegistry.h"

namespace {

std::atomic_ref<LONG> LockWord(LPCRITICAL_SECTION cs) { return std::atomic_ref<LONG>(cs->LockCount); }
std::atomic_ref<DWORD> Owner(LPCRITICAL_SECTION cs) { return std::atomic_ref<DWORD>(cs->OwningThread); }

void Take(LPCRITICAL_SECTION cs, DWORD self) {
  Owner(cs).store(self, std::memory_order_relaxed);
  cs->RecursionCount = 1;
}

}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION cs) {
  cs->DebugInfo = nullptr;
  cs->LockCount = 0;
  cs->RecursionCount = 0;
  cs->OwningThread = 0;
  cs->SpinCount = 0;
}

void DeleteCriticalSection(LPCRITICAL_SECTION cs) { InitializeCriticalSection(cs); }

void EnterCriticalSection(LPCRITICAL_SECTION cs) {
  DWORD self = plat::CurrentThreadId();
  if (Owner(cs).load(std::memory_order_relaxed) == self) {
    ++cs->RecursionCount;
    return;
  }
  auto word = LockWord(cs);
  LONG seen = 0;
  if (!word.compare_exchange_strong(seen, 1, std::memory_order_acquire)) {
    // Contended: mark "held with waiters" and sleep until a release hands it over.
    if (seen != 2) seen = word.exchange(2, std::memory_order_acquire);
    while (seen != 0) {
      word.wait(2, std::memory_order_relaxed);
      seen = word.exchange(2, std::memory_order_acquire);
    }
  }
  Take(cs, self);
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION cs) {
  DWORD self = plat::CurrentThreadId();
  if (Owner(cs).load(std::memory_order_relaxed) == self) {
    ++cs->RecursionCount;
    return TRUE;
  }
  LONG expected = 0;
  if (!LockWord(cs).compare_exchange_strong(expected, 1, std::memory_order_acquire)) return FALSE;
  Take(cs, self);
  return TRUE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION cs) {
  // Leaving a section the thread does not hold is a caller error; it must not free
  // the section under its real owner.
  if (Owner(cs).load(std::memory_order_relaxed) != plat::CurrentThreadId() || cs->RecursionCount <= 0) return;
  if (--cs->RecursionCount > 0) return;
  Owner(cs).store(0, std::memory_order_relaxed);
  auto word = LockWord(cs);
  if (word.exchange(0, std::memory_order_release) == 2) word.notify_one();
}
