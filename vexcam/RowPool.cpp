#include "RowPool.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

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

void RowPool::Run(int parts, const std::function<void(int)>& part, const std::function<void()>& onCaller) {
  if (parts <= 0) {
    if (onCaller) onCaller();
    return;
  }
  std::unique_lock<std::mutex> running(runLock_, std::defer_lock);
  if ((parts == 1 && !onCaller) || workers_.empty() || t_inPass || !running.try_lock()) {
    if (onCaller) onCaller();
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
  if (onCaller) onCaller();
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

LONG ReportingPass(int threads, LONG count, const std::function<bool(LONG)>& reportsAfter,
                   const std::function<bool(LONG)>& report, const std::function<void(LONG, LONG)>& rows,
                   const PassRows* ahead, bool* cancelled) {
  *cancelled = false;
  // The stretches: each ends with a row after which a report comes, or the last row.
  std::vector<LONG> ends;
  for (LONG r = 0; r < count; ++r)
    if (r + 1 == count || reportsAfter(r)) ends.push_back(r + 1);
  auto reportAfter = [&](size_t k) {
    const LONG last = ends[k] - 1;
    if (reportsAfter(last) && !report(last)) *cancelled = true;
    return !*cancelled;
  };
  const int bands = PassThreads(threads);
  const size_t n = ends.size();
  if (!ahead || bands <= 1 || n < 2) {
    LONG done = 0;
    for (size_t k = 0; k < n; ++k) {
      ShareRows(threads, done, ends[k], rows);
      done = ends[k];
      if (!reportAfter(k)) break;
    }
    return done;
  }

  // A stretch is taken at most `window` stretches past the last report, and one taken
  // before the reports of the stretches ahead of it keeps its rows as they were, so a
  // cancel can put them back.
  const size_t window = 2 * size_t(bands);
  std::vector<std::vector<BYTE>> kept(window);
  std::vector<char> wasKept(n, 0);
  auto keep = [&](size_t k, bool back) {
    std::vector<BYTE>& slot = kept[k % window];
    const LONG first = k ? ends[k - 1] : 0;
    if (!back) slot.resize(size_t(ends[k] - first) * ahead->rowBytes);
    for (LONG r = first; r < ends[k]; ++r) {
      BYTE* picture = ahead->row(r);
      BYTE* copy = slot.data() + size_t(r - first) * ahead->rowBytes;
      std::memcpy(back ? picture : copy, back ? copy : picture, ahead->rowBytes);
    }
  };
  std::unique_ptr<std::atomic<bool>[]> finished(new std::atomic<bool>[n]);
  for (size_t k = 0; k < n; ++k) finished[k].store(false, std::memory_order_relaxed);
  std::atomic<size_t> next{0}, reported{0};
  std::atomic<bool> stop{false};
  // The caller reports every stretch done in order so far.
  auto reportFinished = [&] {
    size_t k = reported.load(std::memory_order_relaxed);
    while (!*cancelled && k < n && finished[k].load(std::memory_order_acquire)) {
      const bool goOn = reportAfter(k);
      reported.store(++k, std::memory_order_release);
      if (!goOn) stop.store(true, std::memory_order_release);
    }
  };
  // Takes stretches until none is left; the caller reports between them and while it
  // waits for the window to move.
  auto work = [&](bool onCaller) {
    for (;;) {
      const size_t k = next.fetch_add(1, std::memory_order_relaxed);
      if (k >= n) return;
      while (k >= reported.load(std::memory_order_acquire) + window && !stop.load(std::memory_order_acquire)) {
        if (onCaller)
          reportFinished();
        else
          std::this_thread::yield();
      }
      if (stop.load(std::memory_order_acquire)) return;
      if (k > reported.load(std::memory_order_acquire)) keep(k, false), wasKept[k] = 1;
      rows(k ? ends[k - 1] : 0, ends[k]);
      finished[k].store(true, std::memory_order_release);
      if (onCaller) reportFinished();
    }
  };
  RowPool::Shared().Run(bands - 1, [&](int) { work(false); }, [&] {
    work(true);
    // The last stretches may still be worked elsewhere: their reports follow them.
    while (!stop.load(std::memory_order_acquire) && reported.load(std::memory_order_relaxed) < n) {
      reportFinished();
      std::this_thread::yield();
    }
  });
  const size_t done = reported.load(std::memory_order_relaxed);
  if (*cancelled)
    for (size_t k = done; k < n; ++k)
      if (finished[k].load(std::memory_order_relaxed) && wasKept[k]) keep(k, true);
  return done ? ends[done - 1] : 0;
}

}  // namespace vexcam
