#include "EventSink.h"

#include "CWnd.h"

namespace plat::ole {

bool DeliverEvent(HWND control, DISPID id, const VARIANT* args, UINT count) {
  CWnd* owner = CWnd::FromHandlePermanent(GetParent(control));
  if (!owner) return false;
  UINT controlId = UINT(GetDlgCtrlID(control));
  for (const AFX_EVENTSINKMAP* map = owner->GetEventSinkMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_EVENTSINKMAP_ENTRY* entry = map->lpEntries; entry && entry->invoke; ++entry) {
      if (entry->dispid == id && controlId >= entry->idFirst && controlId <= entry->idLast)
        return entry->invoke(owner, controlId, args, count);
    }
  }
  return false;
}

}  // namespace plat::ole
