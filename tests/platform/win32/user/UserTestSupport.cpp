#include "UserTestSupport.h"

#include <algorithm>

#include "display/Screen.h"

namespace usertest {
namespace {
Recorder* g_current = nullptr;
}

Recorder::Recorder() {
  g_current = this;
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &Recorder::Proc;
  wc.lpszClassName = "RecWnd";
  RegisterClassA(&wc);  // fails harmlessly when it exists
}

Recorder::~Recorder() {
  for (auto& [h, n] : names_)
    if (IsWindow(h)) DestroyWindow(h);
  g_current = nullptr;
}

HWND Recorder::Create(const char* name, DWORD style, int x, int y, int w, int h, HWND parent, int id, DWORD exStyle) {
  HWND hwnd = CreateWindowExA(exStyle, "RecWnd", name, style, x, y, w, h, parent,
                              reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  std::lock_guard lock(m_);
  if (hwnd) names_[hwnd] = name;
  return hwnd;
}

std::string Recorder::NameOf(HWND h) {
  std::lock_guard lock(m_);
  auto it = names_.find(h);
  return it == names_.end() ? "?" : it->second;
}

LRESULT CALLBACK Recorder::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Recorder* r = g_current;
  if (r) {
    {
      std::lock_guard lock(r->m_);
      r->log_.push_back(Entry{hwnd, msg, wParam, lParam});
      // A window records under the name it was created with, known from WM_NCCREATE on.
      if (msg == WM_NCCREATE && !r->names_.count(hwnd))
        r->names_[hwnd] = reinterpret_cast<CREATESTRUCTA*>(lParam)->lpszName;
    }
    auto it = r->handlers.find(msg);
    if (it != r->handlers.end()) return it->second(hwnd, wParam, lParam);
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::vector<std::string> Recorder::Log(const std::vector<UINT>& kinds) {
  std::vector<Entry> copy;
  {
    std::lock_guard lock(m_);
    copy = log_;
  }
  std::vector<std::string> out;
  for (auto& e : copy)
    if (kinds.empty() || std::find(kinds.begin(), kinds.end(), e.msg) != kinds.end())
      out.push_back(NameOf(e.hwnd) + ":" + MessageName(e.msg));
  return out;
}

void Recorder::Clear() {
  std::lock_guard lock(m_);
  log_.clear();
}

const char* MessageName(UINT msg) {
  switch (msg) {
    case WM_CREATE: return "CREATE";
    case WM_NCCREATE: return "NCCREATE";
    case WM_DESTROY: return "DESTROY";
    case WM_NCDESTROY: return "NCDESTROY";
    case WM_SIZE: return "SIZE";
    case WM_MOVE: return "MOVE";
    case WM_ACTIVATE: return "ACTIVATE";
    case WM_NCACTIVATE: return "NCACTIVATE";
    case WM_SETFOCUS: return "SETFOCUS";
    case WM_KILLFOCUS: return "KILLFOCUS";
    case WM_CAPTURECHANGED: return "CAPTURECHANGED";
    case WM_SHOWWINDOW: return "SHOWWINDOW";
    case WM_WINDOWPOSCHANGING: return "POSCHANGING";
    case WM_WINDOWPOSCHANGED: return "POSCHANGED";
    case WM_PAINT: return "PAINT";
    case WM_NCPAINT: return "NCPAINT";
    case WM_TIMER: return "TIMER";
    case WM_PARENTNOTIFY: return "PARENTNOTIFY";
    case WM_LBUTTONDOWN: return "LBUTTONDOWN";
    case WM_LBUTTONUP: return "LBUTTONUP";
    case WM_LBUTTONDBLCLK: return "LBUTTONDBLCLK";
    case WM_RBUTTONDOWN: return "RBUTTONDOWN";
    case WM_RBUTTONUP: return "RBUTTONUP";
    case WM_MOUSEMOVE: return "MOUSEMOVE";
    case WM_NCMOUSEMOVE: return "NCMOUSEMOVE";
    case WM_NCLBUTTONDOWN: return "NCLBUTTONDOWN";
    case WM_NCLBUTTONUP: return "NCLBUTTONUP";
    case WM_MOUSEACTIVATE: return "MOUSEACTIVATE";
    case WM_SETCURSOR: return "SETCURSOR";
    case WM_NCHITTEST: return "NCHITTEST";
    case WM_KEYDOWN: return "KEYDOWN";
    case WM_KEYUP: return "KEYUP";
    case WM_CHAR: return "CHAR";
    case WM_SYSKEYDOWN: return "SYSKEYDOWN";
    case WM_SYSKEYUP: return "SYSKEYUP";
    case WM_ENABLE: return "ENABLE";
    case WM_CANCELMODE: return "CANCELMODE";
    case WM_CONTEXTMENU: return "CONTEXTMENU";
    case WM_USER: return "USER";
    default: return "OTHER";
  }
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

COLORREF ScreenAt(int x, int y) {
  auto a = plat::display::Screen::Get().Lock();
  uint32_t p = a.Row(y)[x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

}  // namespace usertest
