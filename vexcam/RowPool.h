// The library's worker threads for the picture kernels. A pass over a picture is cut into
// parts that the caller and the workers take in turn; the workers only compute. Progress,
// messages, the settings block and every other call stay on the caller's thread.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "WinTypes.h"

namespace vexcam {

class RowPool {
 public:
  // The library's pool, started at first use: one worker fewer than the processors the
  // process may run on, the caller being the last.
  static RowPool& Shared();

  explicit RowPool(int workers);
  ~RowPool();
  RowPool(const RowPool&) = delete;
  RowPool& operator=(const RowPool&) = delete;

  // Threads a pass can use: the workers and the caller.
  int Threads() const { return int(workers_.size()) + 1; }

  // Runs part(0) .. part(parts - 1), each exactly once, and returns when all are done.
  // A pass started from a worker, or while another thread's pass runs, runs on its own
  // thread alone. `onCaller`, when given, runs on the caller's thread first, while the
  // workers start on the parts.
  void Run(int parts, const std::function<void(int)>& part, const std::function<void()>& onCaller = nullptr);

 private:
  void Work();
  // Takes and runs parts of generation `generation` until none is left.
  void TakeParts(uint32_t generation, const std::function<void(int)>* part, int parts);

  std::vector<std::thread> workers_;
  std::mutex runLock_;  // one pass at a time
  std::mutex lock_;
  std::condition_variable wake_, finished_;
  // High half: the pass's generation; low half: the next part to take. A worker that
  // comes late to a pass finds another generation and takes nothing.
  std::atomic<uint64_t> ticket_{0};
  std::atomic<int> remaining_{0};
  std::atomic<uint32_t> generation_{0};  // changed under lock_; spinning workers watch it
  const std::function<void(int)>* part_ = nullptr;  // the pass of generation_, under lock_
  int parts_ = 0;
  int sleepers_ = 0;  // workers waiting on wake_, under lock_
  bool stop_ = false;
};

// Runs part(0) .. part(parts - 1): one part on the caller's thread, more on the pool.
void RunParts(int parts, const std::function<void(int)>& part);

// Shares rows [first, last) among `threads` in contiguous bands and runs rows(begin, end)
// for each band; one thread (or one row) runs on the caller's thread alone.
void ShareRows(int threads, LONG first, LONG last, const std::function<void(LONG, LONG)>& rows);

// The rows of a picture a pass writes: where row r lies, and its bytes.
struct PassRows {
  std::function<BYTE*(LONG)> row;
  size_t rowBytes = 0;
};

// Runs rows [0, count) with reports between them: report(r) follows row r wherever
// reportsAfter(r) holds, always on the caller's thread and in row order, and false from
// it cancels the pass. Returns the rows up to the report that cancelled (all when none
// did); the rows after it are left as they were. Without `ahead` the rows up to each
// report are shared among `threads` and the report follows them. With it, the threads
// take the stretches between reports one after another, a few past the last report, and
// the caller reports each once the stretches before it are done: the pool is woken once
// a pass rather than once a report. A stretch worked before its report keeps the rows
// `ahead` names as they were, and a cancel puts them back.
LONG ReportingPass(int threads, LONG count, const std::function<bool(LONG)>& reportsAfter,
                   const std::function<bool(LONG)>& report, const std::function<void(LONG, LONG)>& rows,
                   const PassRows* ahead, bool* cancelled);

// `threads` as a pass uses it: 0 means every thread of the library's pool.
int PassThreads(int threads);

}  // namespace vexcam
