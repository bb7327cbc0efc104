#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>

#include "Clock.h"
#include "UserTestSupport.h"

using usertest::Recorder;

namespace {

// A worker thread that owns a window and pumps until it receives WM_QUIT.
class WorkerWindow {
 public:
  explicit WorkerWindow(WNDPROC proc) {
    thread_ = std::thread([this, proc] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = proc;
      wc.lpszClassName = "WorkerWnd";
      RegisterClassA(&wc);
      hwnd_ = CreateWindowExA(0, "WorkerWnd", "worker", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
      threadId_ = GetCurrentThreadId();
      ready_ = true;
      MSG m;
      while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
      DestroyWindow(hwnd_);
    });
    while (!ready_) std::this_thread::yield();
  }
  ~WorkerWindow() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  HWND hwnd() const { return hwnd_; }

 private:
  std::thread thread_;
  std::atomic<bool> ready_{false};
  HWND hwnd_ = nullptr;
  DWORD threadId_ = 0;
};

HWND g_uiWindow = nullptr;

LRESULT CALLBACK EchoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) return static_cast<LRESULT>(wParam) * 2;
  // Sends back to the UI window while the UI thread is itself waiting on a send to us.
  if (msg == WM_USER + 1) return SendMessageA(g_uiWindow, WM_USER + 2, wParam, 0) + 1;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(Messages, SendToAnotherThreadWaitsForTheAnswer) {
  WorkerWindow worker(EchoProc);
  EXPECT_EQ(SendMessageA(worker.hwnd(), WM_USER, 21, 0), 42);
}

TEST(Messages, SendsBetweenTwoWaitingThreadsDoNotLockUp) {
  Recorder rec;
  g_uiWindow = rec.Create("ui", WS_POPUP, 0, 0, 10, 10);
  rec.handlers[WM_USER + 2] = [](HWND, WPARAM wParam, LPARAM) -> LRESULT { return static_cast<LRESULT>(wParam) * 10; };
  WorkerWindow worker(EchoProc);
  // The UI thread waits in SendMessage; the worker's handler sends back to the UI thread,
  // which must answer it while it waits.
  EXPECT_EQ(SendMessageA(worker.hwnd(), WM_USER + 1, 4, 0), 41);
}

TEST(Messages, WorkerThreadSendsToTheUiThreadWhilstItPumps) {
  Recorder rec;
  HWND ui = rec.Create("ui", WS_POPUP, 0, 0, 10, 10);
  rec.handlers[WM_USER] = [](HWND, WPARAM wParam, LPARAM) -> LRESULT { return static_cast<LRESULT>(wParam) + 1; };
  std::atomic<LRESULT> answer{0};
  std::thread worker([&] {
    answer = SendMessageA(ui, WM_USER, 99, 0);
    PostMessageA(ui, WM_CLOSE, 0, 0);
  });
  MSG m;
  while (IsWindow(ui) && GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  worker.join();
  EXPECT_EQ(answer.load(), 100);
  EXPECT_FALSE(IsWindow(ui));
}

TEST(Messages, SendToAWindowWhoseThreadEndedReturnsZero) {
  HWND orphan = nullptr;
  std::thread([&] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "OrphanWnd";
    RegisterClassA(&wc);
    orphan = CreateWindowExA(0, "OrphanWnd", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  }).join();
  ASSERT_NE(orphan, nullptr);
  EXPECT_EQ(SendMessageA(orphan, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessageA(orphan, WM_USER, 0, 0));
}

TEST(Messages, PostedMessagesComeInOrderThenQuit) {
  Recorder rec;
  HWND h = rec.Create("w", WS_POPUP, 0, 0, 10, 10);
  PostMessageA(h, WM_USER, 1, 0);
  PostQuitMessage(7);
  PostMessageA(h, WM_USER, 2, 0);
  PostThreadMessageA(GetCurrentThreadId(), WM_USER + 5, 3, 0);
  MSG m;
  std::vector<WPARAM> seen;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) seen.push_back(m.wParam);
  EXPECT_EQ(seen, (std::vector<WPARAM>{1, 2, 3}));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 7u);
}

TEST(Messages, PeekFiltersByWindowAndRange) {
  Recorder rec;
  HWND a = rec.Create("a", WS_POPUP, 0, 0, 10, 10);
  HWND b = rec.Create("b", WS_POPUP, 0, 0, 10, 10);
  HWND b1 = rec.Create("b1", WS_CHILD, 0, 0, 5, 5, b, 1);
  PostMessageA(a, WM_USER, 1, 0);
  PostMessageA(b1, WM_USER + 1, 2, 0);
  PostMessageA(b, WM_USER + 2, 3, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.wParam, 2u);  // a child of the filter window counts
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.wParam, 1u);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.wParam, 2u);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST(Messages, WaitForObjectsOrMessages) {
  HANDLE ev = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::thread t([&] { SetEvent(ev); });
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &ev, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0);
  t.join();
  DWORD me = GetCurrentThreadId();
  std::thread poster([&] { PostThreadMessageA(me, WM_USER, 0, 0); });
  poster.join();
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &ev, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0 + 1);
  MSG m;
  PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &ev, FALSE, 10, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));
  CloseHandle(ev);
}

// Sleeps of a thread of this process so far, as the kernel counts them.
long VoluntarySwitches(pid_t tid) {
  std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind("voluntary_ctxt_switches:", 0) == 0) return std::stol(line.substr(24));
  return -1;
}

