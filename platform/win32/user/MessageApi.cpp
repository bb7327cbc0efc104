// Sending, posting, retrieving and dispatching messages; timers.
#include <strings.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "../Clock.h"
#include "../Faults.h"
#include "../KernelObject.h"
#include "../LastError.h"
#include "../WinError.h"
#include "../WinSync.h"
#include "../kernel/KernelWait.h"
#include "Caret.h"
#include "Composition.h"
#include "Focus.h"
#include "Hooks.h"
#include "Input.h"
#include "MessageQueue.h"
#include "Painting.h"
#include "Window.h"

using namespace plat::user;

namespace {

DWORD Tick() { return static_cast<DWORD>(plat::clock::NowMicros() / 1000); }

bool InRange(UINT msg, UINT first, UINT last) {
  if (first == 0 && last == 0) return true;
  return msg >= first && msg <= last;
}

// The windows a filter accepts: the window and its descendants.
std::vector<HWND> FilterSet(HWND filter) {
  std::vector<HWND> set;
  if (!filter || filter == reinterpret_cast<HWND>(-1)) return set;
  std::lock_guard lock(UserMutex());
  std::vector<HWND> todo{filter};
  while (!todo.empty()) {
    HWND h = todo.back();
    todo.pop_back();
    set.push_back(h);
    if (auto w = FindWindowObject(h)) todo.insert(todo.end(), w->children.begin(), w->children.end());
  }
  return set;
}

bool Accepts(HWND filter, const std::vector<HWND>& set, HWND hwnd) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return hwnd == nullptr;
  return std::find(set.begin(), set.end(), hwnd) != set.end();
}

bool IsKeyMessage(UINT m) { return m >= WM_KEYFIRST && m <= WM_KEYLAST; }
bool IsMouseMessage(UINT m) {
  return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

// Finds a message for the filter, under the kernel lock. Order: posted and input,
// quit, paint, timers.
// Raw input the filter may take stops the search: `cook` is set to it, to be made into
// its message first.
bool Find(ThreadQueue& q, MSG* out, HWND filter, const std::vector<HWND>& set, UINT first, UINT last,
          bool remove, std::shared_ptr<RawInput>* cook) {
  for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
    if (it->raw) {
      if (!it->raw->taken && filter != reinterpret_cast<HWND>(-1) && RawInputMayMatch(*it->raw, first, last)) {
        it->raw->taken = true;
        *cook = it->raw;
        return false;
      }
      continue;
    }
    if (!Accepts(filter, set, it->hwnd) || !InRange(it->message, first, last)) continue;
    *out = *it;
    if (remove) {
      q.posted.erase(it);
      // Busy from the moment it leaves the queue, so that an idle wait never sees neither.
      q.handling = true;
    }
    return true;
  }
  if (q.quit && !filter && InRange(WM_QUIT, first, last)) {
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, Tick(), q.last.pt};
    if (remove) q.quit = false;
    return true;
  }
  if (InRange(WM_PAINT, first, last)) {
    if (HWND h = NextWindowToPaint(q.threadId, filter ? &set : nullptr); h && (!filter || Accepts(filter, set, h))) {
      *out = MSG{h, WM_PAINT, 0, 0, Tick(), q.last.pt};
      return true;
    }
  }
  if (InRange(WM_TIMER, first, last)) {
    int64_t now = plat::clock::NowMicros();
    for (auto& t : q.timers) {
      if (t.due > now || !Accepts(filter, set, t.hwnd)) continue;
      *out = MSG{t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc), Tick(), q.last.pt};
      if (remove) t.due = now + static_cast<int64_t>(t.elapse) * 1000;
      return true;
    }
  }
  return false;
}

int64_t NextTimerDue(const ThreadQueue& q) {
  int64_t due = INT64_MAX;
  for (auto& t : q.timers) due = std::min(due, t.due);
  return due;
}

