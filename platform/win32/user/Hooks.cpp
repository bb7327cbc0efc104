#include "Hooks.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "../HandleTable.h"
#include "../LastError.h"
#include "../WinError.h"
#include "MessageQueue.h"

namespace plat::user {
namespace {

struct Hook {
  HHOOK handle = nullptr;
  int id = 0;
  HOOKPROC proc = nullptr;
  DWORD threadId = 0;  // 0: every thread of the process
};

std::mutex g_mutex;
std::vector<std::shared_ptr<Hook>>& Hooks() {
  static std::vector<std::shared_ptr<Hook>> hooks;  // newest first
  return hooks;
}
HandleTable<Hook>& Table() {
  static HandleTable<Hook> table(HandleKind::Hook);
  return table;
}

// The hooks of `id` that apply to the calling thread, newest first.
std::vector<std::shared_ptr<Hook>> Chain(int id) {
  DWORD me = CurrentThreadId();
  std::lock_guard lock(g_mutex);
  std::vector<std::shared_ptr<Hook>> chain;
  for (auto& h : Hooks())
    if (h->id == id && (h->threadId == 0 || h->threadId == me)) chain.push_back(h);
  return chain;
}

LRESULT CallFrom(const std::vector<std::shared_ptr<Hook>>& chain, size_t at, int code, WPARAM wParam,
                 LPARAM lParam) {
  return at < chain.size() ? chain[at]->proc(code, wParam, lParam) : 0;
}

}  // namespace

bool HasHooks(int idHook) {
  std::lock_guard lock(g_mutex);
  return std::any_of(Hooks().begin(), Hooks().end(), [&](auto& h) { return h->id == idHook; });
}

LRESULT RunHooks(int idHook, int code, WPARAM wParam, LPARAM lParam) {
  if (!HasHooks(idHook)) return 0;
  return CallFrom(Chain(idHook), 0, code, wParam, lParam);
}

}  // namespace plat::user

HHOOK SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId) {
  using namespace plat::user;
  if (!proc || idHook < WH_MSGFILTER || idHook > WH_MOUSE) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto h = std::make_shared<Hook>();
  h->id = idHook;
  h->proc = proc;
  h->threadId = threadId;
  uint32_t id = Table().Insert(h);
  if (!id) {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  h->handle = plat::ToHandle<HHOOK>(id);
  std::lock_guard lock(g_mutex);
  Hooks().insert(Hooks().begin(), h);
  return h->handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
  using namespace plat::user;
  auto h = Table().Remove(plat::HandleId(hook));
  if (!h) {
    ::SetLastError(ERROR_INVALID_HOOK_HANDLE);
    return FALSE;
  }
  std::lock_guard lock(g_mutex);
  std::erase(Hooks(), h);
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  using namespace plat::user;
  auto h = Table().Find(plat::HandleId(hook));
  if (!h) return 0;
  auto chain = Chain(h->id);
  auto it = std::find(chain.begin(), chain.end(), h);
  if (it == chain.end()) return 0;
  return CallFrom(chain, static_cast<size_t>(it - chain.begin()) + 1, code, wParam, lParam);
}

BOOL CallMsgFilterA(LPMSG msg, int code) {
  return plat::user::RunHooks(WH_MSGFILTER, code, 0, reinterpret_cast<LPARAM>(msg)) != 0;
}
