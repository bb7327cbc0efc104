#include "KernelObject.h"

#include <strings.h>

#include <atomic>
#include <vector>

#include "HandleTable.h"
#include "Immortal.h"
#include "LastError.h"
#include "WinError.h"

namespace plat {
namespace {
// Threads still starting or waking when the process ends look their handles up here.
HandleTable<KernelObject>& Table() {
  static Immortal<HandleTable<KernelObject>> table(HandleKind::Kernel);
  return table.get();
}

struct Device {
  std::string name;
  DeviceOpener opener;
};
std::mutex g_deviceMutex;
std::vector<Device>& Devices() {
  static std::vector<Device> devices;
  return devices;
}

bool DeviceMatches(const std::string& pattern, std::string_view name) {
  if (!pattern.empty() && pattern.back() == '*') {
    size_t n = pattern.size() - 1;
    return name.size() >= n && strncasecmp(pattern.data(), name.data(), n) == 0;
  }
  return name.size() == pattern.size() && strncasecmp(pattern.data(), name.data(), name.size()) == 0;
}
}  // namespace

BOOL KernelObject::Read(void*, DWORD, DWORD*, OVERLAPPED*) {
  ::SetLastError(ERROR_INVALID_FUNCTION);
  return FALSE;
}
BOOL KernelObject::Write(const void*, DWORD, DWORD*, OVERLAPPED*) {
  ::SetLastError(ERROR_INVALID_FUNCTION);
  return FALSE;
}
BOOL KernelObject::IoControl(DWORD, const void*, DWORD, void*, DWORD, DWORD*, OVERLAPPED*) {
  ::SetLastError(ERROR_INVALID_FUNCTION);
  return FALSE;
}
BOOL KernelObject::CancelIo() {
  ::SetLastError(ERROR_INVALID_FUNCTION);
  return FALSE;
}

HANDLE InsertKernelObject(std::shared_ptr<KernelObject> object) {
  uint32_t id = Table().Insert(std::move(object));
  if (id == 0) {
    ::SetLastError(ERROR_TOO_MANY_OPEN_FILES);
    return nullptr;
  }
  return ToHandle<HANDLE>(id);
}

std::shared_ptr<KernelObject> FindKernelObject(HANDLE h) { return Table().Find(HandleId(h)); }

BOOL CloseKernelHandle(HANDLE h) {
  std::shared_ptr<KernelObject> object = Table().Remove(HandleId(h));
  if (!object) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  object->OnClose();
  NotifyObjectWaiters();  // a thread waiting on a closed handle must see it go
  return TRUE;
}

// Both outlive every waiting thread (see Immortal.h).
std::mutex& KernelMutex() {
  static Immortal<std::mutex> m;
  return m.get();
}

WaitCondition& KernelCondition() {
  static Immortal<WaitCondition> cv;
  return cv.get();
}

void NotifyWaiters() {
  // Taking the lock orders this wake-up after any state change made under it.
  { std::lock_guard lock(KernelMutex()); }
  KernelCondition().notify_all();
}

namespace {
// Counted up with KernelMutex() held, before the waiter first looks at its objects.
std::atomic<int> g_objectWaiters{0};
}  // namespace

ObjectWaitScope::ObjectWaitScope() { ++g_objectWaiters; }

ObjectWaitScope::~ObjectWaitScope() { --g_objectWaiters; }

void NotifyObjectWaiters() {
  {
    // A waiter counts itself under the lock before it looks at the objects: one that
    // comes later sees the change made before this call.
    std::lock_guard lock(KernelMutex());
    if (g_objectWaiters == 0) return;
  }
  KernelCondition().notify_all();
}

void RegisterDevice(std::string name, DeviceOpener opener) {
  std::lock_guard lock(g_deviceMutex);
  Devices().push_back(Device{std::move(name), std::move(opener)});
}

std::shared_ptr<KernelObject> OpenDevice(std::string_view name, DWORD access, DWORD flags, DWORD* error) {
  DeviceOpener opener;
  {
    std::lock_guard lock(g_deviceMutex);
    for (auto& d : Devices())
      if (DeviceMatches(d.name, name)) {
        opener = d.opener;
        break;
      }
  }
  *error = ERROR_FILE_NOT_FOUND;
  if (!opener) return nullptr;
  return opener(name, access, flags, error);
}

}  // namespace plat

BOOL CloseHandle(HANDLE h) { return plat::CloseKernelHandle(h); }
