// Kernel objects behind HANDLE values (files, devices, events, mutexes, threads,
// processes) and the one place every wait in the stand-in sleeps on.
#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "WaitCondition.h"
#include "WinTypes.h"

namespace plat {

class KernelObject {
 public:
  virtual ~KernelObject() = default;

  // Waiting. Both are called with KernelMutex() held. Whoever changes what
  // IsSignaled answers calls NotifyWaiters() afterwards.
  virtual bool IsSignaled(DWORD threadId) const { return false; }
  // Called once a wait was satisfied by this object (auto-reset events reset, mutexes are owned).
  virtual void Acquire(DWORD threadId) {}

  // File-like I/O; each fails with ERROR_INVALID_FUNCTION unless the object supports it.
  virtual BOOL Read(void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped);
  virtual BOOL Write(const void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped);
  virtual BOOL IoControl(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
                         DWORD* returned, OVERLAPPED* overlapped);
  virtual BOOL CancelIo();

  // Called when the last handle to the object is closed.
  virtual void OnClose() {}
};

HANDLE InsertKernelObject(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> FindKernelObject(HANDLE h);
template <class T>
std::shared_ptr<T> FindKernel(HANDLE h) {
  return std::dynamic_pointer_cast<T>(FindKernelObject(h));
}
// Removes the handle; returns FALSE with ERROR_INVALID_HANDLE for a stale or foreign one.
BOOL CloseKernelHandle(HANDLE h);

std::mutex& KernelMutex();
WaitCondition& KernelCondition();
void NotifyWaiters();

// A thread that sleeps on KernelCondition() for a kernel object or an overlapped request
// holds one of these across its wait, taken with KernelMutex() held. A change to objects
// alone then wakes the sleepers only while one of them waits for objects: a thread that
// waits only for its messages is not woken by every event a worker sets.
class ObjectWaitScope {
 public:
  ObjectWaitScope();
  ~ObjectWaitScope();
  ObjectWaitScope(const ObjectWaitScope&) = delete;
  ObjectWaitScope& operator=(const ObjectWaitScope&) = delete;
};
// NotifyWaiters for a change that only waits for objects can see (an event set, a mutex
// released, an overlapped request done, a handle closed).
void NotifyObjectWaiters();

// Devices opened by CreateFileA with a "\\.\NAME" path. The opener answers nullptr
// and sets *error when it refuses.
using DeviceOpener = std::function<std::shared_ptr<KernelObject>(std::string_view name, DWORD access,
                                                                   DWORD flags, DWORD* error)>;
// `name` is matched without regard to case; a name ending in '*' matches every device
// name that begins with the rest.
void RegisterDevice(std::string name, DeviceOpener opener);
std::shared_ptr<KernelObject> OpenDevice(std::string_view name, DWORD access, DWORD flags, DWORD* error);

}  // namespace plat
