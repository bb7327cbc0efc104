#include <pthread.h>

#include <system_error>
#include <thread>

#include "Faults.h"
#include "LastError.h"
#include "WinError.h"
#include "WinSync.h"
#include "process.h"
#include "kernel/ThreadRegistry.h"

namespace {

// ExitThread unwinds the thread's stack back to its start, so destructors run.
struct ThreadExit {
  DWORD code;
};
thread_local bool t_startedHere = false;

constexpr uintptr_t kCurrentThreadPseudo = static_cast<uintptr_t>(-2);

std::shared_ptr<plat::ThreadObject> FindThread(HANDLE h) {
  if (reinterpret_cast<uintptr_t>(h) == kCurrentThreadPseudo) return plat::CurrentThreadObject();
  return plat::FindKernel<plat::ThreadObject>(h);
}

void Run(std::shared_ptr<plat::ThreadObject> self, LPTHREAD_START_ROUTINE start, LPVOID param) {
  plat::AdoptThread(self);
  t_startedHere = true;
  {
    std::unique_lock lock(plat::KernelMutex());
    plat::KernelCondition().wait(lock, [&] { return self->suspendCount == 0; });
  }
  DWORD code;
  try {
    code = start(param);
  } catch (const ThreadExit& e) {
    code = e.code;
  }
  {
    std::lock_guard lock(plat::KernelMutex());
    self->Finish(code);
  }
  plat::EndCurrentThread();  // also wakes the waiters for the thread
}

}  // namespace

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID param, DWORD flags,
                    LPDWORD threadId) {
  if (!start) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (DWORD e = plat::faults::Check("CreateThread")) {
    SetLastError(e);
    return nullptr;
  }
  auto self = std::make_shared<plat::ThreadObject>(plat::ReserveThreadId());
  if (flags & CREATE_SUSPENDED) self->suspendCount = 1;
  HANDLE h = plat::InsertKernelObject(self);
  if (!h) return nullptr;
  try {
    std::thread(Run, self, start, param).detach();
  } catch (const std::system_error&) {
    CloseHandle(h);
    std::lock_guard lock(plat::KernelMutex());
    self->Finish(0);
    plat::ReleaseThreadId(self->Id());
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (threadId) *threadId = self->Id();
  return h;
}

void ExitThread(DWORD exitCode) {
  if (t_startedHere) throw ThreadExit{exitCode};
  // A thread the stand-in did not start has no start frame to unwind to.
  {
    auto self = plat::CurrentThreadObject();
    std::lock_guard lock(plat::KernelMutex());
    self->Finish(exitCode);
  }
  plat::EndCurrentThread();
  pthread_exit(nullptr);
}

DWORD ResumeThread(HANDLE h) {
  auto thread = FindThread(h);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return static_cast<DWORD>(-1);
  }
  DWORD previous;
  {
    std::lock_guard lock(plat::KernelMutex());
    previous = thread->suspendCount;
    if (thread->suspendCount > 0) --thread->suspendCount;
  }
  plat::KernelCondition().notify_all();
  return previous;
}

BOOL GetExitCodeThread(HANDLE h, LPDWORD exitCode) {
  auto thread = FindThread(h);
  if (!thread || !exitCode) {
    SetLastError(thread ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard lock(plat::KernelMutex());
  *exitCode = thread->Finished() ? thread->ExitCode() : STILL_ACTIVE;
  return TRUE;
}

BOOL SetThreadPriority(HANDLE h, int priority) {
  auto thread = FindThread(h);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  bool known = (priority >= THREAD_PRIORITY_LOWEST && priority <= THREAD_PRIORITY_HIGHEST) ||
               priority == THREAD_PRIORITY_IDLE || priority == THREAD_PRIORITY_TIME_CRITICAL;
  if (!known) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(plat::KernelMutex());
  thread->priority = priority;
  return TRUE;
}

int GetThreadPriority(HANDLE h) {
  auto thread = FindThread(h);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return THREAD_PRIORITY_ERROR_RETURN;
  }
  std::lock_guard lock(plat::KernelMutex());
  return thread->priority;
}

DWORD GetCurrentThreadId() { return plat::CurrentThreadId(); }

HANDLE GetCurrentThread() { return reinterpret_cast<HANDLE>(kCurrentThreadPseudo); }

uintptr_t _beginthreadex(void* security, unsigned stackSize, unsigned(WINAPI* start)(void*), void* arg,
                         unsigned flags, unsigned* threadId) {
  // A thread routine of the C run-time has the Win32 shape: DWORD is unsigned here.
  DWORD id = 0;
  HANDLE h = CreateThread(static_cast<LPSECURITY_ATTRIBUTES>(security), stackSize, start, arg, flags, &id);
  if (h && threadId) *threadId = id;
  return reinterpret_cast<uintptr_t>(h);
}

void _endthreadex(unsigned exitCode) { ExitThread(exitCode); }
