#include "Composition.h"

#include <atomic>
#include <mutex>

#include "../KernelObject.h"
#include "Input.h"
#include "Window.h"
#include "display/Keyboard.h"
#include "display/Screen.h"
#include "gdi/SysColors.h"

namespace plat::user {
namespace {

std::atomic<bool> g_screenUsed{false};

bool Visible(const Window& w) { return (w.style & WS_VISIBLE) != 0; }

RECT ClientScreenRect(const Window& w) {
  POINT o = ClientOrigin(w);
  return RECT{o.x, o.y, o.x + (w.client.right - w.client.left), o.y + (w.client.bottom - w.client.top)};
}

// Takes away the windows of `siblings` that lie above `self` (the list is top first).
void SubtractAbove(gdi::Region& region, const std::vector<HWND>& siblings, HWND self) {
  for (HWND s : siblings) {
    if (s == self) break;
    auto sw = FindWindowObject(s);
    if (!sw || !Visible(*sw)) continue;
    region = gdi::Region::Combine(region, gdi::Region(ScreenWindowRect(*sw)), RGN_DIFF);
  }
}

}  // namespace

gdi::Region VisibleRegion(HWND hwnd, DWORD dcxFlags) {
  std::lock_guard lock(UserMutex());
  auto w = FindWindowObject(hwnd);
  if (!w || !Visible(*w)) return {};
  const bool whole = (dcxFlags & DCX_WINDOW) != 0;
  gdi::Region region(whole ? ScreenWindowRect(*w) : ClientScreenRect(*w));
  if (hwnd == DesktopHwnd()) {
    for (HWND c : w->children)
      if (auto cw = FindWindowObject(c); cw && Visible(*cw))
        region = gdi::Region::Combine(region, gdi::Region(ScreenWindowRect(*cw)), RGN_DIFF);
    return region;
  }
  // A minimised window shows none of its children, so it has nothing to clip for them.
  // A child shows only inside its parent's client area: the part of it that reaches over
  // the border (a docked bar placed a border's width up and left) hides none of the
  // parent's non-client area.
  if (((w->style & WS_CLIPCHILDREN) || (dcxFlags & DCX_CLIPCHILDREN)) && !(w->style & WS_MINIMIZE)) {
    const RECT client = ClientScreenRect(*w);
    for (HWND c : w->children)
      if (auto cw = FindWindowObject(c); cw && Visible(*cw))
        region = gdi::Region::Combine(region, gdi::Region(ScreenWindowRect(*cw)).Intersect(client), RGN_DIFF);
  }
  // Up the tree: each level is held inside its parent's client area and loses what its
  // siblings above cover (always for top-level windows, with WS_CLIPSIBLINGS for children).
  std::shared_ptr<Window> cur = w;
  bool first = true;
  while (cur->parent) {
    auto p = FindWindowObject(cur->parent);
    if (!p) return {};
    const bool topLevel = cur->parent == DesktopHwnd();
    if (!topLevel) {
      if (!Visible(*p) || (p->style & WS_MINIMIZE)) return {};
      region = region.Intersect(ClientScreenRect(*p));
    }
    if (topLevel || (cur->style & WS_CLIPSIBLINGS) || (first && (dcxFlags & DCX_CLIPSIBLINGS)))
      SubtractAbove(region, p->children, cur->hwnd);
    if (topLevel) break;
    cur = p;
    first = false;
  }
  return region.Intersect(ScreenRect());
}

void PaintDesktop(const RECT& screenRect) {
  ScreenInUse();
  gdi::Region area = VisibleRegion(DesktopHwnd(), 0).Intersect(screenRect);
  if (area.Empty()) return;
  COLORREF c = gdi::SysColor(COLOR_BACKGROUND);
  display::Pixel px = (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
  auto access = display::Screen::Get().Lock();
  for (const RECT& r : area.Rects()) {
    for (int y = r.top; y < r.bottom; ++y) {
      display::Pixel* row = access.Row(y);
      for (int x = r.left; x < r.right; ++x) row[x] = px;
    }
    access.MarkDirty(r);
  }
}

void ScreenInUse() {
  if (g_screenUsed.exchange(true)) return;
  display::Screen::Get().SetInputListener([] { NotifyWaiters(); });
  // The first window to draw finds a bare screen: the desktop comes first.
  PaintDesktop(ScreenRect());
}

namespace {

bool Held(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

// Text a key typed on the desktop's keyboard map. Control characters are the keys' own
// (TranslateMessage makes them); Control or Alt alone turns a key into a command, though
// the desktop still reports its character. Both together are AltGr, which types.
bool TypesText(const std::string& text) {
  if (text.empty() || Held(VK_CONTROL) != Held(VK_MENU)) return false;
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7F) return false;
  return true;
}

}  // namespace

void DeliverScreenInput(const display::InputEvent& ev) {
  using Kind = display::InputEvent::Kind;
  auto button = [](uint32_t b) { return b == display::InputEvent::RButton ? 1 : b == display::InputEvent::MButton ? 2 : 0; };
  switch (ev.kind) {
    case Kind::MouseMove: input::MouseMove(ev.x, ev.y); break;
    case Kind::MouseDown:
    case Kind::MouseUp:
      input::MouseMove(ev.x, ev.y);
      input::MouseButton(button(ev.button), ev.kind == Kind::MouseDown);
      break;
    case Kind::MouseWheel:
      input::MouseMove(ev.x, ev.y);
      input::Wheel(ev.wheel);
      break;
    case Kind::KeyDown:
    case Kind::KeyUp:
      if (UINT vk = display::VirtualKey(ev.key)) input::Key(vk, ev.kind == Kind::KeyDown);
      break;
    case Kind::Text:
      if (TypesText(ev.text)) input::Chars(ev.text);
      break;
    case Kind::Quit:
      for (auto& w : AllWindows())
        if (w->parent == DesktopHwnd() && (w->style & WS_VISIBLE)) PostMessageA(w->hwnd, WM_CLOSE, 0, 0);
      break;
  }
}

void PumpScreenInput() {
  if (!g_screenUsed) return;
  auto& screen = display::Screen::Get();
  display::InputEvent ev;
  while (screen.PopInput(ev)) DeliverScreenInput(ev);
}

bool ScreenInputWaiting() { return g_screenUsed && display::Screen::Get().HasInput(); }

bool ScreenWasUsed() { return g_screenUsed; }

void PresentScreen() {
  if (!g_screenUsed) return;
  auto& screen = display::Screen::Get();
  RECT d = screen.Dirty();
  if (d.right > d.left && d.bottom > d.top) screen.Present();
}

}  // namespace plat::user