// Hooks see input as it is taken off the queue; a nonzero answer drops it.
bool HookDrops(const MSG& m, bool remove) {
  int code = remove ? HC_ACTION : HC_NOREMOVE;
  if (IsKeyMessage(m.message) && HasHooks(WH_KEYBOARD))
    return RunHooks(WH_KEYBOARD, code, m.wParam, m.lParam) != 0;
  if (IsMouseMessage(m.message) && HasHooks(WH_MOUSE)) {
    MOUSEHOOKSTRUCT mh{m.pt, m.hwnd, static_cast<UINT>(m.message >= WM_NCMOUSEMOVE && m.message <= WM_NCMBUTTONDBLCLK ? m.wParam : HTCLIENT), 0};
    return RunHooks(WH_MOUSE, code, m.message, reinterpret_cast<LPARAM>(&mh)) != 0;
  }
  return false;
}

// Settles raw input at the moment it is read: the message it makes takes its place, or goes
// to the thread of another window (a capture or focus taken meanwhile), or nothing does.
void MakeInputMessage(ThreadQueue& q, const std::shared_ptr<RawInput>& raw) {
  std::optional<MSG> made = CookInput(*raw);
  DWORD owner = q.threadId, elsewhere = 0;
  if (made) {
    if (auto w = FindWindowObject(made->hwnd)) owner = w->threadId;
  }
  {
    std::lock_guard lock(plat::KernelMutex());
    auto it = std::find_if(q.posted.begin(), q.posted.end(), [&](const QueuedMessage& e) { return e.raw == raw; });
    if (it == q.posted.end()) return;
    if (made) {
      if (owner != q.threadId) {
        elsewhere = owner;
        q.posted.erase(it);
      } else {
        *it = QueuedMessage(*made);
      }
    } else {
      q.posted.erase(it);
    }
  }
  if (elsewhere) PostToThread(elsewhere, *made);
}

// One pass (peek) or a wait (get) for a message.
bool Retrieve(MSG* msg, HWND filter, UINT first, UINT last, UINT flags, bool wait) {
  auto q = CurrentQueue();
  bool remove = (flags & PM_REMOVE) != 0;
  std::vector<HWND> set = FilterSet(filter);
  bool idled = false;
  q->handling = false;
  for (;;) {
    ProcessSentMessages();
    PumpScreenInput();
    MSG m{};
    bool found = false;
    std::shared_ptr<RawInput> cook;
    {
      std::unique_lock lock(plat::KernelMutex());
      if (!q->sent.empty()) continue;
      found = Find(*q, &m, filter, set, first, last, remove, &cook);
      if (cook) {
        lock.unlock();
        MakeInputMessage(*q, cook);
        continue;
      }
      if (!found && !idled) {
        // Out of messages: show what was drawn, then look once more.
        idled = true;
        lock.unlock();
        BlinkCaret();
        PresentScreen();
        continue;
      }
      if (!found) {
        idled = false;
        if (!wait) return false;
        if (ScreenInputWaiting()) continue;  // it came after this pass's pump
        int64_t due = NextTimerDue(*q);
        // A blinking caret wakes the loop on a real clock (a virtual one would race ahead).
        if (!plat::clock::IsVirtual()) due = std::min(due, CaretDue());
        if (due == INT64_MAX) {
          plat::KernelCondition().wait(lock);
        } else {
          int64_t now = plat::clock::NowMicros();
          if (due > now) {
            if (plat::clock::IsVirtual()) {
              // Nothing else can happen on a virtual clock but time itself.
              lock.unlock();
              plat::clock::Advance(due - now);
            } else {
              plat::KernelCondition().wait_for(lock, std::chrono::microseconds(due - now));
            }
          }
        }
        continue;
      }
    }
    if ((IsKeyMessage(m.message) || IsMouseMessage(m.message)) && HookDrops(m, remove)) {
      if (!remove) {
        // A dropped message leaves the queue even when it was only peeked at.
        std::lock_guard lock(plat::KernelMutex());
        for (auto it = q->posted.begin(); it != q->posted.end(); ++it)
          if (it->hwnd == m.hwnd && it->message == m.message && it->time == m.time && it->wParam == m.wParam &&
              it->lParam == m.lParam) {
            q->posted.erase(it);
            break;
          }
      }
      q->handling = false;
      continue;
    }
    if (remove) {
      q->last = m;
      TrackKeyState(*q, m);
      q->handling = true;
    }
    *msg = m;
    return true;
  }
}

