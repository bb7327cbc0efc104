// What every standard and common control shares: per-window state, notifications to the
// parent, colours from the parent, fonts, painting scopes and UTF-8 character steps.
#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "../WinControls.h"
#include "../WinGdi.h"
#include "../WinGdiText.h"
#include "../WinUser.h"
#include "../WinUserUi.h"

namespace plat::controls {

// Registers the standard and common control classes once per process.
void RegisterAll();

// The state of each window of one control class. Handlers hold a shared_ptr while they
// run, so a parent that destroys the control from a notification frees nothing in use.
template <class T>
class StateMap {
 public:
  std::shared_ptr<T> Make(HWND h) {
    auto s = std::make_shared<T>();
    std::lock_guard lock(mutex_);
    map_[h] = s;
    return s;
  }
  std::shared_ptr<T> Get(HWND h) {
    std::lock_guard lock(mutex_);
    auto it = map_.find(h);
    return it == map_.end() ? nullptr : it->second;
  }
  void Erase(HWND h) {
    std::lock_guard lock(mutex_);
    map_.erase(h);
  }

 private:
  std::mutex mutex_;
  std::unordered_map<HWND, std::shared_ptr<T>> map_;
};

// WM_COMMAND with `code` to the parent, as controls report.
void Command(HWND h, UINT code);
// WM_NOTIFY to the parent; fills the header's window, id and code.
LRESULT Notify(HWND h, UINT code, NMHDR& header);

// Asks the parent for the brush and colours (WM_CTLCOLOR*); the system colours when
// the parent leaves it to the default.
HBRUSH ParentColors(HWND h, HDC dc, UINT ctlColorMsg);

// The font a control draws with: the one set by WM_SETFONT, else the GUI font.
HFONT ControlFont(HFONT set);

// BeginPaint/EndPaint, or the DC handed in by WM_PAINT's wParam (WM_PRINTCLIENT).
class PaintScope {
 public:
  PaintScope(HWND h, WPARAM givenDc);
  ~PaintScope();
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
  bool own_;
  PAINTSTRUCT ps_{};
};

// Selects a font into a DC for the scope.
class FontScope {
 public:
  FontScope(HDC dc, HFONT font) : dc_(dc), old_(SelectObject(dc, font)) {}
  ~FontScope() { SelectObject(dc_, old_); }
  FontScope(const FontScope&) = delete;
  FontScope& operator=(const FontScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A control's window procedure: makes the window's state on WM_NCCREATE, drops it on
// WM_NCDESTROY, paints the whole client area with `paint` (so there is no separate
// erase), and hands every other message with the state to `handler`.
template <class T, class Handler, class Painter>
LRESULT DispatchWithState(StateMap<T>& states, HWND h, UINT msg, WPARAM w, LPARAM l, Handler handler,
                          Painter paint) {
  if (msg == WM_NCCREATE) states.Make(h);
  auto s = states.Get(h);
  if (!s) return DefWindowProcA(h, msg, w, l);
  switch (msg) {
    case WM_NCDESTROY:
      states.Erase(h);
      return DefWindowProcA(h, msg, w, l);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PaintScope ps(h, w);
      paint(h, ps.Dc(), *s);
      return 0;
    }
    default: return handler(h, msg, w, l, *s);
  }
}

// Lays a bar (status bar, toolbar) along its parent's top or bottom edge, `height` high,
// as its CCS_ styles ask; `bottom` is where it goes when they name no side.
void PlaceAlongParent(HWND h, int height, bool bottom);

// Sets the image list a control draws from (the caller keeps owning it); the old one.
LRESULT SwapImageList(HWND h, HIMAGELIST& held, LPARAM given);

// UTF-8 steps that never land inside a character.
size_t NextChar(const std::string& s, size_t i);
size_t PrevChar(const std::string& s, size_t i);
// `i` moved back to the start of the character it falls in.
size_t CharStart(const std::string& s, size_t i);

// The window's text.
std::string WindowText(HWND h);

// Point of a mouse message's lParam.
inline POINT MousePoint(LPARAM l) {
  return POINT{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
}

// Window procedures of the classes.
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ListBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboListProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ScrollBarProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK TrackbarProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK UpDownProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ProgressProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK TabProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ToolTipProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StatusBarProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ToolbarProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK RebarProc(HWND, UINT, WPARAM, LPARAM);

}  // namespace plat::controls
