#include "RowPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using vexcam::RowPool;

namespace {

// How often each part ran.
std::vector<int> Runs(RowPool& pool, int parts) {
  std::vector<std::atomic<int>> counts(size_t(std::max(parts, 0)));
  pool.Run(parts, [&](int k) { counts[size_t(k)].fetch_add(1); });
  std::vector<int> out;
  for (auto& c : counts) out.push_back(c.load());
  return out;
}

}  // namespace

TEST(RowPool, EveryPartRunsExactlyOnce) {
  for (int workers : {0, 1, 3}) {
    RowPool pool(workers);
    EXPECT_EQ(pool.Threads(), workers + 1);
    for (int parts : {0, 1, 2, 7, 64}) {
      for (int round = 0; round < 20; ++round)
        ASSERT_EQ(Runs(pool, parts), std::vector<int>(size_t(parts), 1)) << workers << " workers, " << parts << " parts";
    }
  }
}

// The parts are shared: with more parts than one thread could take before the others
// wake, the workers take some (the caller alone would run them all in order).
TEST(RowPool, WorkersTakeParts) {
  RowPool pool(3);
  std::set<std::thread::id> seen;
  std::mutex lock;
  for (int round = 0; round < 50 && seen.size() < 2; ++round)
    pool.Run(64, [&](int) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
      std::lock_guard<std::mutex> hold(lock);
      seen.insert(std::this_thread::get_id());
    });
  EXPECT_GE(seen.size(), 2u);
}

// A pass started from inside a part (a worker's, or the caller's while it runs one)
// runs on that thread alone instead of waiting for the busy pool.
TEST(RowPool, APassInsideAPartRunsOnItsThread) {
  RowPool pool(2);
  std::atomic<int> inner{0};
  pool.Run(6, [&](int) {
    const std::thread::id self = std::this_thread::get_id();
    pool.Run(4, [&](int) {
      EXPECT_EQ(std::this_thread::get_id(), self);
      inner.fetch_add(1);
    });
  });
  EXPECT_EQ(inner.load(), 24);
}

// Two callers at once: each pass runs all its parts once; the second waits for nothing.
TEST(RowPool, TwoCallersAtOnce) {
  RowPool pool(2);
  std::vector<int> a, b;
  std::thread other([&] {
    for (int i = 0; i < 200; ++i) a = Runs(pool, 9);
  });
  for (int i = 0; i < 200; ++i) b = Runs(pool, 11);
  other.join();
  EXPECT_EQ(a, std::vector<int>(9, 1));
  EXPECT_EQ(b, std::vector<int>(11, 1));
}

TEST(RowPool, ShareRowsCoversTheRowsInContiguousBands) {
  struct Case {
    int threads;
    LONG first, last;
    size_t bands;
  } cases[] = {{1, 0, 10, 1}, {3, 0, 10, 3}, {8, 5, 8, 3}, {4, 7, 7, 0}, {2, 0, 1, 1}};
  for (const Case& c : cases) {
    std::mutex lock;
    std::vector<std::pair<LONG, LONG>> bands;
    vexcam::ShareRows(c.threads, c.first, c.last, [&](LONG a, LONG b) {
      std::lock_guard<std::mutex> hold(lock);
      bands.emplace_back(a, b);
    });
    std::sort(bands.begin(), bands.end());
    ASSERT_EQ(bands.size(), c.bands) << c.threads << " threads over " << c.first << ".." << c.last;
    LONG next = c.first;
    for (auto [a, b] : bands) {
      EXPECT_EQ(a, next);
      EXPECT_GT(b, a);
      next = b;
    }
    if (!bands.empty()) {
      EXPECT_EQ(next, c.last);
    }
  }
}

// A pass with reports on several threads: its rows are worked by more than one thread,
// the reports come in row order on the caller's thread, and a cancel leaves the rows
// after it as they were, whether the threads work ahead of the reports or not.
TEST(RowPool, AReportingPassRunsOnSeveralThreadsInReportOrder) {
  if (RowPool::Shared().Threads() < 2) GTEST_SKIP() << "one processor";
  constexpr LONG kRows = 120, kBytes = 16;
  const std::thread::id caller = std::this_thread::get_id();
  auto reportsAfter = [](LONG r) { return r % 10 == 9; };
  for (bool ahead : {false, true})
    for (int cancelAt : {0, 4}) {  // 0: no cancel; else the report that cancels
      std::vector<BYTE> picture(size_t(kRows) * kBytes, 0xEE);
      const vexcam::PassRows rows{[&](LONG r) { return picture.data() + size_t(r) * kBytes; }, size_t(kBytes)};
      std::mutex lock;
      std::set<std::thread::id> workers;
      std::vector<LONG> reports;
      bool cancelled = false;
      const LONG done = vexcam::ReportingPass(
          4, kRows, reportsAfter,
          [&](LONG r) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            reports.push_back(r);
            return cancelAt == 0 || int(reports.size()) < cancelAt;
          },
          [&](LONG first, LONG last) {
            {
              std::lock_guard<std::mutex> hold(lock);
              workers.insert(std::this_thread::get_id());
            }
            // The first rows wait until another thread has taken some: a pass that keeps
            // every row on one thread never ends this wait.
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (first == 0 && std::chrono::steady_clock::now() < until) {
              {
                std::lock_guard<std::mutex> hold(lock);
                if (workers.size() > 1) break;
              }
              std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            for (LONG r = first; r < last; ++r) std::fill_n(picture.data() + size_t(r) * kBytes, kBytes, BYTE(r));
          },
          ahead ? &rows : nullptr, &cancelled);
      const std::string what = std::string(ahead ? "ahead" : "in step") + ", cancel at " + std::to_string(cancelAt);
      EXPECT_GT(workers.size(), 1u) << what;
      const LONG expected = cancelAt ? 10 * cancelAt : kRows;
      EXPECT_EQ(done, expected) << what;
      EXPECT_EQ(cancelled, cancelAt != 0) << what;
      std::vector<LONG> wanted;
      for (LONG r = 9; r < expected; r += 10) wanted.push_back(r);
      EXPECT_EQ(reports, wanted) << what;
      for (LONG r = 0; r < kRows; ++r)
        ASSERT_EQ(picture[size_t(r) * kBytes], r < expected ? BYTE(r) : BYTE(0xEE)) << what << ", row " << r;
    }
}
