// Events and mutexes as kernel objects. Their state is only touched with
// KernelMutex() held.
#pragma once
#include <memory>

#include "KernelObject.h"
#include "kernel/NamedObjectLock.h"

namespace plat {

class EventObject : public KernelObject {
 public:
  EventObject(bool manualReset, bool signaled) : manual_(manualReset), signaled_(signaled) {}
  bool IsSignaled(DWORD) const override { return signaled_; }
  void Acquire(DWORD) override {
    if (!manual_) signaled_ = false;  // an auto-reset event lets exactly one waiter through
  }
  void Set() { signaled_ = true; }
  void Reset() { signaled_ = false; }

 private:
  bool manual_;
  bool signaled_;
};

class MutexObject : public KernelObject {
 public:
  // Free when no thread owns it, or when its owner ended without releasing it.
  bool IsSignaled(DWORD threadId) const override;
  void Acquire(DWORD threadId) override;
  // True when taking the mutex now would take it from a thread that ended.
  bool Abandoned(DWORD threadId) const;
  bool Release(DWORD threadId);

  // Keeps the name visible to other processes for the life of the object.
  void HoldName(std::unique_ptr<NamedObjectLock> lock) { name_ = std::move(lock); }

 private:
  DWORD owner_ = 0;
  LONG count_ = 0;
  std::unique_ptr<NamedObjectLock> name_;
};

}  // namespace plat
