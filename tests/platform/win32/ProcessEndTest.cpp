// The process ends when main returns, whatever other threads are waiting in.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "windows.h"

namespace {

std::atomic<int> g_tids[8];
std::atomic<int> g_started{0};

void Register() { g_tids[g_started++] = static_cast<int>(syscall(SYS_gettid)); }

DWORD WINAPI WaitsForMessage(LPVOID) {
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue
  Register();
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

DWORD WINAPI WaitsForEvent(LPVOID event) {
  Register();
  WaitForSingleObject(static_cast<HANDLE>(event), INFINITE);
  return 0;
}

DWORD WINAPI WaitsForEventWithTimeOut(LPVOID event) {
  Register();
  WaitForSingleObject(static_cast<HANDLE>(event), 600000);
  return 0;
}

DWORD WINAPI PumpsWhileWaiting(LPVOID event) {
  HANDLE h = static_cast<HANDLE>(event);
  Register();
  MsgWaitForMultipleObjects(1, &h, FALSE, INFINITE, QS_ALLINPUT);
  return 0;
}

// Sends to a window of the main thread, which never looks at its queue again.
HWND g_mainWindow;
DWORD WINAPI WaitsInSendMessage(LPVOID) {
  Register();
  SendMessageA(g_mainWindow, WM_NULL, 0, 0);
  return 0;
}

char StateOf(int tid) {
  std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/stat");
  std::string line;
  std::getline(in, line);
  auto close = line.rfind(')');
  return close == std::string::npos || close + 2 >= line.size() ? '?' : line[close + 2];
}

// Runs in the child: starts the waits, sees every waiter asleep, then ends as main would.
[[noreturn]] void ChildEndsWhileThreadsWait(const std::vector<LPTHREAD_START_ROUTINE>& routines) {
  HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  for (auto r : routines) CreateThread(nullptr, 0, r, never, 0, nullptr);
  const int count = static_cast<int>(routines.size());
  for (int i = 0; i < count; ++i) {
    while (g_started.load() <= i) sched_yield();
    while (StateOf(g_tids[i]) != 'S') sched_yield();
  }
  std::exit(0);  // what returning from main does
}

// A child that hangs is killed after a generous time (a busy machine may take seconds to
// start its threads), and shows as -1.
constexpr int kHangMs = 60000;

int WaitForChild(pid_t pid, int milliseconds = kHangMs) {
  int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  if (fd < 0) return -2;
  pollfd p{fd, POLLIN, 0};
  int ready = poll(&p, 1, milliseconds);
  close(fd);
  if (ready != 1) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(ProcessEnd, EndsWithinASecondWhileOtherThreadsWait) {
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0)
    ChildEndsWhileThreadsWait({WaitsForMessage, WaitsForEvent, WaitsForEventWithTimeOut, PumpsWhileWaiting});
  EXPECT_EQ(WaitForChild(pid), 0);
}

// The main thread's window goes at the end, which wakes every waiter (the sender
// among them) while statics are being destroyed.
TEST(ProcessEnd, EndsWithinASecondWhenTheEndWakesTheWaiters) {
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    g_mainWindow = CreateWindowA("STATIC", "main", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ChildEndsWhileThreadsWait({WaitsInSendMessage, WaitsForMessage, WaitsForEvent, PumpsWhileWaiting});
  }
  EXPECT_EQ(WaitForChild(pid), 0);
}

// What ends with the process: waits on another thread's handle see it gone, so exit-time
// clean-up that waits for a worker does not hang.
DWORD WINAPI Sleeper(LPVOID event) {
  Register();
  WaitForSingleObject(static_cast<HANDLE>(event), INFINITE);
  return 0;
}

HANDLE g_worker;
void JoinWorkerAtExit() { WaitForSingleObject(g_worker, INFINITE); }

TEST(ProcessEnd, ExitTimeWaitForAWaitingThreadReturns) {
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_worker = CreateThread(nullptr, 0, Sleeper, never, 0, nullptr);
    while (g_started.load() == 0) sched_yield();
    while (StateOf(g_tids[0]) != 'S') sched_yield();
    std::atexit(JoinWorkerAtExit);
    std::exit(0);
  }
  EXPECT_EQ(WaitForChild(pid), 0);
}

}  // namespace
