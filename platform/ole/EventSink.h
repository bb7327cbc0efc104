// Event sink maps: which handler of a container window takes which event of which
// control. A handler's parameters are filled from the event's arguments, converted
// to the parameter types; ON_EVENT_RANGE handlers get the control id first.
#pragma once
#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "OleAuto.h"
#include "WinTypes.h"

class CCmdTarget;

struct AFX_EVENTSINKMAP_ENTRY {
  UINT idFirst;
  UINT idLast;
  DISPID dispid;
  const BYTE* params;  // the VTS_ list the handler declares
  BOOL (*invoke)(CCmdTarget* target, UINT id, const VARIANT* args, UINT count);
};

struct AFX_EVENTSINKMAP {
  const AFX_EVENTSINKMAP* (*pfnGetBaseMap)();
  const AFX_EVENTSINKMAP_ENTRY* lpEntries;
};

namespace plat::ole {

// Passes an event of the control window `control` to the sink map of the window
// that owns it; false when no handler took it.
bool DeliverEvent(HWND control, DISPID id, const VARIANT* args, UINT count);

// An event argument as the handler's parameter type.
template <class T>
T EventArg(const VARIANT& v) {
  VARIANT converted;
  VariantInit(&converted);
  if constexpr (std::is_same_v<T, short>) {
    VariantChangeType(&converted, &v, 0, VT_I2);
    return converted.iVal;
  } else if constexpr (std::is_same_v<T, float>) {
    VariantChangeType(&converted, &v, 0, VT_R4);
    return converted.fltVal;
  } else if constexpr (std::is_same_v<T, double>) {
    VariantChangeType(&converted, &v, 0, VT_R8);
    return converted.dblVal;
  } else {
    static_assert(std::is_integral_v<T> && sizeof(T) == 4, "event parameters are short, LONG, BOOL, UINT or float");
    VariantChangeType(&converted, &v, 0, VT_I4);
    return T(converted.lVal);
  }
}

template <class T, class C, class R, class... A, size_t... I>
BOOL CallSinkAt(T* target, R (C::*handler)(A...), const VARIANT* args, std::index_sequence<I...>) {
  if constexpr (std::is_void_v<R>) {
    (target->*handler)(EventArg<std::decay_t<A>>(args[I])...);
    return TRUE;
  } else {
    return BOOL((target->*handler)(EventArg<std::decay_t<A>>(args[I])...));
  }
}

template <class T, class C, class R, class... A>
BOOL CallSink(T* target, R (C::*handler)(A...), const VARIANT* args, UINT count) {
  if (count != sizeof...(A)) return FALSE;
  return CallSinkAt(target, handler, args, std::index_sequence_for<A...>{});
}

// A range handler: the control id, then the event's arguments.
template <class T, class C, class R, class... A>
BOOL CallSinkRange(T* target, R (C::*handler)(UINT, A...), UINT id, const VARIANT* args, UINT count) {
  if (count != sizeof...(A)) return FALSE;
  auto bound = [&](A... rest) { return (target->*handler)(id, rest...); };
  auto call = [&]<size_t... I>(std::index_sequence<I...>) -> BOOL {
    if constexpr (std::is_void_v<R>) {
      bound(EventArg<std::decay_t<A>>(args[I])...);
      return TRUE;
    } else {
      return BOOL(bound(EventArg<std::decay_t<A>>(args[I])...));
    }
  };
  return call(std::index_sequence_for<A...>{});
}

}  // namespace plat::ole

#define DECLARE_EVENTSINK_MAP()                      \
 protected:                                          \
  static const AFX_EVENTSINKMAP* GetThisEventSinkMap(); \
  const AFX_EVENTSINKMAP* GetEventSinkMap() const override;

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                                                  \
  const AFX_EVENTSINKMAP* theClass::GetEventSinkMap() const { return GetThisEventSinkMap(); }     \
  const AFX_EVENTSINKMAP* theClass::GetThisEventSinkMap() {                                       \
    using ThisClass [[maybe_unused]] = theClass;                                                  \
    typedef baseClass TheBaseClass;                                                               \
    static const AFX_EVENTSINKMAP_ENTRY _eventEntries[] = {

#define ON_EVENT(theClass, id, dispid, pfnHandler, vtsParams)                                       \
  {UINT(id), UINT(id), DISPID(dispid), reinterpret_cast<const BYTE*>(vtsParams),                    \
   [](CCmdTarget* target, UINT, const VARIANT* args, UINT count) -> BOOL {                          \
     return ::plat::ole::CallSink(static_cast<ThisClass*>(target), &ThisClass::pfnHandler, args, count); \
   }},

#define ON_EVENT_RANGE(theClass, idFirst, idLast, dispid, pfnHandler, vtsParams)                    \
  {UINT(idFirst), UINT(idLast), DISPID(dispid), reinterpret_cast<const BYTE*>(vtsParams),           \
   [](CCmdTarget* target, UINT id, const VARIANT* args, UINT count) -> BOOL {                       \
     return ::plat::ole::CallSinkRange(static_cast<ThisClass*>(target), &ThisClass::pfnHandler, id, args, count); \
   }},

#define END_EVENTSINK_MAP()                                                                        \
  {0, 0, 0, nullptr, nullptr}                                                                      \
  };                                                                                               \
  static const AFX_EVENTSINKMAP eventMap = {&TheBaseClass::GetThisEventSinkMap, &_eventEntries[0]}; \
  return &eventMap;                                                                                \
  }
