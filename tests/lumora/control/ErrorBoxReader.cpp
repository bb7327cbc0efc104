#include "ErrorBoxReader.h"

namespace errorbox {
namespace {

HHOOK g_hook = nullptr;
HWND g_reader = nullptr;
std::vector<Seen> g_boxes;

std::string Text(HWND dialog, int id) {
  char text[512] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

LRESULT CALLBACK ReaderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP) {
    HWND dialog = reinterpret_cast<HWND>(wp);
    g_boxes.push_back({Text(dialog, 1143), Text(dialog, 1144)});
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND) {
    auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lp)->lpcs;
    if (create->lpszName && std::string(create->lpszName) == "  エラー")
      PostMessageA(g_reader, WM_APP, reinterpret_cast<WPARAM>(reinterpret_cast<HWND>(wp)), 0);
  }
  return CallNextHookEx(g_hook, code, wp, lp);
}

}  // namespace

void Start() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ReaderProc;
  wc.lpszClassName = "ErrorBoxReader";
  RegisterClassA(&wc);
  g_reader = CreateWindowExA(0, "ErrorBoxReader", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  g_hook = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

void Stop() {
  UnhookWindowsHookEx(g_hook);
  DestroyWindow(g_reader);
  g_hook = nullptr;
  g_reader = nullptr;
}

const std::vector<Seen>& Boxes() { return g_boxes; }

}  // namespace errorbox