// A thread that waits only for its messages sleeps through events, mutexes and handles
// other threads use: live view sets and closes an event for every line it reads, and the
// window's thread is not woken for each. A thread that waits for an object still wakes.
TEST(Messages, AThreadWaitingForMessagesSleepsThroughOtherThreadsEvents) {
  std::atomic<pid_t> tid{0};
  DWORD id = 0;
  std::atomic<int> messages{0};
  std::thread waiter([&] {
    MSG m;
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts
    id = GetCurrentThreadId();
    tid = static_cast<pid_t>(syscall(SYS_gettid));
    while (GetMessageA(&m, nullptr, 0, 0) > 0) ++messages;
  });
  while (!tid) std::this_thread::yield();
  // Settled in GetMessage: its sleeps stop counting up.
  long before = VoluntarySwitches(tid);
  for (long now = -1; now != before;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    now = before;
    before = VoluntarySwitches(tid);
  }
  // Paced as a line read paces them, so a woken thread is back asleep before the next.
  constexpr int kEvents = 1000;
  for (int i = 0; i < kEvents; ++i) {
    HANDLE ev = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ResetEvent(ev);
    SetEvent(ev);
    CloseHandle(ev);
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  const long woken = VoluntarySwitches(tid) - before;
  EXPECT_LT(woken, kEvents / 10) << "woken " << woken << " times by " << kEvents << " events";
  // A thread that waits for an object beside it still wakes when it is set.
  HANDLE watched = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::atomic<bool> seen{false};
  std::thread objectWaiter([&] { seen = WaitForSingleObject(watched, 10000) == WAIT_OBJECT_0; });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // most likely asleep in its wait by now
  SetEvent(watched);
  objectWaiter.join();
  EXPECT_TRUE(seen);
  CloseHandle(watched);
  PostThreadMessageA(id, WM_USER, 0, 0);
  PostThreadMessageA(id, WM_QUIT, 0, 0);
  waiter.join();
  EXPECT_EQ(messages, 1) << "a posted message still wakes it";
}

// On a virtual clock the threads that will set the objects drive time: a wait for them and
// for messages does not jump to the next timer while they work, and the timer still comes
// once their reads have carried the clock to it. Its own time-out still ends it.
TEST(Messages, AWaitForAnObjectOnAVirtualClockLetsItsThreadsDriveTime) {
  plat::clock::UseVirtual(true, 1000);
  const UINT_PTR timer = SetTimer(nullptr, 0, 2000, nullptr);
  HANDLE ev = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const int64_t start = plat::clock::NowMicros();
  std::atomic<bool> go{false};
  std::thread worker([&] {
    while (!go) std::this_thread::yield();
    for (int i = 0; i < 500; ++i) plat::clock::NowMicros();  // half a second of reads
    SetEvent(ev);
  });
  go = true;
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &ev, FALSE, INFINITE, QS_ALLINPUT), WAIT_OBJECT_0);
  worker.join();
  EXPECT_LT(plat::clock::NowMicros() - start, 2000000) << "jumped to the timer";
  ResetEvent(ev);
  // Nobody sets it now: the reads of another thread bring the timer due.
  std::thread reader([&] {
    for (int i = 0; i < 2500; ++i) plat::clock::NowMicros();
  });
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &ev, FALSE, INFINITE, QS_ALLINPUT), WAIT_OBJECT_0 + 1);
  reader.join();
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &ev, FALSE, 10000, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  KillTimer(nullptr, timer);
  CloseHandle(ev);
  plat::clock::UseVirtual(false);
}

TEST(Messages, RegisteredMessagesAreSharedByName) {
  UINT a = RegisterWindowMessageA("WM_BARNOTIFY");
  EXPECT_GE(a, 0xC000u);
  EXPECT_EQ(RegisterWindowMessageA("wm_barnotify"), a);
  EXPECT_NE(RegisterWindowMessageA("WM_NODELAYHIDE"), a);
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);
}

int g_timerCalls = 0;
void CALLBACK CountTimer(HWND, UINT, UINT_PTR, DWORD) { ++g_timerCalls; }

TEST(Timers, WindowAndThreadTimersFireAndStop) {
  plat::clock::UseVirtual(true);
  Recorder rec;
  HWND h = rec.Create("w", WS_POPUP, 0, 0, 10, 10);
  ASSERT_EQ(SetTimer(h, 5, 100, nullptr), 5u);
  ASSERT_EQ(SetTimer(h, 5, 100, nullptr), 5u);  // started anew, under the same id
  UINT_PTR threadTimer = SetTimer(nullptr, 0, 250, CountTimer);
  ASSERT_NE(threadTimer, 0u);
  int64_t start = plat::clock::NowMicros();
  MSG m;
  int windowTicks = 0;
  while (plat::clock::NowMicros() - start < 1'000'000 && GetMessageA(&m, nullptr, 0, 0) > 0) {
    if (m.message == WM_TIMER && m.hwnd == h) {
      EXPECT_EQ(m.wParam, 5u);
      ++windowTicks;
    }
    DispatchMessageA(&m);
  }
  EXPECT_GE(windowTicks, 9);
  EXPECT_LE(windowTicks, 10);
  EXPECT_GE(g_timerCalls, 3);
  EXPECT_LE(g_timerCalls, 4);
  EXPECT_TRUE(KillTimer(h, 5));
  EXPECT_FALSE(KillTimer(h, 5));
  EXPECT_TRUE(KillTimer(nullptr, threadTimer));
  plat::clock::Advance(2'000'000);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  plat::clock::UseVirtual(false);
}

TEST(Timers, DestroyingTheWindowEndsItsTimers) {
  plat::clock::UseVirtual(true);
  Recorder rec;
  HWND h = rec.Create("w", WS_POPUP, 0, 0, 10, 10);
  SetTimer(h, 1, 10, nullptr);
  DestroyWindow(h);
  plat::clock::Advance(100'000);
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  plat::clock::UseVirtual(false);
}

}  // namespace