LRESULT SendTo(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, int64_t timeoutMicros, bool* timedOut,
               bool wait = true) {
  auto w = FindWindowObject(hwnd);
  if (!w) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  DWORD target = w->threadId;
  if (target == CurrentThreadId()) return CallProc(hwnd, msg, wParam, lParam);
  auto q = QueueOf(target);
  if (!q) return 0;
  auto s = std::make_shared<SentMessage>(SentMessage{hwnd, msg, wParam, lParam, CurrentThreadId(), wait});
  {
    std::lock_guard lock(plat::KernelMutex());
    if (!q->alive) return 0;
    q->sent.push_back(s);
  }
  plat::KernelCondition().notify_all();
  if (!wait) return 0;
  // While waiting, this thread still answers what is sent to it, so two threads that
  // send to each other do not lock up.
  auto me = CurrentQueue();
  int64_t deadline = timeoutMicros < 0 ? INT64_MAX : plat::clock::NowMicros() + timeoutMicros;
  for (;;) {
    ProcessSentMessages();
    std::unique_lock lock(plat::KernelMutex());
    if (s->done) return s->result;
    if (!me->sent.empty()) continue;
    if (!q->alive) return 0;
    if (deadline != INT64_MAX) {
      int64_t now = plat::clock::NowMicros();
      if (now >= deadline) {
        if (timedOut) *timedOut = true;
        std::erase(q->sent, s);
        return 0;
      }
      plat::KernelCondition().wait_for(lock, std::chrono::microseconds(std::min<int64_t>(deadline - now, 10000)));
    } else {
      plat::KernelCondition().wait(lock);
    }
  }
}

}  // namespace

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    for (HWND top : TopLevelWindows()) SendTo(top, msg, wParam, lParam, -1, nullptr);
    return 0;
  }
  return SendTo(hwnd, msg, wParam, lParam, -1, nullptr);
}

LRESULT SendMessageTimeoutA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT, UINT timeout,
                            DWORD_PTR* result) {
  if (!FindWindowObject(hwnd)) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  bool timedOut = false;
  LRESULT r = SendTo(hwnd, msg, wParam, lParam, static_cast<int64_t>(timeout) * 1000, &timedOut);
  if (timedOut) {
    ::SetLastError(ERROR_TIMEOUT);
    return 0;
  }
  if (result) *result = static_cast<DWORD_PTR>(r);
  return 1;
}

BOOL SendNotifyMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!FindWindowObject(hwnd)) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  SendTo(hwnd, msg, wParam, lParam, -1, nullptr, /*wait=*/false);
  return TRUE;
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) return PostThreadMessageA(CurrentThreadId(), msg, wParam, lParam);
  if (hwnd == HWND_BROADCAST) {
    for (HWND top : TopLevelWindows()) PostMessageA(top, msg, wParam, lParam);
    return TRUE;
  }
  auto w = FindWindowObject(hwnd);
  if (!w) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  POINT pt;
  GetCursorPos(&pt);
  if (!PostToThread(w->threadId, MSG{hwnd, msg, wParam, lParam, Tick(), pt})) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL PostThreadMessageA(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
  POINT pt;
  GetCursorPos(&pt);
  if (!PostToThread(threadId, MSG{nullptr, msg, wParam, lParam, Tick(), pt})) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  auto q = CurrentQueue();
  {
    std::lock_guard lock(plat::KernelMutex());
    q->quit = true;
    q->quitCode = exitCode;
  }
  plat::KernelCondition().notify_all();
}

BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last) {
  if (!msg) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !FindWindowObject(hwnd)) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  Retrieve(msg, hwnd, first, last, PM_REMOVE, true);
  return msg->message != WM_QUIT;
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last, UINT remove) {
  if (!msg) return FALSE;
  return Retrieve(msg, hwnd, first, last, remove, false);
}

BOOL WaitMessage() {
  auto q = CurrentQueue();
  q->handling = false;
  for (;;) {
    ProcessSentMessages();
    PumpScreenInput();
    BlinkCaret();
    PresentScreen();
    std::unique_lock lock(plat::KernelMutex());
    if (!q->sent.empty()) continue;
    if (!q->posted.empty() || q->quit || HasPaintFor(q->threadId)) return TRUE;
    if (ScreenInputWaiting()) continue;  // it came after this pass's pump
    int64_t due = NextTimerDue(*q), now = plat::clock::NowMicros();
    if (due <= now) return TRUE;
    if (due == INT64_MAX) {
      plat::KernelCondition().wait(lock);
    } else if (plat::clock::IsVirtual()) {
      lock.unlock();
      plat::clock::Advance(due - now);
    } else {
      plat::KernelCondition().wait_for(lock, std::chrono::microseconds(due - now));
    }
  }
}

DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask,
                                  DWORD flags) {
  if (count > 63 || (count && !handles)) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return 0xFFFFFFFF;
  }
  std::vector<std::shared_ptr<plat::KernelObject>> objects;
  for (DWORD i = 0; i < count; ++i) {
    auto o = plat::FindKernelObject(handles[i]);
    if (!o) {
      ::SetLastError(ERROR_INVALID_HANDLE);
      return 0xFFFFFFFF;
    }
    objects.push_back(o);
  }
  bool waitAll = (flags & MWMO_WAITALL) != 0;
  auto q = CurrentQueue();
  DWORD me = CurrentThreadId();
  int64_t deadline = milliseconds == INFINITE ? INT64_MAX : plat::clock::NowMicros() + int64_t{milliseconds} * 1000;
  std::optional<std::chrono::steady_clock::time_point> graceEnd;
  for (;;) {
    if (wakeMask & QS_SENDMESSAGE) ProcessSentMessages();
    if (wakeMask & QS_INPUT) PumpScreenInput();
    std::unique_lock lock(plat::KernelMutex());
    std::optional<plat::ObjectWaitScope> waiting;
    if (count) waiting.emplace();
    if ((wakeMask & QS_SENDMESSAGE) && !q->sent.empty()) continue;
    if ((wakeMask & QS_INPUT) && ScreenInputWaiting()) continue;
    // Objects first, as Windows reports them before input.
    if (count) {
      if (waitAll) {
        if (std::all_of(objects.begin(), objects.end(), [&](auto& o) { return o->IsSignaled(me); })) {
          for (auto& o : objects) o->Acquire(me);
          return 0;
        }
      } else {
        for (DWORD i = 0; i < count; ++i)
          if (objects[i]->IsSignaled(me)) {
            objects[i]->Acquire(me);
            return i;
          }
      }
    }
    bool input = false;
    for (auto& m : q->posted) {
      bool isInput = IsKeyMessage(m.message) || IsMouseMessage(m.message);
      if ((isInput && (wakeMask & QS_INPUT)) || (!isInput && (wakeMask & QS_POSTMESSAGE))) input = true;
    }
    if ((wakeMask & QS_POSTMESSAGE) && q->quit) input = true;
    if ((wakeMask & QS_TIMER) && NextTimerDue(*q) <= plat::clock::NowMicros()) input = true;
    if ((wakeMask & QS_PAINT) && HasPaintFor(me)) input = true;
    if (input) return count;
    int64_t now = plat::clock::NowMicros();
    if (now >= deadline) return WAIT_TIMEOUT;
    int64_t until = std::min(deadline, (wakeMask & QS_TIMER) ? NextTimerDue(*q) : INT64_MAX);
    if (until == INT64_MAX) {
      plat::KernelCondition().wait(lock);
    } else if (plat::clock::IsVirtual() && count) {
      // The threads that will set these objects drive a virtual clock as they read it, and
      // timers fall due by them: look again shortly rather than jump to the next timer. The
      // wait's own time-out comes, as in the plain object wait, after a short real grace.
      const auto real = std::chrono::steady_clock::now();
      if (!graceEnd) graceEnd = real + plat::kVirtualGrace;
      if (deadline != INT64_MAX && real >= *graceEnd) {
        lock.unlock();
        plat::clock::Advance(std::max<int64_t>(deadline - now, 1));
      } else {
        plat::KernelCondition().wait_for(lock, std::chrono::milliseconds(1));
      }
    } else if (plat::clock::IsVirtual()) {
      lock.unlock();
      plat::clock::Advance(std::max<int64_t>(until - now, 1));
    } else {
      plat::KernelCondition().wait_for(lock, std::chrono::microseconds(std::max<int64_t>(until - now, 1)));
    }
  }
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask) {
  return MsgWaitForMultipleObjectsEx(count, handles, milliseconds, wakeMask, waitAll ? MWMO_WAITALL : 0);
}

