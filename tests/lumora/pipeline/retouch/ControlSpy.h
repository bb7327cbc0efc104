// The real imaging control, with every dispatch call noted (which control, DISPID, kind
// and arguments) before it is carried out. Installed for one test; the plain control is
// registered again afterwards.
#pragma once
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "OleControl.h"
#include "imaging/ImagingControl.h"

namespace controlspy {

struct Call {
  HWND control;
  DISPID id;
  bool put;
  std::string args;  // "I2:3 R4:1.5 ..."
};

inline std::vector<Call>& Log() {
  static std::vector<Call> log;
  return log;
}
inline std::mutex& LogLock() {
  static std::mutex m;
  return m;
}

inline std::string Render(const VARIANT& v) {
  char text[64];
  switch (v.vt) {
    case VT_I2: std::snprintf(text, sizeof text, "I2:%d", v.iVal); return text;
    case VT_I4: std::snprintf(text, sizeof text, "I4:%d", v.lVal); return text;
    case VT_R4: std::snprintf(text, sizeof text, "R4:%g", v.fltVal); return text;
    case VT_BOOL: std::snprintf(text, sizeof text, "BOOL:%d", v.boolVal ? 1 : 0); return text;
    default: return "?";
  }
}

class Spy : public plat::imaging::ImagingControl {
 public:
  HRESULT Invoke(DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result, std::string* error) override {
    std::string text;
    for (UINT i = 0; i < count; ++i) text += (i ? " " : "") + Render(args[i]);
    {
      std::lock_guard lock(LogLock());
      Log().push_back({Window(), id, (flags & DISPATCH_PROPERTYPUT) != 0, text});
    }
    return ImagingControl::Invoke(id, flags, args, count, result, error);
  }
};

inline void Install() {
  Log().clear();
  plat::ole::ControlRegistry::Register(plat::imaging::ImagingControl::Clsid(), [] { return std::make_unique<Spy>(); });
}
inline void Remove() { plat::imaging::ImagingControl::Register(); }

// The argument texts of the calls to `id` on `control` (any control when null).
inline std::vector<std::string> CallsTo(DISPID id, HWND control = nullptr) {
  std::lock_guard lock(LogLock());
  std::vector<std::string> out;
  for (const Call& c : Log())
    if (c.id == id && (!control || c.control == control)) out.push_back(c.args);
  return out;
}
// The DISPIDs called on `control`, in order, keeping only those in `ids`.
inline std::vector<DISPID> Sequence(HWND control, const std::vector<DISPID>& ids) {
  std::lock_guard lock(LogLock());
  std::vector<DISPID> out;
  for (const Call& c : Log())
    for (DISPID id : ids)
      if (c.control == control && c.id == id) out.push_back(id);
  return out;
}
inline void Clear() {
  std::lock_guard lock(LogLock());
  Log().clear();
}

}  // namespace controlspy
