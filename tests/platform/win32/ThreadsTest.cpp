#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "process.h"
#include "KernelFixtures.h"
#include "windows.h"

namespace {

using kerneltest::Handle;

struct Gate {
  HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<DWORD> seenId{0};
  std::atomic<int> runs{0};
  ~Gate() { CloseHandle(go); }
};

DWORD WINAPI GatedThread(LPVOID p) {
  auto* gate = static_cast<Gate*>(p);
  gate->seenId = GetCurrentThreadId();
  ++gate->runs;
  WaitForSingleObject(gate->go, INFINITE);
  return 42;
}

TEST(Threads, ThreadHandleIsSignalledWithItsExitCode) {
  Gate gate;
  DWORD id = 0;
  Handle t{CreateThread(nullptr, 0, GatedThread, &gate, 0, &id)};
  ASSERT_NE(t.h, nullptr);
  EXPECT_NE(id, 0u);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(t, &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(WaitForSingleObject(t, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  SetEvent(gate.go);
  EXPECT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  EXPECT_TRUE(GetExitCodeThread(t, &code));
  EXPECT_EQ(code, 42u);
  EXPECT_EQ(gate.seenId.load(), id);  // the id the creator got is the thread's own
}

TEST(Threads, SuspendedThreadRunsOnlyWhenResumed) {
  Gate gate;
  SetEvent(gate.go);
  Handle t{CreateThread(nullptr, 0, GatedThread, &gate, CREATE_SUSPENDED, nullptr)};
  ASSERT_NE(t.h, nullptr);
  EXPECT_EQ(WaitForSingleObject(t, 20), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(gate.runs.load(), 0);
  EXPECT_EQ(ResumeThread(t), 1u);
  EXPECT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(gate.runs.load(), 1);
  EXPECT_EQ(ResumeThread(t), 0u);
  EXPECT_EQ(ResumeThread(nullptr), static_cast<DWORD>(-1));
}

struct Flag {
  bool* set;
  ~Flag() { *set = true; }
};

bool g_unwound = false;
void LeaveFromDeepInside() {
  Flag f{&g_unwound};
  ExitThread(7);
}
DWORD WINAPI ExitingThread(LPVOID) {
  LeaveFromDeepInside();
  return 1;
}
unsigned WINAPI CrtThread(void* arg) {
  *static_cast<DWORD*>(arg) = GetCurrentThreadId();
  _endthreadex(9);
}

TEST(Threads, ExitThreadEndsTheThreadWithItsCodeAndUnwinds) {
  Handle t{CreateThread(nullptr, 0, ExitingThread, nullptr, 0, nullptr)};
  ASSERT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeThread(t, &code);
  EXPECT_EQ(code, 7u);
  EXPECT_TRUE(g_unwound);

  DWORD seen = 0;
  unsigned id = 0;
  Handle crt{reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, CrtThread, &seen, 0, &id))};
  ASSERT_NE(crt.h, nullptr);
  ASSERT_EQ(WaitForSingleObject(crt, INFINITE), WAIT_OBJECT_0);
  GetExitCodeThread(crt, &code);
  EXPECT_EQ(code, 9u);
  EXPECT_EQ(seen, id);
}

TEST(Threads, ThreadIdsAreSmallStableAndDistinct) {
  DWORD mine = GetCurrentThreadId();
  EXPECT_NE(mine, 0u);
  EXPECT_EQ(GetCurrentThreadId(), mine);
  std::set<DWORD> ids{mine};
  for (int i = 0; i < 4; ++i) {
    DWORD other = 0;
    std::thread([&] { other = GetCurrentThreadId(); }).join();
    EXPECT_TRUE(ids.insert(other).second);
    EXPECT_LT(other, 100000u);
  }
}

TEST(Threads, PriorityIsRecordedAndCheckedForRange) {
  Gate gate;
  Handle t{CreateThread(nullptr, 0, GatedThread, &gate, CREATE_SUSPENDED, nullptr)};
  EXPECT_EQ(GetThreadPriority(t), THREAD_PRIORITY_NORMAL);
  EXPECT_TRUE(SetThreadPriority(t, THREAD_PRIORITY_BELOW_NORMAL));
  EXPECT_EQ(GetThreadPriority(t), THREAD_PRIORITY_BELOW_NORMAL);
  EXPECT_FALSE(SetThreadPriority(t, 5));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST));
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_HIGHEST);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  EXPECT_EQ(GetThreadPriority(nullptr), THREAD_PRIORITY_ERROR_RETURN);
  SetEvent(gate.go);
  ResumeThread(t);
  WaitForSingleObject(t, INFINITE);
}

}  // namespace
