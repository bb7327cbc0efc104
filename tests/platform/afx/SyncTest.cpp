#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "Faults.h"
#include "afx.h"
#include "afxmt.h"

namespace {

TEST(Sync, CriticalSectionSerializesThreads) {
  CCriticalSection lock;
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 2000; ++i) {
        CSingleLock hold(&lock, TRUE);
        long seen = counter;
        std::this_thread::yield();
        counter = seen + 1;
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(counter, 8000);
}

TEST(Sync, CriticalSectionTimeOutFailsWhileAnotherThreadHoldsIt) {
  CCriticalSection lock;
  CEvent taken, release;
  std::thread owner([&] {
    lock.Lock();
    taken.SetEvent();
    release.Lock();
    lock.Unlock();
  });
  ASSERT_TRUE(taken.Lock());
  EXPECT_FALSE(lock.Lock(20));
  CSingleLock single(&lock);
  EXPECT_FALSE(single.Lock(0));
  EXPECT_FALSE(single.IsLocked());
  release.SetEvent();
  EXPECT_TRUE(single.Lock(INFINITE));
  EXPECT_TRUE(single.IsLocked());
  single.Unlock();
  owner.join();
}

TEST(Sync, EventResetRules) {
  CEvent autoReset;
  EXPECT_FALSE(autoReset.Lock(0));
  autoReset.SetEvent();
  EXPECT_TRUE(autoReset.Lock(0));
  EXPECT_FALSE(autoReset.Lock(0));  // one waiter went through and reset it

  CEvent manual(TRUE, TRUE);  // starts signalled
  EXPECT_TRUE(manual.Lock(0));
  EXPECT_TRUE(manual.Lock(0));
  manual.ResetEvent();
  EXPECT_FALSE(manual.Lock(0));
  EXPECT_TRUE(manual.Unlock());
}

TEST(Sync, EventWakesAWaitingThread) {
  CEvent go;
  std::atomic<int> woke{0};
  std::thread waiter([&] {
    CSingleLock wait(&go, TRUE);
    woke = wait.IsLocked() ? 1 : -1;
  });
  go.SetEvent();
  waiter.join();
  EXPECT_EQ(woke.load(), 1);
}

TEST(Sync, MutexIsOwnedByOneThreadAndSharedByName) {
  CMutex first(FALSE, "Lumora.Test.Mutex");
  EXPECT_EQ(GetLastError(), 0u);
  CMutex second(FALSE, "Lumora.Test.Mutex");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  {
    CSingleLock hold(&first, TRUE);
    ASSERT_TRUE(hold.IsLocked());
    std::atomic<BOOL> other{TRUE};
    std::thread([&] { other = second.Lock(0); }).join();
    EXPECT_FALSE(other.load());
  }  // released here
  std::atomic<BOOL> other{FALSE};
  std::thread([&] {
    other = second.Lock(0);
    second.Unlock();
  }).join();
  EXPECT_TRUE(other.load());
}

TEST(Sync, MutexLeftByAnEndedThreadCanBeTaken) {
  CMutex mutex;
  std::thread([&] { mutex.Lock(); }).join();
  CSingleLock hold(&mutex);
  EXPECT_TRUE(hold.Lock(0));  // abandoned, and now ours: it must be unlockable
  EXPECT_TRUE(hold.Unlock());
  EXPECT_FALSE(hold.IsLocked());
}

TEST(Sync, SingleLockTakesOnceAndUnlocksOnDestruction) {
  CCriticalSection lock;
  {
    CSingleLock hold(&lock);
    EXPECT_FALSE(hold.IsLocked());
    EXPECT_TRUE(hold.Lock());
    EXPECT_TRUE(hold.Lock());  // not taken a second time
    EXPECT_TRUE(hold.Unlock());
    EXPECT_FALSE(hold.IsLocked());
    EXPECT_TRUE(hold.Unlock());  // nothing held: nothing to do
    hold.Lock();
  }
  std::atomic<BOOL> free{FALSE};
  std::thread([&] {
    free = TryEnterCriticalSection(lock);
    if (free) lock.Unlock();
  }).join();
  EXPECT_TRUE(free.load());
}

TEST(Sync, FailedCreationThrowsResourceException) {
  struct Case {
    const char* point;
    bool mutex;
  } cases[] = {{"CreateEvent", false}, {"CreateMutex", true}};
  for (const auto& c : cases) {
    plat::faults::Scope fail(c.point, ERROR_NOT_ENOUGH_MEMORY);
    bool thrown = false;
    TRY {
      if (c.mutex)
        CMutex m;
      else
        CEvent e;
    }
    CATCH(CResourceException, e) { thrown = true; }
    END_CATCH
    EXPECT_TRUE(thrown) << c.point;
  }
}

}  // namespace
