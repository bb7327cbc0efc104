#include "CaptionBox.h"

#include <mutex>

#include "MouseTracking.h"
#include "NcLayout.h"
#include "NonClient.h"
#include "Window.h"

namespace plat::user {
namespace {

// The box in window coordinates, as the frame drawing lays it out.
RECT BoxOf(HWND hwnd, int hit) {
  auto w = FindWindowObject(hwnd);
  if (!w) return RECT{};
  std::lock_guard lock(UserMutex());
  NcLayout l = LayoutOf(*w);
  switch (hit) {
    case HTCLOSE: return l.closeBox;
    case HTMAXBUTTON: return l.maxBox;
    case HTMINBUTTON: return l.minBox;
    default: return RECT{};
  }
}

void ShowPushed(HWND hwnd, int hit) {
  auto w = FindWindowObject(hwnd);
  if (!w) return;
  {
    std::lock_guard lock(UserMutex());
    if (w->pushedBox == hit) return;
    w->pushedBox = hit;
  }
  PaintNonClient(hwnd);
}

}  // namespace

bool CaptionBoxEnabled(const Window& w, int hit) {
  switch (hit) {
    case HTCLOSE: return !(w.cls && (w.cls->style & CS_NOCLOSE));
    case HTMAXBUTTON: return (w.style & WS_MAXIMIZEBOX) != 0;
    case HTMINBUTTON: return (w.style & WS_MINIMIZEBOX) != 0;
    default: return false;
  }
}

bool TrackCaptionBox(HWND hwnd, int hit) {
  auto w = FindWindowObject(hwnd);
  if (!w || !CaptionBoxEnabled(*w, hit)) return false;
  const RECT box = BoxOf(hwnd, hit);
  if (IsRectEmpty(&box)) return false;
  bool over = true;
  ShowPushed(hwnd, hit);
  auto follow = [&](POINT screen) {
    RECT wr{};
    if (!GetWindowRect(hwnd, &wr)) return;
    over = Contains(box, POINT{screen.x - wr.left, screen.y - wr.top});
    ShowPushed(hwnd, over ? hit : 0);
  };
  bool released = false;
  const bool kept = TrackMouse(hwnd, follow, &released);
  if (!IsWindow(hwnd)) return false;
  ShowPushed(hwnd, 0);
  return kept && released && over;
}

}  // namespace plat::user
