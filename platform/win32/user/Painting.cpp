// Update areas are kept as one bounding rectangle per window: what needs painting is
// never less than what was invalidated, and GetUpdateRect answers the same box.
#include "Painting.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "../KernelObject.h"
#include "../LastError.h"
#include "../WinError.h"
#include "Composition.h"
#include "MessageQueue.h"
#include "Window.h"

namespace plat::user {
namespace {

struct PaintState {
  DWORD threadId = 0;
  int depth = 0;  // parents paint before their children
  RECT update{};  // client coordinates
  bool erase = false;
  bool internal = false;
  bool frame = false;  // the non-client area needs WM_NCPAINT
};

// Guarded by the kernel lock, since the message retrieval reads it there.
std::map<HWND, PaintState>& States() {
  static std::map<HWND, PaintState> states;
  return states;
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Union(const RECT& a, const RECT& b) {
  if (Empty(a)) return b;
  if (Empty(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return Empty(r) ? RECT{} : r;
}

int Depth(const Window& w) {
  int d = 0;
  for (HWND p = w.parent; p && p != DesktopHwnd(); ++d) {
    auto pw = FindWindowObject(p);
    if (!pw) break;
    p = pw->parent;
  }
  return d;
}

bool ReallyVisible(const Window& w) {
  if (!(w.style & WS_VISIBLE)) return false;
  for (HWND p = w.parent; p && p != DesktopHwnd();) {
    auto pw = FindWindowObject(p);
    if (!pw || !(pw->style & WS_VISIBLE)) return false;
    p = pw->parent;
  }
  return true;
}

bool HasFrame(const Window& w) {
  return w.rect.left != w.client.left || w.rect.top != w.client.top || w.rect.right != w.client.right ||
         w.rect.bottom != w.client.bottom;
}

void InvalidatePart(const Window& child, const RECT& area, bool erase, bool children, bool framesBelow);

// `frame` (RDW_FRAME) reaches every window below; `ownFrame` this window's frame only.
void Invalidate(const Window& w, const RECT* rect, bool erase, bool children, bool internal, bool frame = false,
                bool ownFrame = false) {
  RECT clientBox{0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top};
  RECT area = rect ? Intersect(*rect, clientBox) : clientBox;
  const bool framesBelow = frame;
  frame = (frame || ownFrame) && HasFrame(w);
  if (w.hwnd == DesktopHwnd()) {
    // Nobody pumps messages for the desktop: its background is painted at once.
    PaintDesktop(area);
  } else if (ReallyVisible(w) && (!Empty(area) || internal || frame)) {
    {
      std::lock_guard lock(KernelMutex());
      PaintState& s = States()[w.hwnd];
      s.threadId = w.threadId;
      s.depth = Depth(w);
      s.update = Union(s.update, area);
      s.erase = s.erase || erase;
      s.internal = s.internal || internal;
      s.frame = s.frame || frame;
    }
    // A window hidden or moved from another thread leaves the windows under it to paint:
    // their thread may be asleep waiting for messages, and a paint is one.
    if (w.threadId != CurrentThreadId()) NotifyWaiters();
  }
  if (!children) return;
  for (HWND c : w.children)
    if (auto cw = FindWindowObject(c)) InvalidatePart(*cw, area, erase, children, framesBelow);
}

// The part of the parent's `area` (parent client coordinates) that `child` covers.
void InvalidatePart(const Window& child, const RECT& area, bool erase, bool children, bool framesBelow) {
  RECT r = Intersect(area, child.rect);
  if (Empty(r)) return;
  // The parent paints over the child's frame too where the area reaches it (no clipping
  // of children, or a window uncovered on top): the frame is drawn again as well.
  const bool reachesFrame = r.left < child.client.left || r.top < child.client.top ||
                            r.right > child.client.right || r.bottom > child.client.bottom;
  r.left -= child.client.left;
  r.right -= child.client.left;
  r.top -= child.client.top;
  r.bottom -= child.client.top;
  Invalidate(child, &r, erase, children, false, framesBelow, reachesFrame);
}

}  // namespace

void InvalidateChildrenUnder(HWND hwnd, const RECT& area) {
  auto w = FindWindowObject(hwnd);
  if (!w || Empty(area)) return;
  std::lock_guard lock(UserMutex());
  for (HWND c : w->children)
    if (auto cw = FindWindowObject(c)) InvalidatePart(*cw, area, true, true, false);
}

HWND NextWindowToPaint(DWORD threadId, const std::vector<HWND>* among) {
  HWND best = nullptr;
  int depth = 1 << 30;
  for (auto& [h, s] : States()) {
    if (s.threadId != threadId || (Empty(s.update) && !s.internal && !s.frame)) continue;
    if (among && std::find(among->begin(), among->end(), h) == among->end()) continue;
    if (s.depth < depth) {
      best = h;
      depth = s.depth;
    }
  }
  return best;
}

bool HasPaintFor(DWORD threadId) { return NextWindowToPaint(threadId, nullptr) != nullptr; }

void ValidateAfterPaint(HWND hwnd) {
  std::lock_guard lock(KernelMutex());
  States().erase(hwnd);
}

void ForgetPaint(HWND hwnd) { ValidateAfterPaint(hwnd); }

// The update area, taken for BeginPaint (cleared) or read (kept).
bool TakeUpdate(HWND hwnd, RECT* update, bool* erase, bool clear) {
  std::lock_guard lock(KernelMutex());
  auto it = States().find(hwnd);
  if (it == States().end()) {
    *update = RECT{};
    *erase = false;
    return false;
  }
  *update = it->second.update;
  *erase = it->second.erase;
  if (clear) States().erase(it);
  return true;
}

bool TakeFrame(HWND hwnd) {
  std::lock_guard lock(KernelMutex());
  auto it = States().find(hwnd);
  if (it == States().end() || !it->second.frame) return false;
  it->second.frame = false;
  return true;
}

void Redraw(HWND hwnd, const RECT* rect, UINT flags) {
  auto w = FindWindowObject(hwnd);
  if (!w) return;
  bool children = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
  if (flags & RDW_INVALIDATE) {
    std::lock_guard lock(UserMutex());
    Invalidate(*w, rect, (flags & RDW_ERASE) != 0, children, (flags & RDW_INTERNALPAINT) != 0,
               (flags & RDW_FRAME) != 0);
  }
  if (flags & RDW_VALIDATE) {
    std::lock_guard lock(KernelMutex());
    auto it = States().find(hwnd);
    if (it != States().end()) {
      if (!rect) {
        States().erase(it);
      } else {
        // A validated part that covers the whole box empties it; partial validation keeps the box.
        RECT& u = it->second.update;
        if (rect->left <= u.left && rect->top <= u.top && rect->right >= u.right && rect->bottom >= u.bottom)
          States().erase(it);
      }
    }
  }
}

}  // namespace plat::user

using namespace plat::user;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!hwnd) {
    for (auto& w : AllWindows())
      if (w->parent == DesktopHwnd()) Redraw(w->hwnd, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0) | RDW_ALLCHILDREN);
    return TRUE;
  }
  if (!FindWindowObject(hwnd)) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Redraw(hwnd, rect, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  if (!FindWindowObject(hwnd)) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Redraw(hwnd, rect, RDW_VALIDATE);
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  RECT r;
  bool needsErase;
  bool any = TakeUpdate(hwnd, &r, &needsErase, false) && (r.right > r.left && r.bottom > r.top);
  if (rect) *rect = any ? r : RECT{};
  if (any && erase && needsErase) SendMessageA(hwnd, WM_ERASEBKGND, 0, 0);
  return any;
}

BOOL UpdateWindow(HWND hwnd) {
  auto w = FindWindowObject(hwnd);
  if (!w) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // The window first, then its children, each only when it has something to paint.
  RECT r;
  bool erase;
  if (TakeUpdate(hwnd, &r, &erase, false)) {
    SendMessageA(hwnd, WM_PAINT, 0, 0);
    ValidateAfterPaint(hwnd);
  }
  std::vector<HWND> children;
  {
    std::lock_guard lock(UserMutex());
    children = w->children;
  }
  for (HWND c : children) UpdateWindow(c);
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags) {
  if (!hwnd) hwnd = DesktopHwnd();
  if (!FindWindowObject(hwnd)) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Redraw(hwnd, rect, flags);
  if (flags & RDW_UPDATENOW) UpdateWindow(hwnd);
  return TRUE;
}
