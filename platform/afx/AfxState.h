// Per-thread and per-module state of the window layer: the handle maps, the window
// being created, the message being handled, the application object.
#pragma once
#include <memory>
#include <unordered_map>

#include "AfxWinTypes.h"

class CWnd;
class CDC;
class CGdiObject;
class CMenu;
class CWinThread;
class CWinApp;
class CToolTipCtrl;

namespace plat::afx {

// Handle-to-object maps. Permanent objects are owned by the program; temporary ones
// are made on demand by FromHandle, owned here, and freed when the thread goes idle.
// `Traits` makes a temporary object of the class that fits the handle (so that callers
// may treat it as that class), and sets and clears an object's handle without touching
// the handle itself.
template <class H, class T, class Traits>
class HandleMap {
 public:
  T* FromHandle(H h) {
    if (!h) return nullptr;
    if (T* p = LookupPermanent(h)) return p;
    if (auto it = temporary_.find(h); it != temporary_.end()) return it->second.get();
    auto obj = Traits::MakeTemporary(h);
    Traits::Set(*obj, h);
    T* raw = obj.get();
    temporary_.emplace(h, std::move(obj));
    return raw;
  }
  T* LookupPermanent(H h) const {
    auto it = permanent_.find(h);
    return it == permanent_.end() ? nullptr : it->second;
  }
  T* LookupTemporary(H h) const {
    auto it = temporary_.find(h);
    return it == temporary_.end() ? nullptr : it->second.get();
  }
  void SetPermanent(H h, T* obj) { permanent_[h] = obj; }
  void RemoveHandle(H h) { permanent_.erase(h); }
  // Lets go of `h` if `obj` is the object it maps to.
  void Forget(H h, const T* obj) {
    if (h && LookupPermanent(h) == obj) RemoveHandle(h);
  }
  void DeleteTemp() {
    auto temps = std::move(temporary_);
    temporary_.clear();
    for (auto& [h, obj] : temps) Traits::Clear(*obj);
  }
  size_t TemporaryCount() const { return temporary_.size(); }

 private:
  std::unordered_map<H, T*> permanent_;
  std::unordered_map<H, std::unique_ptr<T>> temporary_;
};

struct WndTraits {
  static std::unique_ptr<CWnd> MakeTemporary(HWND h);
  static void Set(CWnd& w, HWND h);
  static void Clear(CWnd& w);
};
struct DcTraits {
  static std::unique_ptr<CDC> MakeTemporary(HDC h);
  static void Set(CDC& dc, HDC h);
  static void Clear(CDC& dc);
};
struct GdiTraits {
  static std::unique_ptr<CGdiObject> MakeTemporary(HGDIOBJ h);
  static void Set(CGdiObject& o, HGDIOBJ h);
  static void Clear(CGdiObject& o);
};
struct MenuTraits {
  static std::unique_ptr<CMenu> MakeTemporary(HMENU h);
  static void Set(CMenu& m, HMENU h);
  static void Clear(CMenu& m);
};

struct ThreadState {
  ThreadState() = default;
  ThreadState(const ThreadState&) = delete;
  ThreadState& operator=(const ThreadState&) = delete;
  ~ThreadState();

  CWnd* pWndInit = nullptr;  // the object a window being created on this thread attaches to
  HHOOK hHookCreate = nullptr;
  MSG lastSent{};            // the message being handled, for CWnd::Default
  HWND hLockoutNotifyWindow = nullptr;  // control notifications to it are ignored (during UpdateData)
  CWinThread* pThread = nullptr;
  HandleMap<HWND, CWnd, WndTraits> wnds;
  HandleMap<HDC, CDC, DcTraits> dcs;
  HandleMap<HGDIOBJ, CGdiObject, GdiTraits> gdiObjects;
  HandleMap<HMENU, CMenu, MenuTraits> menus;
  // The thread's tooltip control, owned by its window (it goes with the window that
  // enabled tooltips first), and the tool it holds for the window last filtered.
  CToolTipCtrl* pToolTip = nullptr;
  HWND hWndToolTipHit = nullptr;
  INT_PTR nLastToolHit = -1;
  HWND hWndTool = nullptr;
  UINT_PTR nToolId = 0;
};

ThreadState& Thread();

struct ModuleState {
  CWinApp* pApp = nullptr;
  HINSTANCE hInstance = nullptr;
  HINSTANCE hResource = nullptr;
  LPCSTR appName = nullptr;
};
ModuleState& Module();

// `p` as the optimizer may not assume it: the framework's GetSafe... members are
// called through null pointers by code written for the classic framework.
template <class T>
const T* Unassumed(const T* p) {
  asm("" : "+r"(p));
  return p;
}

// Frees every temporary object of the calling thread (idle time).
void DeleteTempMaps();

}  // namespace plat::afx
