// Per-thread message queues: posted and input messages, messages sent from other
// threads, timers and the quit request. Every wait sleeps on the stand-in's one
// kernel condition, so message arrival and kernel objects wake the same waits.
#pragma once
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "../WinUser.h"

namespace plat::user {

struct SentMessage {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  DWORD sender;
  bool wantsReply = true;
  bool done = false;
  LRESULT result = 0;
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT elapse;  // milliseconds
  TIMERPROC proc;
  int64_t due;  // plat::clock microseconds
};

// Input as the user made it, queued on a thread and settled when that thread reads it: which
// window it reaches, and as what message. Mouse input goes to the capture or the window under
// the cursor then, so a capture taken while the message before it was handled applies to it;
// keys and typed characters go to the focus then, so keys typed right after a click that moved
// the focus reach the new focus window.
struct RawInput {
  enum class Kind { Mouse, Key, Char };
  Kind kind = Kind::Mouse;
  int button = -1;     // mouse: -1 a move; 0 left, 1 right, 2 middle
  bool down = false;   // a button or key pressed
  POINT pt{};          // the cursor
  WPARAM keys = 0;     // mouse: MK_ flags at input time
  UINT code = 0;       // key: the virtual key; char: a byte of the typed text
  LPARAM data = 0;     // key: repeat count, scan code, Alt, previous state and transition
  bool system = false; // key: a system key by its chord (Alt held without Control, Alt or F10)
  int64_t micros = 0;
  bool taken = false;  // being made into its message (a loop run meanwhile passes it by)
};

// A queued message; raw input carries the record it is still to be made from (its message
// and window then say what it would be if read at once).
struct QueuedMessage : MSG {
  QueuedMessage(const MSG& m) : MSG(m) {}  // NOLINT: every posted MSG queues as it is
  std::shared_ptr<RawInput> raw;
};

struct ThreadQueue {
  DWORD threadId = 0;
  bool alive = true;
  std::deque<QueuedMessage> posted;  // posted and input messages, in arrival order
  std::deque<std::shared_ptr<SentMessage>> sent;
  std::vector<Timer> timers;
  bool quit = false;
  int quitCode = 0;
  MSG last{};  // the message last retrieved (time and position)
  // A message was taken and the thread has not asked for the next one yet: it is still
  // working on it (the test driver's idle wait looks at this).
  std::atomic<bool> handling{false};
  BYTE keys[256] = {};  // key state as of the last retrieved input message
  // Alt (or F10) went down and no other key followed: its release opens the menu bar.
  // Kept here, where every retrieved key passes, so a key a control handles itself
  // (Alt+Down in a combo box) still counts.
  bool menuKeyAlone = false;
};

// The calling thread's queue, created on first use; the queue of another thread, or null.
std::shared_ptr<ThreadQueue> CurrentQueue();
std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId);

// Posts to the thread's queue and wakes it. Fails for a thread that has no queue.
bool PostToThread(DWORD threadId, const MSG& msg);
bool PostToThread(DWORD threadId, bool front, const MSG& msg);
// Queues raw input on the thread (see RawInput), with the message it would make now.
bool PostRawInput(DWORD threadId, const MSG& provisional, std::shared_ptr<RawInput> raw);

// Runs the messages other threads have sent to this one; returns how many.
int ProcessSentMessages();

// The message another thread sent that this thread is handling now, or null.
std::shared_ptr<SentMessage> CurrentIncoming();

// Drops the timers of a window (it is being destroyed).
void KillWindowTimers(HWND hwnd);

// The current thread's id as USER sees it.
DWORD CurrentThreadId();

// True when some thread still has posted, sent or due work (the test driver waits on it).
bool AnyQueueBusy();

}  // namespace plat::user
