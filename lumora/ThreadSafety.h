// Thread contracts the compiler can check. Under clang the macros are its thread-safety
// attributes (the fuzz build compiles with -Wthread-safety, so a member read without its
// lock is a warning there); under other compilers they are empty. Mutex and MutexLock
// are std::mutex and std::lock_guard that clang knows as a lock and its holder.
#pragma once
#include <mutex>

#if defined(__clang__)
#define LUMORA_THREAD_ATTRIBUTE(x) __attribute__((x))
#else
#define LUMORA_THREAD_ATTRIBUTE(x)
#endif

#define CAPABILITY(x) LUMORA_THREAD_ATTRIBUTE(capability(x))
#define SCOPED_CAPABILITY LUMORA_THREAD_ATTRIBUTE(scoped_lockable)
#define GUARDED_BY(x) LUMORA_THREAD_ATTRIBUTE(guarded_by(x))
#define PT_GUARDED_BY(x) LUMORA_THREAD_ATTRIBUTE(pt_guarded_by(x))
#define REQUIRES(...) LUMORA_THREAD_ATTRIBUTE(requires_capability(__VA_ARGS__))
#define ACQUIRE(...) LUMORA_THREAD_ATTRIBUTE(acquire_capability(__VA_ARGS__))
#define RELEASE(...) LUMORA_THREAD_ATTRIBUTE(release_capability(__VA_ARGS__))
#define EXCLUDES(...) LUMORA_THREAD_ATTRIBUTE(locks_excluded(__VA_ARGS__))
#define NO_THREAD_SAFETY_ANALYSIS LUMORA_THREAD_ATTRIBUTE(no_thread_safety_analysis)

namespace vex {

class CAPABILITY("mutex") Mutex {
 public:
  void lock() ACQUIRE() { m_mutex.lock(); }
  void unlock() RELEASE() { m_mutex.unlock(); }

 private:
  std::mutex m_mutex;
};

class SCOPED_CAPABILITY MutexLock {
 public:
  explicit MutexLock(Mutex& mutex) ACQUIRE(mutex) : m_mutex(mutex) { m_mutex.lock(); }
  ~MutexLock() RELEASE() { m_mutex.unlock(); }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

 private:
  Mutex& m_mutex;
};

}  // namespace vex
