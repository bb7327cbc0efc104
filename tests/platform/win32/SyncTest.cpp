#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Clock.h"
#include "KernelFixtures.h"
#include "KernelObject.h"
#include "windows.h"

namespace {

using kerneltest::Handle;
using kerneltest::VirtualClock;

TEST(Sync, EventsResetTheWayTheirKindSays) {
  struct Case {
    BOOL manual;
    DWORD secondWait;
  };
  for (Case c : {Case{FALSE, WAIT_TIMEOUT}, Case{TRUE, WAIT_OBJECT_0}}) {
    Handle e{CreateEventA(nullptr, c.manual, TRUE, nullptr)};
    ASSERT_NE(e.h, nullptr);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0) << c.manual;
    EXPECT_EQ(WaitForSingleObject(e, 0), c.secondWait) << c.manual;
    EXPECT_TRUE(ResetEvent(e));
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT) << c.manual;
    EXPECT_TRUE(SetEvent(e));
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0) << c.manual;
  }
}

TEST(Sync, EventSetByAnotherThreadEndsAnEndlessWait) {
  Handle e{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  std::thread setter([&] {
    plat::clock::SleepMicros(2000);
    SetEvent(e);
  });
  EXPECT_EQ(WaitForSingleObject(e, INFINITE), WAIT_OBJECT_0);
  setter.join();
}

TEST(Sync, WaitTimesOutAfterItsTime) {
  Handle e{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  int64_t start = plat::clock::NowMicros();
  EXPECT_EQ(WaitForSingleObject(e, 30), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_GE(plat::clock::NowMicros() - start, 30000);
}

TEST(Sync, WaitOnTheVirtualClockEndsByMovingTimeOn) {
  VirtualClock virtualClock;
  Handle e{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  int64_t start = plat::clock::NowMicros();
  EXPECT_EQ(WaitForSingleObject(e, 60 * 60 * 1000), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_GE(plat::clock::NowMicros() - start, int64_t(60) * 60 * 1000 * 1000);
}

TEST(Sync, VirtualWaitEndsDespiteUnrelatedWakeUps) {
  VirtualClock virtualClock;
  Handle e{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<bool> stop{false};
  std::thread noise([&] {
    while (!stop) plat::NotifyWaiters();  // other objects changing all the time
  });
  EXPECT_EQ(WaitForSingleObject(e, 60 * 60 * 1000), static_cast<DWORD>(WAIT_TIMEOUT));
  stop = true;
  noise.join();
}

TEST(Sync, WaitForAnyAnswersTheFirstSignalledIndex) {
  Handle a{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  Handle b{CreateEventA(nullptr, TRUE, TRUE, nullptr)};
  Handle c{CreateEventA(nullptr, TRUE, TRUE, nullptr)};
  HANDLE list[] = {a, b, c};
  EXPECT_EQ(WaitForMultipleObjects(3, list, FALSE, 0), WAIT_OBJECT_0 + 1);
  ResetEvent(b);
  EXPECT_EQ(WaitForMultipleObjects(3, list, FALSE, 0), WAIT_OBJECT_0 + 2);
  ResetEvent(c);
  EXPECT_EQ(WaitForMultipleObjects(3, list, FALSE, 10), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(Sync, WaitForAllTakesNothingUntilEverythingIsSignalled) {
  Handle a{CreateEventA(nullptr, FALSE, TRUE, nullptr)};
  Handle b{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  HANDLE list[] = {a, b};
  EXPECT_EQ(WaitForMultipleObjects(2, list, TRUE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  // The auto-reset event a was not consumed by the failed wait.
  SetEvent(b);
  EXPECT_EQ(WaitForMultipleObjects(2, list, TRUE, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(a, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(WaitForSingleObject(b, 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(Sync, BadWaitsFail) {
  Handle e{CreateEventA(nullptr, TRUE, TRUE, nullptr)};
  HANDLE closed = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  CloseHandle(closed);
  struct Case {
    std::vector<HANDLE> handles;
    BOOL all;
    DWORD error;
  };
  const Case cases[] = {
      {{closed}, FALSE, ERROR_INVALID_HANDLE},
      {{e.h, nullptr}, FALSE, ERROR_INVALID_HANDLE},
      {{e.h, INVALID_HANDLE_VALUE}, TRUE, ERROR_INVALID_HANDLE},
      {{}, FALSE, ERROR_INVALID_PARAMETER},
      {{e.h, e.h}, TRUE, ERROR_INVALID_PARAMETER},  // one object twice can never be "all"
      {std::vector<HANDLE>(MAXIMUM_WAIT_OBJECTS + 1, e.h), FALSE, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(WaitForMultipleObjects(static_cast<DWORD>(c.handles.size()), c.handles.data(), c.all, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), c.error) << c.handles.size();
  }
  EXPECT_FALSE(SetEvent(closed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Sync, MutexIsRecursiveForItsOwnerAndClosedToOthers) {
  Handle m{CreateMutexA(nullptr, TRUE, nullptr)};
  ASSERT_NE(m.h, nullptr);
  EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0);  // owner count 2
  std::atomic<DWORD> otherResult{0};
  std::atomic<BOOL> otherRelease{TRUE};
  std::atomic<DWORD> otherError{0};
  std::thread([&] {
    otherResult = WaitForSingleObject(m, 0);
    otherRelease = ReleaseMutex(m);
    otherError = GetLastError();
  }).join();
  EXPECT_EQ(otherResult.load(), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_FALSE(otherRelease.load());
  EXPECT_EQ(otherError.load(), static_cast<DWORD>(ERROR_NOT_OWNER));

  EXPECT_TRUE(ReleaseMutex(m));
  EXPECT_TRUE(ReleaseMutex(m));
  EXPECT_FALSE(ReleaseMutex(m));  // released as often as taken
  std::thread([&] { otherResult = WaitForSingleObject(m, 0); }).join();
  EXPECT_EQ(otherResult.load(), WAIT_OBJECT_0);
}

TEST(Sync, MutexLeftByAnEndedThreadIsAbandoned) {
  Handle m{CreateMutexA(nullptr, FALSE, nullptr)};
  Handle e{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::thread([&] { WaitForSingleObject(m, INFINITE); }).join();
  HANDLE list[] = {e, m};
  EXPECT_EQ(WaitForMultipleObjects(2, list, FALSE, 1000), WAIT_ABANDONED_0 + 1);
  // Now this thread owns it, and the next wait is ordinary.
  EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ReleaseMutex(m));
  EXPECT_TRUE(ReleaseMutex(m));
}

TEST(Sync, WaiterWakesWhenTheOwnerEnds) {
  Handle m{CreateMutexA(nullptr, FALSE, nullptr)};
  Handle taken{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  Handle finish{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::thread owner([&] {
    WaitForSingleObject(m, INFINITE);
    SetEvent(taken);
    WaitForSingleObject(finish, INFINITE);
  });
  ASSERT_EQ(WaitForSingleObject(taken, INFINITE), WAIT_OBJECT_0);
  std::thread ender([&] {
    plat::clock::SleepMicros(2000);
    SetEvent(finish);
  });
  EXPECT_EQ(WaitForSingleObject(m, INFINITE), WAIT_ABANDONED_0);
  owner.join();
  ender.join();
  ReleaseMutex(m);
}

TEST(Sync, NamedMutexIsOpenedNotCreatedTwice) {
  std::string name = "Lumora.sync." + std::to_string(GetCurrentProcessId());
  Handle first{CreateMutexA(nullptr, TRUE, name.c_str())};
  ASSERT_NE(first.h, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  {
    Handle second{CreateMutexA(nullptr, TRUE, name.c_str())};
    ASSERT_NE(second.h, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_NE(second.h, first.h);
    // Both handles name one mutex: another thread cannot take it through either.
    std::atomic<DWORD> r{0};
    std::thread([&] { r = WaitForSingleObject(second, 0); }).join();
    EXPECT_EQ(r.load(), static_cast<DWORD>(WAIT_TIMEOUT));
    // An event cannot take a mutex's name.
    EXPECT_EQ(CreateEventA(nullptr, TRUE, FALSE, name.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }
  CloseHandle(first.h);
  first.h = nullptr;
  // With every handle closed the name is free again.
  Handle again{CreateMutexA(nullptr, FALSE, name.c_str())};
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST(Sync, CriticalSectionIsRecursiveAndExclusive) {
  CRITICAL_SECTION cs;
  InitializeCriticalSection(&cs);
  EnterCriticalSection(&cs);
  EXPECT_TRUE(TryEnterCriticalSection(&cs));
  auto othersTry = [&] {
    std::atomic<BOOL> got{TRUE};
    std::thread([&] {
      got = TryEnterCriticalSection(&cs);
      if (got) LeaveCriticalSection(&cs);
      LeaveCriticalSection(&cs);  // not the owner: must not free it for the owner
    }).join();
    return got.load();
  };
  EXPECT_FALSE(othersTry());
  LeaveCriticalSection(&cs);
  EXPECT_FALSE(othersTry());  // still held once
  LeaveCriticalSection(&cs);
  EXPECT_TRUE(othersTry());
  DeleteCriticalSection(&cs);
}

TEST(Sync, CriticalSectionGuardsAgainstLostUpdates) {
  CRITICAL_SECTION cs;
  InitializeCriticalSection(&cs);
  long total = 0;  // deliberately not atomic
  std::vector<std::thread> workers;
  for (int t = 0; t < 4; ++t)
    workers.emplace_back([&] {
      for (int i = 0; i < 20000; ++i) {
        EnterCriticalSection(&cs);
        EnterCriticalSection(&cs);
        ++total;
        LeaveCriticalSection(&cs);
        LeaveCriticalSection(&cs);
      }
    });
  for (auto& w : workers) w.join();
  EXPECT_EQ(total, 80000);
  DeleteCriticalSection(&cs);
}

TEST(Sync, InterlockedOperationsAnswerTheWindowsValues) {
  volatile LONG v = 5;
  EXPECT_EQ(InterlockedIncrement(&v), 6);
  EXPECT_EQ(InterlockedDecrement(&v), 5);
  EXPECT_EQ(InterlockedExchange(&v, 10), 5);
  EXPECT_EQ(InterlockedExchangeAdd(&v, -3), 10);
  EXPECT_EQ(v, 7);
  EXPECT_EQ(InterlockedCompareExchange(&v, 1, 99), 7);  // no match: unchanged
  EXPECT_EQ(v, 7);
  EXPECT_EQ(InterlockedCompareExchange(&v, 1, 7), 7);
  EXPECT_EQ(v, 1);
  volatile LONG edge = 0x7FFFFFFF;
  EXPECT_EQ(InterlockedIncrement(&edge), LONG(-0x7FFFFFFF - 1));  // wraps like the hardware

  volatile LONG counter = 0;
  std::vector<std::thread> workers;
  for (int t = 0; t < 4; ++t)
    workers.emplace_back([&] {
      for (int i = 0; i < 10000; ++i) InterlockedIncrement(&counter);
    });
  for (auto& w : workers) w.join();
  EXPECT_EQ(counter, 40000);
}

}  // namespace
