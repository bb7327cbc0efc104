#include "DialogScript.h"

#include <deque>
#include <map>

namespace dialogscript {
namespace {

HHOOK g_hook = nullptr;
HWND g_runner = nullptr;
std::map<std::string, std::deque<Action>> g_actions;
std::map<std::string, int> g_opened;

LRESULT CALLBACK RunnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_APP) return DefWindowProcA(hwnd, msg, wp, lp);
  HWND dialog = reinterpret_cast<HWND>(wp);
  char caption[256] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  auto& queue = g_actions[caption];
  if (!queue.empty() && IsWindow(dialog)) {
    Action action = std::move(queue.front());
    queue.pop_front();
    action(dialog);
  }
  return 0;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND) {
    auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lp)->lpcs;
    if (create->lpszName && !(create->style & WS_CHILD)) {
      const std::string caption = create->lpszName;
      if (g_actions.count(caption)) {
        ++g_opened[caption];
        PostMessageA(g_runner, WM_APP, wp, 0);
      }
    }
  }
  return CallNextHookEx(g_hook, code, wp, lp);
}

}  // namespace

void Start() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = RunnerProc;
  wc.lpszClassName = "DialogScriptRunner";
  RegisterClassA(&wc);
  g_runner = CreateWindowExA(0, "DialogScriptRunner", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  g_hook = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

void Stop() {
  UnhookWindowsHookEx(g_hook);
  DestroyWindow(g_runner);
  g_hook = nullptr;
  g_runner = nullptr;
  g_actions.clear();
  g_opened.clear();
}

void On(const std::string& caption, Action action) { g_actions[caption].push_back(std::move(action)); }

void Press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

int Opened(const std::string& caption) {
  auto it = g_opened.find(caption);
  return it == g_opened.end() ? 0 : it->second;
}

}  // namespace dialogscript
