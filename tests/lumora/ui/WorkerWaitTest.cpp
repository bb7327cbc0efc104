// The window's thread while it waits for a worker: asleep between the messages that come,
// not running round a loop, so a capture leaves the processor to the capture.
#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "FrameRig.h"
#include "ui/VexMainControlView.h"

namespace {

// The scheduler's state letter of a thread of this process ('S' asleep, 'R' running or
// ready to run); 0 when it cannot be read.
char WorkerWaitThreadState(pid_t tid) {
  std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/stat");
  std::string stat;
  std::getline(in, stat);
  const auto close = stat.rfind(')');
  return close == std::string::npos || close + 2 >= stat.size() ? 0 : stat[close + 2];
}

class WorkerWait : public FrameRig {};

// A capture's button handler waits for the capture's thread. Sampled by another thread
// while the capture runs, the window's thread is often asleep: it wakes for the capture's
// messages and the thread's end only.
TEST_F(WorkerWait, TheWindowSleepsWhileACaptureRuns) {
  ASSERT_TRUE(Start());
  const pid_t window = static_cast<pid_t>(syscall(SYS_gettid));
  std::atomic<bool> done{false};
  std::atomic<int> asleep{0}, awake{0};
  std::thread sampler([&] {
    while (!done) {
      const char state = WorkerWaitThreadState(window);
      if (frame->IsCapturing() && state) ++(state == 'S' ? asleep : awake);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  frame->ControlView()->SendMessage(WM_COMMAND, MAKEWPARAM(1038, BN_CLICKED));
  const bool ended = PumpUntil([this] { return !frame->IsCapturing(); });
  done = true;
  sampler.join();
  ASSERT_TRUE(ended);
  EXPECT_EQ(doc->GetImageState(), 1) << "the capture made no picture";
  ASSERT_GE(asleep + awake, 20) << "the capture ended before it could be watched";
  // A thread that runs round is never seen asleep; one that sleeps is seen so a good part of
  // the time even where it waits for a processor after each wake-up on a busy machine.
  EXPECT_GT(4 * asleep, asleep + awake) << asleep << " samples asleep, " << awake << " awake";
}

}  // namespace
