#include "MessageQueue.h"

#include <map>
#include <mutex>
#include <utility>

#include "../Immortal.h"
#include "../KernelObject.h"
#include "../WinSync.h"
#include "Window.h"

namespace plat::user {
namespace {

// A thread ending while exit() destroys statics still removes its queue from here.
std::map<DWORD, std::shared_ptr<ThreadQueue>>& Queues() {
  static Immortal<std::map<DWORD, std::shared_ptr<ThreadQueue>>> queues;
  return queues.get();
}

// Ends the queue with its thread: senders waiting on it get 0 back.
struct QueueOwner {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueOwner() {
    if (!queue) return;
    {
      std::lock_guard lock(KernelMutex());
      queue->alive = false;
      for (auto& s : queue->sent) s->done = true;
      queue->sent.clear();
      Queues().erase(queue->threadId);
    }
    KernelCondition().notify_all();
  }
};
thread_local QueueOwner t_owner;
thread_local std::shared_ptr<SentMessage> t_incoming;  // the sent message being handled

}  // namespace

DWORD CurrentThreadId() { return ::GetCurrentThreadId(); }

std::shared_ptr<ThreadQueue> CurrentQueue() {
  if (t_owner.queue) return t_owner.queue;
  auto q = std::make_shared<ThreadQueue>();
  q->threadId = CurrentThreadId();
  {
    std::lock_guard lock(KernelMutex());
    Queues()[q->threadId] = q;
  }
  t_owner.queue = q;
  return q;
}

std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId) {
  if (threadId == CurrentThreadId()) return CurrentQueue();
  std::lock_guard lock(KernelMutex());
  auto it = Queues().find(threadId);
  return it == Queues().end() ? nullptr : it->second;
}

bool PostToThread(DWORD threadId, const MSG& msg) { return PostToThread(threadId, false, msg); }

bool PostToThread(DWORD threadId, bool front, const MSG& msg) {
  auto q = QueueOf(threadId);
  if (!q) return false;
  {
    std::lock_guard lock(KernelMutex());
    if (!q->alive) return false;
    if (front)
      q->posted.push_front(msg);
    else
      q->posted.push_back(msg);
  }
  KernelCondition().notify_all();
  return true;
}

bool PostRawInput(DWORD threadId, const MSG& provisional, std::shared_ptr<RawInput> raw) {
  auto q = QueueOf(threadId);
  if (!q) return false;
  {
    std::lock_guard lock(KernelMutex());
    if (!q->alive) return false;
    QueuedMessage m(provisional);
    m.raw = std::move(raw);
    q->posted.push_back(std::move(m));
  }
  KernelCondition().notify_all();
  return true;
}

int ProcessSentMessages() {
  auto q = CurrentQueue();
  int count = 0;
  for (;;) {
    std::shared_ptr<SentMessage> s;
    {
      std::lock_guard lock(KernelMutex());
      if (q->sent.empty()) return count;
      s = q->sent.front();
      q->sent.pop_front();
    }
    auto outer = std::exchange(t_incoming, s);
    LRESULT r = CallProc(s->hwnd, s->msg, s->wParam, s->lParam);
    t_incoming = outer;
    {
      std::lock_guard lock(KernelMutex());
      if (!s->done) s->result = r;  // ReplyMessage may have answered already
      s->done = true;
    }
    KernelCondition().notify_all();
    ++count;
  }
}

std::shared_ptr<SentMessage> CurrentIncoming() { return t_incoming; }

void KillWindowTimers(HWND hwnd) {
  std::lock_guard lock(KernelMutex());
  for (auto& [id, q] : Queues()) std::erase_if(q->timers, [&](const Timer& t) { return t.hwnd == hwnd; });
}

bool AnyQueueBusy() {
  std::lock_guard lock(KernelMutex());
  // Timers are not work: a repeating timer would keep every queue busy for ever.
  for (auto& [id, q] : Queues())
    if (q->alive && (!q->posted.empty() || !q->sent.empty() || q->handling)) return true;
  return false;
}

}  // namespace plat::user
