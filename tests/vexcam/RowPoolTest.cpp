#include "RowPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
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
