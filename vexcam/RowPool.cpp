#include "RowPool.h"

#include <algorithm>
#include <chrono>

#if defined(__linux__)
#include <sched.h>
#endif

namespace vexcam {
namespace {

// A thread inside a pass (a worker, or a caller running its parts) never starts one of
// its own with the pool: it would wait for itself.
thread_local bool t_inPass = false;

struct InPass {
  InPass() { t_inPass = true; }
  ~InPass() { t_inPass = false; }
};

// A pass's rows come in short steps between progress reports: a thread waits this long
// on the processor for the next step before it sleeps, so a step starts without the
// cost of waking it.
constexpr auto kSpin = std::chrono::microseconds(50);

inline void Relax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#elif defined(__aarch64__)
  asm volatile("yield");
#endif
}

// Spins until `done` holds or the spin time is over; whether it holds. After a short
// while on the processor it yields between looks, so that on a busy machine the thread
// that holds the rest of the pass gets the processor rather than the one waiting for it.
template <class Done>
bool SpinUntil(Done done) {
  const auto until = std::chrono::steady_clock::now() + kSpin;
  for (int i = 1;; ++i) {
    if (done()) return true;
    if (i < 256) {
      Relax();
    } else {
      std::this_thread::yield();
      if (std::chrono::steady_clock::now() >= until) return done();
    }
  }
}

// The processors this process may run on (taskset and cgroups narrow the machine's).
int ProcessorCount() {
#if defined(__linux__)
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
#endif
  return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace

RowPool& RowPool::Shared() {
  static RowPool pool(ProcessorCount() - 1);
  return pool;
}

RowPool::RowPool(int workers) {
  for (int i = 0; i < workers; ++i) workers_.emplace_back([this] { Work(); });
}

RowPool::~RowPool() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    stop_ = true;
  }
  wake_.notify_all();
  for (std::thread& t : workers_) t.join();
}

void RowPool::TakeParts(uint32_t generation, const std::function<void(int)>* part, int parts) {
  uint64_t t = ticket_.load(std::memory_order_acquire);
  for (;;) {
    if (uint32_t(t >> 32) != generation || int(uint32_t(t)) >= parts) return;
    if (!ticket_.compare_exchange_weak(t, t + 1, std::memory_order_acq_rel)) continue;
    (*part)(int(uint32_t(t)));
    if (remaining_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
      std::lock_guard<std::mutex> hold(lock_);
      finished_.notify_all();
    }
    t = ticket_.load(std::memory_order_acquire);
  }
}

void RowPool::Work() {
  t_inPass = true;
  uint32_t seen = 0;
  for (;;) {
    SpinUntil([&] { return generation_.load(std::memory_order_acquire) != seen; });
    const std::function<void(int)>* part;
    int parts;
    uint32_t generation;
    {
      std::unique_lock<std::mutex> hold(lock_);
      if (generation_.load(std::memory_order_relaxed) == seen && !stop_) {
        ++sleepers_;
        wake_.wait(hold, [&] { return stop_ || generation_.load(std::memory_order_relaxed) != seen; });
        --sleepers_;
      }
      if (stop_) return;
      seen = generation = generation_.load(std::memory_order_relaxed);
      part = part_, parts = parts_;
    }
    TakeParts(generation, part, parts);
  }
}

void RowPool::Run(int parts, const std::function<void(int)>& part) {
  if (parts <= 0) return;
  std::unique_lock<std::mutex> running(runLock_, std::defer_lock);
  if (parts == 1 || workers_.empty() || t_inPass || !running.try_lock()) {
    for (int i = 0; i < parts; ++i) part(i);
    return;
  }
  const InPass inPass;
  uint32_t generation;
  bool sleeping;
  {
    std::lock_guard<std::mutex> hold(lock_);
    generation = generation_.load(std::memory_order_relaxed) + 1;
    part_ = &part, parts_ = parts;
    remaining_.store(parts, std::memory_order_relaxed);
    ticket_.store(uint64_t(generation) << 32, std::memory_order_release);
    generation_.store(generation, std::memory_order_release);
    sleeping = sleepers_ > 0;
  }
  if (sleeping) wake_.notify_all();
  TakeParts(generation, &part, parts);
  if (SpinUntil([&] { return remaining_.load(std::memory_order_acquire) == 0; })) return;
  std::unique_lock<std::mutex> hold(lock_);
  finished_.wait(hold, [&] { return remaining_.load(std::memory_order_acquire) == 0; });
}

void RunParts(int parts, const std::function<void(int)>& part) {
  if (parts == 1) return part(0);
  if (parts > 1) RowPool::Shared().Run(parts, part);
}

int PassThreads(int threads) { return threads > 0 ? threads : RowPool::Shared().Threads(); }

void ShareRows(int threads, LONG first, LONG last, const std::function<void(LONG, LONG)>& rows) {
  const LONG count = last - first;
  if (count <= 0) return;
  const int bands = int(std::min<LONG>(PassThreads(threads), count));
  if (bands <= 1) return rows(first, last);
  RunParts(bands, [&](int k) {
    rows(first + LONG(int64_t(count) * k / bands), first + LONG(int64_t(count) * (k + 1) / bands));
  });
}

}  // namespace vexcam