DWORD GetQueueStatus(UINT flags) {
  auto q = CurrentQueue();
  std::lock_guard lock(plat::KernelMutex());
  DWORD now = 0;
  for (auto& m : q->posted) {
    if (IsKeyMessage(m.message)) now |= QS_KEY;
    else if (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE) now |= QS_MOUSEMOVE;
    else if (IsMouseMessage(m.message)) now |= QS_MOUSEBUTTON;
    else now |= QS_POSTMESSAGE;
  }
  if (!q->sent.empty()) now |= QS_SENDMESSAGE;
  if (NextTimerDue(*q) <= plat::clock::NowMicros()) now |= QS_TIMER;
  now &= flags;
  return (now << 16) | now;
}

BOOL InSendMessage() { return CurrentIncoming() != nullptr; }

BOOL ReplyMessage(LRESULT result) {
  auto incoming = CurrentIncoming();
  if (!incoming || incoming->done) return FALSE;
  {
    std::lock_guard lock(plat::KernelMutex());
    incoming->result = result;
    incoming->done = true;
  }
  plat::KernelCondition().notify_all();
  return TRUE;
}

DWORD GetMessageTime() { return CurrentQueue()->last.time; }
DWORD GetMessagePos() {
  POINT pt = CurrentQueue()->last.pt;
  return static_cast<DWORD>(MAKELONG(pt.x, pt.y));
}
LPARAM GetMessageExtraInfo() { return 0; }

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  int ch = CharacterOfKey(static_cast<UINT>(msg->wParam), CurrentQueue()->keys, msg->message == WM_SYSKEYDOWN);
  if (ch < 0) return TRUE;
  POINT pt = msg->pt;
  // The character comes next, before anything else waiting in the queue.
  PostToThread(CurrentThreadId(), /*front=*/true, MSG{msg->hwnd, static_cast<UINT>(msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR),
                                      static_cast<WPARAM>(ch), msg->lParam, msg->time, pt});
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, Tick());
    return 0;
  }
  if (!msg->hwnd) return 0;
  auto w = FindWindowObject(msg->hwnd);
  if (!w) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (w->threadId != CurrentThreadId()) {
    ::SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return 0;
  }
  LRESULT r = CallProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  // A window that did not paint in answer to WM_PAINT is validated, or the message would repeat.
  if (msg->message == WM_PAINT) ValidateAfterPaint(msg->hwnd);
  return r;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

UINT RegisterWindowMessageA(LPCSTR name) {
  if (!name || !*name) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  static std::mutex m;
  static std::map<std::string, UINT> names;
  static UINT next = 0xC000;
  std::string key(name);
  for (auto& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::lock_guard lock(m);
  auto [it, added] = names.emplace(key, next);
  if (added) ++next;
  return it->second;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (DWORD e = plat::faults::Check("SetTimer")) {  // the system is out of timers
    ::SetLastError(e);
    return 0;
  }
  DWORD thread = CurrentThreadId();
  if (hwnd) {
    auto w = FindWindowObject(hwnd);
    if (!w) {
      ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    if (w->threadId != thread) {
      ::SetLastError(ERROR_ACCESS_DENIED);
      return 0;
    }
  }
  elapse = std::clamp<UINT>(elapse, 10, 0x7FFFFFFF);  // the shortest interval Windows allows
  auto q = CurrentQueue();
  std::lock_guard lock(plat::KernelMutex());
  if (!hwnd && !std::any_of(q->timers.begin(), q->timers.end(), [&](auto& t) { return !t.hwnd && t.id == id; })) {
    // A thread timer gets a fresh id unless it names one of the thread's timers.
    static UINT_PTR nextId = 1;
    id = nextId++;
  }
  int64_t due = plat::clock::NowMicros() + int64_t{elapse} * 1000;
  for (auto& t : q->timers)
    if (t.hwnd == hwnd && t.id == id) {
      t.elapse = elapse;
      t.proc = proc;
      t.due = due;
      return hwnd ? (id ? id : 1) : id;  // a reset answers as the first start did
    }
  q->timers.push_back(Timer{hwnd, id, elapse, proc, due});
  plat::KernelCondition().notify_all();
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto q = CurrentQueue();
  std::lock_guard lock(plat::KernelMutex());
  auto n = std::erase_if(q->timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (!n) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
