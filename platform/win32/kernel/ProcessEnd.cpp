#include "kernel/ProcessEnd.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "kernel/ThreadRegistry.h"

namespace plat {
namespace {

std::atomic<bool> g_ending{false};
std::atomic<pid_t> g_endingTid{0};
std::atomic<DWORD> g_endingId{0};

pid_t NativeTid() { return static_cast<pid_t>(syscall(SYS_gettid)); }

void MarkEnding() {
  if (g_ending.load()) return;
  g_endingTid = NativeTid();
  g_endingId = PeekCurrentThreadId();
  g_ending = true;
}

// exit() runs the calling thread's thread_local destructors before any static one, so
// the main thread's sentinel marks the end before statics go. The atexit handler covers
// exit() called from another thread.
struct MainThreadSentinel {
  bool armed = false;
  ~MainThreadSentinel() {
    if (armed && NativeTid() == getpid()) MarkEnding();
  }
};
thread_local MainThreadSentinel t_sentinel;

[[maybe_unused]] const bool g_installed = [] {
  t_sentinel.armed = true;  // touching it on the loading thread makes its destructor run
  std::atexit(MarkEnding);
  return true;
}();

}  // namespace

bool ProcessEnding() { return g_ending.load(std::memory_order_acquire); }

bool EndedWithProcess() { return ProcessEnding() && NativeTid() != g_endingTid.load(); }

bool ThreadEndedWithProcess(DWORD threadId) { return ProcessEnding() && threadId != g_endingId.load(); }

}  // namespace plat
