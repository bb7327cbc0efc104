#include "kernel/SyncObjects.h"

#include <map>
#include <mutex>

#include "Faults.h"
#include "LastError.h"
#include "WinError.h"
#include "WinSync.h"
#include "kernel/ThreadRegistry.h"

namespace plat {

bool MutexObject::IsSignaled(DWORD threadId) const {
  return owner_ == 0 || owner_ == threadId || !ThreadAlive(owner_);
}

bool MutexObject::Abandoned(DWORD threadId) const {
  return owner_ != 0 && owner_ != threadId && !ThreadAlive(owner_);
}

void MutexObject::Acquire(DWORD threadId) {
  if (owner_ == threadId) {
    ++count_;
    return;
  }
  owner_ = threadId;
  count_ = 1;
}

bool MutexObject::Release(DWORD threadId) {
  if (owner_ != threadId || count_ == 0) return false;
  if (--count_ == 0) owner_ = 0;
  return true;
}

namespace {

// Names of the objects of this process; a name is free again once its object is gone.
std::mutex g_namesMutex;
std::map<std::string, std::weak_ptr<KernelObject>>& Names() {
  static std::map<std::string, std::weak_ptr<KernelObject>> names;
  return names;
}

// Creates or opens a named object: answers a new handle to the live object of that
// name (ERROR_ALREADY_EXISTS) or to `fresh` (registered under the name).
template <class T>
HANDLE CreateNamed(const char* name, std::shared_ptr<T> fresh, bool* opened) {
  *opened = false;
  if (!name || !*name) return InsertKernelObject(std::move(fresh));
  std::lock_guard lock(g_namesMutex);
  auto& names = Names();
  if (auto existing = names[name].lock()) {
    auto same = std::dynamic_pointer_cast<T>(existing);
    if (!same) {  // the name belongs to an object of another type
      ::SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    *opened = true;
    return InsertKernelObject(std::move(same));
  }
  HANDLE h = InsertKernelObject(fresh);
  if (h) names[name] = fresh;
  return h;
}

}  // namespace
}  // namespace plat

using plat::EventObject;
using plat::MutexObject;

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name) {
  if (DWORD e = plat::faults::Check("CreateEvent")) {
    SetLastError(e);
    return nullptr;
  }
  bool opened;
  HANDLE h = plat::CreateNamed(name, std::make_shared<EventObject>(manualReset != FALSE, initialState != FALSE),
                               &opened);
  if (h) SetLastError(opened ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return h;
}

namespace {

BOOL ChangeEvent(HANDLE h, bool signaled) {
  auto event = plat::FindKernel<EventObject>(h);
  if (!event) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  {
    std::lock_guard lock(plat::KernelMutex());
    if (signaled)
      event->Set();
    else
      event->Reset();
  }
  if (signaled) plat::NotifyObjectWaiters();
  return TRUE;
}

}  // namespace

BOOL SetEvent(HANDLE h) { return ChangeEvent(h, true); }

BOOL ResetEvent(HANDLE h) { return ChangeEvent(h, false); }

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCSTR name) {
  if (DWORD e = plat::faults::Check("CreateMutex")) {
    SetLastError(e);
    return nullptr;
  }
  auto fresh = std::make_shared<MutexObject>();
  bool opened = false;
  HANDLE h = plat::CreateNamed(name, fresh, &opened);
  if (!h) return nullptr;
  bool elsewhere = false;
  if (!opened && name && *name) {
    // First holder in this process: join (or found) the name across processes.
    fresh->HoldName(plat::NamedObjectLock::Open(name, &elsewhere));
  }
  if (initialOwner && !opened && !elsewhere) {
    // Only the creator takes initial ownership; opening an existing mutex never does.
    DWORD self = plat::CurrentThreadId();
    std::lock_guard lock(plat::KernelMutex());
    fresh->Acquire(self);
  }
  SetLastError(opened || elsewhere ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return h;
}

BOOL ReleaseMutex(HANDLE h) {
  auto mutex = plat::FindKernel<MutexObject>(h);
  if (!mutex) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  DWORD self = plat::CurrentThreadId();
  {
    std::lock_guard lock(plat::KernelMutex());
    if (!mutex->Release(self)) {
      SetLastError(ERROR_NOT_OWNER);
      return FALSE;
    }
  }
  plat::NotifyObjectWaiters();
  return TRUE;
}
