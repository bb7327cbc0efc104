// Thread ids and thread objects. Every thread that touches the stand-in gets a small
// id on first use; a thread's id counts as alive until the thread ends, which is how
// a mutex left owned by a finished thread is found abandoned.
#pragma once
#include <memory>

#include "KernelObject.h"
#include "kernel/ProcessEnd.h"

namespace plat {

class ThreadObject : public KernelObject {
 public:
  explicit ThreadObject(DWORD id) : id_(id) {}
  DWORD Id() const { return id_; }

  // A thread also counts as ended once the process ends on another thread.
  bool IsSignaled(DWORD) const override { return finished_ || ThreadEndedWithProcess(id_); }

  // All of these are called with KernelMutex() held.
  bool Finished() const { return finished_; }
  DWORD ExitCode() const { return exitCode_; }
  void Finish(DWORD code) {
    exitCode_ = code;
    finished_ = true;
  }
  DWORD suspendCount = 0;
  int priority = 0;  // recorded only; the host schedules threads itself

 private:
  DWORD id_;
  bool finished_ = false;
  DWORD exitCode_ = 0;
};

// The calling thread's id.
DWORD CurrentThreadId();
// The calling thread's id, or 0 when it has none yet; never makes one.
DWORD PeekCurrentThreadId();
// The calling thread's object (also for threads the stand-in did not start).
std::shared_ptr<ThreadObject> CurrentThreadObject();
// Whether the thread with this id has not yet ended. Safe with KernelMutex() held.
bool ThreadAlive(DWORD id);

// Used by CreateThread: reserves an id for a thread about to start (alive from now
// on), and adopts it as the calling thread's identity once the thread runs.
DWORD ReserveThreadId();
void ReleaseThreadId(DWORD id);  // a reserved thread that never started
void AdoptThread(std::shared_ptr<ThreadObject> self);
// Marks the calling thread ended (also done when it exits) and wakes the waiters.
void EndCurrentThread();

}  // namespace plat
