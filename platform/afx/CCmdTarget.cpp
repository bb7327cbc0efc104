#include "afxwin.h"
#include "CCmdTarget.h"

#include "CWinApp.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

namespace {
UINT EntryMessage(const AFX_MSGMAP_ENTRY& e) {
  return e.pnRegistered ? *e.pnRegistered : e.nMessage;
}
}  // namespace

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message) const {
  if (message == 0) return nullptr;
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e)
      if (EntryMessage(*e) == message && e->nCode == 0 && e->nID == 0 && e->nLastID == 0) return e;
  }
  return nullptr;
}

BOOL CCmdTarget::DispatchEntry(const AFX_MSGMAP_ENTRY& entry, plat::afx::MsgCall& call) {
  return entry.pfn(this, call);
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  UINT nMsg = 0;
  UINT code = LOWORD(static_cast<UINT>(nCode));
  if (static_cast<UINT>(nCode) != CN_UPDATE_COMMAND_UI) nMsg = HIWORD(static_cast<UINT>(nCode));  // -1 has no message part
  if (nMsg == 0) nMsg = WM_COMMAND;
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
      if (e->nMessage != nMsg || e->nCode != code || nID < e->nID || nID > e->nLastID) continue;
      if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pEntry = e;
        return TRUE;
      }
      plat::afx::MsgCall call;
      call.message = nMsg;
      call.nID = nID;
      call.pExtra = pExtra;
      return e->pfn(this, call);
    }
  }
  return FALSE;
}

void CCmdTarget::BeginWaitCursor() {
  if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(1);
}
void CCmdTarget::EndWaitCursor() {
  if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(-1);
}
void CCmdTarget::RestoreWaitCursor() {
  if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(0);
}
