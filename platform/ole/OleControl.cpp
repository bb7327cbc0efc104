#include "OleControl.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <vector>

#include "EventSink.h"
#include "WinSync.h"

namespace plat::ole {

namespace {

// Sent to a control window so that an event raised on another thread is delivered
// on the window's own thread.
constexpr UINT kFireEvent = WM_USER + 0x3F00;

struct PendingEvent {
  DISPID id;
  const VARIANT* args;
  UINT count;
};

struct Registry {
  std::mutex lock;
  std::map<std::string, ControlFactory> factories;          // by window class name
  std::map<HWND, std::unique_ptr<Control>> instances;       // by control window
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

LRESULT Control::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void Control::FireEvent(DISPID id, const VARIANT* args, UINT count) {
  if (!hwnd_ || !IsWindow(hwnd_)) return;
  if (GetWindowThreadProcessId(hwnd_, nullptr) != GetCurrentThreadId()) {
    PendingEvent event{id, args, count};
    SendMessageA(hwnd_, kFireEvent, 0, reinterpret_cast<LPARAM>(&event));
    return;
  }
  DeliverEvent(hwnd_, id, args, count);
}

std::string ControlRegistry::ClassName(const CLSID& c) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", unsigned(c.Data1),
                unsigned(c.Data2), unsigned(c.Data3), c.Data4[0], c.Data4[1], c.Data4[2], c.Data4[3], c.Data4[4],
                c.Data4[5], c.Data4[6], c.Data4[7]);
  return text;
}

void ControlRegistry::Register(const CLSID& clsid, ControlFactory factory) {
  std::lock_guard<std::mutex> guard(TheRegistry().lock);
  TheRegistry().factories[ClassName(clsid)] = std::move(factory);
}

bool ControlRegistry::EnsureWindowClass(const CLSID& clsid) {
  if (!IsRegistered(clsid)) return false;
  std::string name = ClassName(clsid);
  WNDCLASSA existing{};
  if (GetClassInfoA(nullptr, name.c_str(), &existing)) return true;
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
  wc.lpfnWndProc = &ControlRegistry::WndProc;
  wc.lpszClassName = name.c_str();
  return RegisterClassA(&wc) != 0;
}

void ControlRegistry::EnsureWindowClasses() {
  std::vector<std::string> names;
  {
    std::lock_guard<std::mutex> guard(TheRegistry().lock);
    for (const auto& entry : TheRegistry().factories) names.push_back(entry.first);
  }
  for (const std::string& name : names) {
    WNDCLASSA existing{};
    if (GetClassInfoA(nullptr, name.c_str(), &existing)) continue;
    WNDCLASSA wc{};
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = &ControlRegistry::WndProc;
    wc.lpszClassName = name.c_str();
    RegisterClassA(&wc);
  }
}

void ControlRegistry::Unregister(const CLSID& clsid) {
  std::string name = ClassName(clsid);
  {
    std::lock_guard<std::mutex> guard(TheRegistry().lock);
    TheRegistry().factories.erase(name);
  }
  UnregisterClassA(name.c_str(), nullptr);
}

void ControlRegistry::Clear() {
  std::map<std::string, ControlFactory> gone;
  {
    std::lock_guard<std::mutex> guard(TheRegistry().lock);
    gone.swap(TheRegistry().factories);
  }
  for (const auto& entry : gone) UnregisterClassA(entry.first.c_str(), nullptr);
}

bool ControlRegistry::IsRegistered(const CLSID& clsid) {
  std::lock_guard<std::mutex> guard(TheRegistry().lock);
  return TheRegistry().factories.count(ClassName(clsid)) != 0;
}

Control* ControlRegistry::Find(HWND hwnd) {
  std::lock_guard<std::mutex> guard(TheRegistry().lock);
  auto it = TheRegistry().instances.find(hwnd);
  return it == TheRegistry().instances.end() ? nullptr : it->second.get();
}

LRESULT CALLBACK ControlRegistry::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Registry& registry = TheRegistry();
  if (message == WM_NCCREATE) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    ControlFactory factory;
    {
      std::lock_guard<std::mutex> guard(registry.lock);
      auto it = registry.factories.find(name);
      if (it != registry.factories.end()) factory = it->second;
    }
    std::unique_ptr<Control> control = factory ? factory() : nullptr;
    if (!control) return FALSE;  // the window is not created
    control->hwnd_ = hwnd;
    Control* raw = control.get();
    {
      std::lock_guard<std::mutex> guard(registry.lock);
      registry.instances[hwnd] = std::move(control);
    }
    return raw->WindowProc(message, wParam, lParam);
  }
  Control* control = Find(hwnd);
  if (!control) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == kFireEvent) {
    auto* event = reinterpret_cast<const PendingEvent*>(lParam);
    DeliverEvent(hwnd, event->id, event->args, event->count);
    return 0;
  }
  LRESULT result = control->WindowProc(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    std::unique_ptr<Control> gone;
    {
      std::lock_guard<std::mutex> guard(registry.lock);
      auto it = registry.instances.find(hwnd);
      if (it != registry.instances.end()) {
        gone = std::move(it->second);
        registry.instances.erase(it);
      }
    }
  }
  return result;
}

}  // namespace plat::ole
