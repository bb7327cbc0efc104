// An in-process control: one instance per control window, created through the
// window class named after its CLSID, so that both CWnd::CreateControl and dialog
// templates naming that class make one. Properties and methods are reached by
// dispatch id; events go to the event sink map of the window that owns the control.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "OleAuto.h"
#include "WinUser.h"

namespace plat::ole {

class Control {
 public:
  virtual ~Control() = default;
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND Window() const { return hwnd_; }

  // One dispatch call. `args` are in call order (index arguments first, a put's value
  // last) and already of the declared types; `result` is null for a put. A failure
  // returns an error code and may describe itself in `*error`.
  virtual HRESULT Invoke(DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result, std::string* error) = 0;

  // The control window's messages; the default is DefWindowProcA.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  // Raises an event to the owning window's sink map, always on the window's own
  // thread (a call from another thread waits until that thread has delivered it).
  void FireEvent(DISPID id, const VARIANT* args = nullptr, UINT count = 0);

 private:
  friend class ControlRegistry;
  HWND hwnd_ = nullptr;
};

using ControlFactory = std::function<std::unique_ptr<Control>()>;

// Controls known to the container, by CLSID.
class ControlRegistry {
 public:
  // Registers (or replaces) the control made by `factory` under `clsid`.
  static void Register(const CLSID& clsid, ControlFactory factory);
  static void Unregister(const CLSID& clsid);
  // Makes the control's window class known to the window manager (false when the
  // control is not registered); EnsureWindowClasses does it for every control, so
  // that dialog templates can name them.
  static bool EnsureWindowClass(const CLSID& clsid);
  static void EnsureWindowClasses();
  // Forgets every control (tests: a machine without any).
  static void Clear();
  static bool IsRegistered(const CLSID& clsid);
  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", also the control's window class name.
  static std::string ClassName(const CLSID& clsid);
  // The control behind a control window; null for any other window.
  static Control* Find(HWND hwnd);

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace plat::ole
